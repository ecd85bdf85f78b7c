#include "support/CannedService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <QUrl>

using namespace Qt::StringLiterals;

CannedService::CannedService(const QString &folder) : folder_(folder)
{
    clock_.start();
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket *socket = server_.nextPendingConnection()) {
            auto *buffer = new QByteArray;
            QObject::connect(socket, &QObject::destroyed, socket, [buffer] { delete buffer; });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                *buffer += socket->readAll();
                if (buffer->contains("\r\n\r\n"))
                    serve(socket, std::exchange(*buffer, QByteArray()));
            });
        }
    });
}

QString CannedService::root() const
{
    return u"http://127.0.0.1:%1"_s.arg(server_.serverPort());
}

void CannedService::script(const QString &path, int status, const QByteArray &body, int times)
{
    scripts_[path].append({status, body, times});
}

void CannedService::serve(QTcpSocket *socket, const QByteArray &request)
{
    const qsizetype lineEnd = request.indexOf("\r\n");
    requests_.append({request.left(lineEnd), request.mid(lineEnd + 2), clock_.elapsed()});
    if (silent_)
        return;
    const QList<QByteArray> parts = request.left(lineEnd).split(' ');
    const QString path = QUrl(QString::fromLatin1(parts.value(1))).path();
    int status = 404;
    QByteArray body = "{\"error\": \"Not Found\"}";
    QList<Scripted> &scripted = scripts_[path];
    if (!scripted.isEmpty()) {
        status = scripted.first().status;
        body = scripted.first().body;
        if (--scripted.first().times <= 0)
            scripted.removeFirst();
    } else if (!folder_.isEmpty() && !path.contains(u".."_s)) {
        QString file = folder_ + path;
        if (QFileInfo(file).isDir())
            file += u"/index.html"_s;
        QFile served(file);
        if (served.open(QIODevice::ReadOnly)) {
            status = 200;
            body = served.readAll();
        }
    }
    const QByteArray reason = status == 200 ? "OK" : status == 503 ? "Service Unavailable" : "Not Found";
    socket->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nContent-Type: application/json"
                  + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}
