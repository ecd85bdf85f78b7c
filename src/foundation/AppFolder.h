#pragma once
// The folder "beside the program" that holds Masks, Download and license.txt.

#include <QString>

namespace AppFolder {

/// Returns the application folder without a trailing separator: the executable's folder when
/// it is writable, otherwise the per-user data folder (created when missing).
[[nodiscard]] QString path();

/// Makes path() answer the given folder (tests); an empty text restores the normal choice.
void setOverride(const QString &folder);

} // namespace AppFolder
