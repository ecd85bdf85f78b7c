#pragma once
// python3's http.server on a free port of 127.0.0.1, serving a folder; its log names every request.

#include <QList>
#include <QProcess>
#include <QString>
#include <utility>

class LocalWebServer
{
public:
    explicit LocalWebServer(const QString &folder);
    ~LocalWebServer();
    [[nodiscard]] int port() const { return port_; }
    /// What the server printed before it served (for a failure message).
    [[nodiscard]] QString said() const { return said_; }
    [[nodiscard]] QString root() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }
    /// The request lines logged since the last call.
    QString requests();

private:
    QProcess process_;
    int port_ = 0;
    QString said_;
};

/// The settings of group "Sites" that point every lookup site at the test pages served from
/// root ("127.0.0.1:port"): fdb/, gn/, amg/, mb/, the web service ws/2 and the cover archive caa/.
[[nodiscard]] QList<std::pair<QString, QString>> localSiteSettings(const QString &root);
