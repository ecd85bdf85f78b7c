#pragma once
// The one-line "update.txt" of the maker's site: the version it announces.

#include <QByteArray>
#include <QString>
#include <optional>

namespace UpdateFile {

/// How much of the update file is read: its first line must end within it; the rest of a
/// longer file is neither downloaded nor read.
inline constexpr qint64 MaxFileSize = 4096;

/// The version announced by the first MaxFileSize bytes of the file: its first line without
/// the line end, read as UTF-8 or, when it is not, as single-byte text. Nothing (the update
/// window shows "Error") when that line is empty, holds a zero byte or does not end within
/// MaxFileSize bytes.
[[nodiscard]] std::optional<QString> announcedVersion(const QByteArray &bytes);

} // namespace UpdateFile
