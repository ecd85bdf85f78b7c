#pragma once
// Where the program keeps the files it writes: "Masks" and "Download" (and finds license.txt).
// A portable copy, and the build folder, keep them beside the program; an installed program,
// whose folder it cannot or should not write, keeps them in the user's own folders.

#include <QString>

namespace AppFolder {

enum class Layout {
    Portable,  ///< everything beside the program
    Installed, ///< masks in the per-user data folder, downloads in the per-user cache folder
};

struct Places {
    Layout layout = Layout::Portable;
    /// The folder that holds "Masks", without a trailing separator.
    QString masksParent;
    /// The folder that holds "Download", without a trailing separator.
    QString downloadParent;
    /// The text file the Help menu's "&License" opens.
    QString licenseFile;
    /// Installed: the folder of the masks that come with the program, copied to the user's
    /// "Masks" on first start; empty in the portable layout.
    QString masksSeed;
};

/// The one rule. A program folder that holds a writable "Masks" folder is portable; so is a
/// writable program folder that is not the "bin" of an installed tree (no "../share/varnelt"
/// beside it). Anything else is installed: masks under userData, downloads under userCache, the
/// masks that come with the program and the licence in "../share/varnelt".
[[nodiscard]] Places placesFor(const QString &programFolder, const QString &userData, const QString &userCache);

/// placesFor() of the running program's folder (or of the folder set with setOverride), the
/// per-user data folder (userDataPath) and the per-user cache folder.
[[nodiscard]] Places places();

/// The folder that holds "Masks", without a trailing separator: the program's folder when
/// portable, otherwise the per-user data folder.
[[nodiscard]] QString path();

/// Makes the running program's folder this one (tests); an empty text restores the real one.
void setOverride(const QString &folder);

/// The per-user data folder (the undo journals live there, and an installed program's masks),
/// without a trailing separator; not created here.
[[nodiscard]] QString userDataPath();

/// Makes userDataPath() answer the given folder (tests); an empty text restores the normal one.
void setUserDataOverride(const QString &folder);

/// Makes the per-user cache folder the given one (tests); an empty text restores the normal one.
void setUserCacheOverride(const QString &folder);

} // namespace AppFolder
