#pragma once
// The program's name and version as shown to the user.

#include <QString>

namespace Version {
/// "Varnelt 2.0 alpha 1 [version for beta testers]": the main window's caption.
inline QString caption() { return QStringLiteral("Varnelt 2.0 alpha 1 [version for beta testers]"); }
/// The version number alone, as the CLI's --version prints it.
inline QString number() { return QStringLiteral("2.0 alpha 1"); }
} // namespace Version
