#pragma once
// The program's name and version as shown to the user.

#include <QString>

namespace Version {
/// "2.0 alpha 1 [version for beta testers]": what the update check compares and the about
/// window shows.
inline QString text() { return QStringLiteral("2.0 alpha 1 [version for beta testers]"); }
/// "Varnelt 2.0 alpha 1 [version for beta testers]": the main window's caption.
inline QString caption() { return QStringLiteral("Varnelt ") + text(); }
/// The version number alone, as the CLI's --version prints it.
inline QString number() { return QStringLiteral("2.0 alpha 1"); }
/// The revision: the third part of the version number (2.0.0), shown as the build number.
inline constexpr int revision = 0;
} // namespace Version
