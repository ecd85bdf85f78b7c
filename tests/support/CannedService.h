#pragma once
// A web service on 127.0.0.1 inside the test process: it answers GET requests from a folder
// (the query is ignored; a folder's address serves its index.html), or with scripted answers
// for a path, and records every request with the time it arrived.

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QString>
#include <QTcpServer>

class CannedService
{
public:
    explicit CannedService(const QString &folder = {});

    /// "http://127.0.0.1:port".
    [[nodiscard]] QString root() const;
    /// The next `times` requests of the path get this status and body instead of the folder's.
    void script(const QString &path, int status, const QByteArray &body, int times = 1);
    /// While set, requests are read but never answered.
    void setSilent(bool silent) { silent_ = silent; }

    struct Request
    {
        /// "GET /path?query HTTP/1.1" and the headers after it.
        QByteArray line;
        QByteArray headers;
        /// Milliseconds since the service started.
        qint64 at = 0;
    };
    [[nodiscard]] const QList<Request> &requests() const { return requests_; }

private:
    struct Scripted
    {
        int status;
        QByteArray body;
        int times;
    };
    void serve(class QTcpSocket *socket, const QByteArray &request);

    QTcpServer server_;
    QString folder_;
    QMap<QString, QList<Scripted>> scripts_;
    QList<Request> requests_;
    QElapsedTimer clock_;
    bool silent_ = false;
};
