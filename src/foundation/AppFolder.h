#pragma once
// The folder "beside the program" that holds Masks, Download and license.txt.

#include <QString>

namespace AppFolder {

/// Returns the application folder without a trailing separator: the executable's folder when
/// it is writable, otherwise the per-user data folder (created when missing).
[[nodiscard]] QString path();

/// Makes path() answer the given folder (tests); an empty text restores the normal choice.
void setOverride(const QString &folder);

/// The per-user data folder (the undo journals live there), without a trailing separator; not
/// created here.
[[nodiscard]] QString userDataPath();

/// Makes userDataPath() answer the given folder (tests); an empty text restores the normal one.
void setUserDataOverride(const QString &folder);

} // namespace AppFolder
