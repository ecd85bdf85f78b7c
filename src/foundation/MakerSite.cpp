#include "MakerSite.h"

#include "Settings.h"

namespace MakerSite {

QString home()
{
    QString root = Settings(SettingsKeys::SitesGroup).value(SettingsKeys::MakerHome).trimmed();
    if (root.isEmpty())
        root = SettingsKeys::MakerHome.defaultValue;
    if (!root.endsWith(u'/'))
        root += u'/';
    return root;
}

QString page(const QString &path)
{
    return home() + path;
}

QString feedbackAddress()
{
    return QStringLiteral("feedback@varnelt.example.org");
}

QString bugReportAddress()
{
    return QStringLiteral("bugs@varnelt.example.org");
}

QString contactAddress()
{
    return QStringLiteral("contact@varnelt.example.org");
}

} // namespace MakerSite
