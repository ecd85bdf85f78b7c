#include "BrowserCheck.h"

#include "foundation/Basic.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>

namespace BrowserCheck {

QString questionTitle()
{
    return QStringLiteral("Internet Explorer version check");
}

QString questionText(const QString &shownVersion)
{
    return QStringLiteral("Your version of Internet Explorer is ") + shownVersion
        + QStringLiteral(", and you must have version 5.0 at least to use all the fonctionnality.\r\n"
                         "Would you like to continue anyway ?");
}

Outcome evaluate(const std::optional<QString> &foundVersion)
{
    Outcome outcome;
    QString version;
    if (!foundVersion) {
        outcome.webEngineVersion = QStringLiteral("N/A");
        version = QStringLiteral("unknow");
    } else {
        version = *foundVersion;
        outcome.webEngineVersion = version.isEmpty() ? QStringLiteral("N/A") : version;
    }
    if (!version.isEmpty() && Basic::val(version) >= 5)
        return outcome;

    // The question names the leading number of what is kept for the about window, so a missing
    // or unreadable version reads "unknow" rather than "0".
    QString shown = QString::number(Basic::val(outcome.webEngineVersion), 'g', 15);
    if (shown == u"0")
        shown = QStringLiteral("unknow");
    outcome.mustAsk = true;
    outcome.question = questionText(shown);
    return outcome;
}

std::optional<QString> engineVersion()
{
    const char *chromium = qWebEngineChromiumVersion();
    if (chromium && *chromium)
        return QString::fromLatin1(chromium);
    const char *engine = qWebEngineVersion();
    if (engine && *engine)
        return QString::fromLatin1(engine);
    return std::nullopt;
}

} // namespace BrowserCheck
