#pragma once
// The one rule for a site's search field: a text input whose start tag carries the site's mark
// ("name=words" for freedb, "name=q" for Gracenote, "name=sql" for AMG, "name=query" for
// MusicBrainz). Marks are found anywhere in the start tag, so "name=q" also finds "name=query".

#include "lookup/HtmlDocument.h"

#include <QString>
#include <QStringList>

/// The marks of the search fields the readers fill, one a site.
namespace SearchMark {
inline QString freedb() { return QStringLiteral("name=words"); }
inline QString gracenote() { return QStringLiteral("name=q"); }
inline QString amg() { return QStringLiteral("name=sql"); }
inline QString musicBrainz() { return QStringLiteral("name=query"); }
} // namespace SearchMark

/// Whether the element is a search field with one of the marks.
[[nodiscard]] bool isSearchField(const HtmlElement &element, const QStringList &marks);

/// The index of the first element at or after `from` that is a search field with one of the
/// marks; -1 when there is none.
[[nodiscard]] int searchFieldIndex(const HtmlDocument &doc, const QStringList &marks, int from = 0);
