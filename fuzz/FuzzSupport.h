#pragma once
// What the fuzz targets share: a scratch folder, input bytes as a file, and a page snapshot
// built from HTML-like bytes the way the browser bridge would hand it to the site readers.

#include "lookup/HtmlDocument.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

/// Stops the run as a finding when a promise of the code under test is broken.
#define FUZZ_CHECK(condition) \
    ((condition) ? void(0) : FuzzSupport::fail(#condition, __FILE__, __LINE__))

namespace FuzzSupport {

[[noreturn]] void fail(const char *what, const char *file, int line);

inline QByteArray bytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

/// A folder of the process's own (under /dev/shm when there is one), emptied on each call, with
/// the application and user data folders pointed into it; without a trailing separator.
QString freshScratch();

/// Writes the bytes as a file in the folder; returns its path.
QString writeFile(const QString &folder, const QString &name, const QByteArray &bytes);

/// The bytes of a file (a small one: the target's own); empty when it cannot be read.
QByteArray readFile(const QString &path);

/// A snapshot of an HTML-like text at the address: every start tag an element (tag name in
/// upper case, id, value, parent, class, address of links and images resolved against the address, the start
/// tag for form fields as the bridge writes it), the inner text of textTags and the body
/// text with CR LF line breaks; cut to the snapshot's limits (size and depth) as the bridge cuts it.
HtmlDocument snapshotFromHtml(const QString &url, const QByteArray &html,
                              const QStringList &textTags = HtmlDocument::textTags());

} // namespace FuzzSupport
