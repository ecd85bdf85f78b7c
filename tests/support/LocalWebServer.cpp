#include "support/LocalWebServer.h"

#include <QElapsedTimer>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

LocalWebServer::LocalWebServer(const QString &folder)
{
    process_.setWorkingDirectory(folder);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(u"python3"_s, {u"-u"_s, u"-m"_s, u"http.server"_s, u"0"_s, u"--bind"_s, u"127.0.0.1"_s});
    static const QRegularExpression serving(u"port (\\d+)"_s);
    QElapsedTimer waited;
    waited.start();
    QString said;
    while (port_ == 0 && waited.elapsed() < 10000 && process_.state() != QProcess::NotRunning) {
        process_.waitForReadyRead(200);
        said += QString::fromUtf8(process_.readAll());
        const QRegularExpressionMatch m = serving.match(said);
        if (m.hasMatch())
            port_ = m.captured(1).toInt();
    }
    said_ = said;
}

LocalWebServer::~LocalWebServer()
{
    process_.kill();
    process_.waitForFinished();
}

QList<std::pair<QString, QString>> localSiteSettings(const QString &root)
{
    QList<std::pair<QString, QString>> values;
    for (const auto &[key, folder] : {std::pair{u"freedb"_s, u"fdb"_s}, {u"gracenote"_s, u"gn"_s},
                                      {u"cddb"_s, u"gn"_s}, {u"amg"_s, u"amg"_s}, {u"musicbrainz"_s, u"mb"_s}}) {
        values.append({key + u"Home"_s, u"http://%1/%2/"_s.arg(root, folder)});
        values.append({key + u"Domain"_s, QString(root + u'/' + folder)});
    }
    values.append({u"musicbrainzService"_s, u"http://%1/ws/2"_s.arg(root)});
    values.append({u"coverArtService"_s, u"http://%1/caa"_s.arg(root)});
    return values;
}

QString LocalWebServer::requests()
{
    QByteArray log;
    do
        log += process_.readAll();
    while (process_.waitForReadyRead(200));
    return QString::fromUtf8(log);
}
