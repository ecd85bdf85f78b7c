#pragma once
// The one bridge between the lookup core and the embedded engine: takes a page snapshot from a
// live QWebEnginePage and carries element actions out on it. Both run their scripts in an
// isolated world, so a page's own scripts cannot change what they see or do.

#include "lookup/HtmlDocument.h"

#include <QByteArray>
#include <functional>

class QWebEnginePage;

namespace PageBridge {

/// What a snapshot takes: what the site readers read, or also what the track-list reader
/// reads (the texts of tables, lists and headings, each element's parent and class, the
/// user's selection). The site readers' snapshot is taken at every poll and stays small.
enum class SnapshotKind { SiteReaders, TrackList };

/// Takes the snapshot of the page's current document and calls done with it (from the event
/// loop; never when the page is gone first).
void takeSnapshot(QWebEnginePage *page, std::function<void(const HtmlDocument &)> done,
                  SnapshotKind kind = SnapshotKind::SiteReaders);

/// Carries the actions out in order; an action whose element no longer has the tag name it
/// had in the snapshot is skipped.
void carryOut(QWebEnginePage *page, const ElementActions &actions);

/// The snapshot from the snapshot script's JSON answer; every index and length checked, so a
/// broken answer gives a smaller document, never a bad one.
[[nodiscard]] HtmlDocument documentFromJson(const QByteArray &json);

} // namespace PageBridge
