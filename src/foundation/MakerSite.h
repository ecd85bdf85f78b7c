#pragma once
// The maker's addresses: the web site (one address, overridable in the settings group "Sites"
// so tests and mirrors can point it elsewhere) and the mail addresses.

#include <QString>

namespace MakerSite {

/// The site's root address, always ending with "/".
[[nodiscard]] QString home();
/// An address below the root: page(u"history/") is the version history.
[[nodiscard]] QString page(const QString &path);

[[nodiscard]] QString feedbackAddress();
[[nodiscard]] QString bugReportAddress();
/// The address the about window offers for contact.
[[nodiscard]] QString contactAddress();

} // namespace MakerSite
