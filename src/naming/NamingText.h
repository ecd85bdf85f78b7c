#pragma once
// Text routines of name building that other parts share: cleaning a value for a file name, the
// forbidden-character finder of mask validation, the comparison form of names and titles used by
// automatic track ordering, and the search text that the web lookup derives from a folder.

#include "foundation/Common.h"

#include <QString>

/// Replaces the characters a file name may not hold: "\", "/", ":", "*", "?", "<", ">", "|" by
/// "-" and the double quote by an apostrophe.
[[nodiscard]] QString removeForbiddenCharacters(const QString &value);

/// Returns the last character of the order "\" (only when allowBackslash is false), "/", ":",
/// "*", "?", double quote, "<", ">", "|" that occurs in text, or an empty text when none does.
[[nodiscard]] QString findForbiddenCharacter(const QString &text, bool allowBackslash);

/// Returns the comparison form of a file title or track title: punctuation becomes spaces and
/// the common French accented letters become plain lower-case letters; nothing else changes.
[[nodiscard]] QString normalizeForCompare(const QString &text);

/// Returns the search text derived from an album folder: its last folder name with a bracketed
/// six-character tag ("[2001]") dropped, "_" and "." turned into spaces; with wholeName false only
/// the part after the first " -" or "- " of that name.
[[nodiscard]] QString searchTextFromFolder(const QString &folderPath, bool wholeName,
                                           Common::PathStyle style = Common::PathStyle::Native);

/// Returns the text without control characters (NUL, line breaks, tabs, escapes and the C1 range):
/// they can never be part of a file name that a user could read or type.
[[nodiscard]] QString removeControlCharacters(const QString &text);

/// Replaces every folder separator of the path style in a value by "-", as
/// removeForbiddenCharacters does, so a value never opens a new folder level. On Windows both
/// "\" and "/" separate folders; elsewhere "/" alone does.
[[nodiscard]] QString replaceFolderSeparators(const QString &value, Common::PathStyle style = Common::PathStyle::Native);

/// Returns a folder or file level that is made of dots and spaces alone ("." or ".."), which the
/// file system would read as the current or parent folder, with every dot turned into "_"; any
/// other level comes back unchanged.
[[nodiscard]] QString makeLevelSafe(const QString &level);
