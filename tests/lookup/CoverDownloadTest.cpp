// The cover download against a server on the loopback address that sends a small picture
// slowly: a steady trickle arrives whole however long it takes in all, a server that stops
// sending fails after the stall limit.
#include "support/TestEnv.h"
#include "lookup/CoverDownload.h"

#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

/// Answers one request with a 1,200-byte JPEG, `chunk` bytes every `everyMs`; `stopAfter`
/// chunks are sent before it falls silent (all of them when negative).
class TricklingServer : public QObject
{
public:
    TricklingServer(int chunk, int everyMs, int stopAfter) : chunk_(chunk), everyMs_(everyMs), stopAfter_(stopAfter)
    {
        picture_ = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(1196, 'j');
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = server_.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                socket->readAll();
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: "
                              + QByteArray::number(picture_.size()) + "\r\n\r\n");
                auto *timer = new QTimer(socket);
                connect(timer, &QTimer::timeout, socket, [this, socket, timer] {
                    if (stopAfter_ == 0 || sent_ >= picture_.size()) {
                        timer->stop();
                        return;
                    }
                    socket->write(picture_.mid(sent_, chunk_));
                    sent_ += chunk_;
                    --stopAfter_;
                });
                timer->start(everyMs_);
            });
        });
    }
    QString url() const { return u"http://127.0.0.1:%1/cover.jpg"_s.arg(server_.serverPort()); }
    QByteArray picture_;

private:
    QTcpServer server_;
    int chunk_, everyMs_, stopAfter_;
    int sent_ = 0;
};

/// Starts the download and waits for its end; the error it gave, or "<none>" when it never ended.
QString downloadAndWait(CoverDownload &download, const QString &url, const QString &path)
{
    QString error = u"<none>"_s;
    QEventLoop loop;
    QObject::connect(&download, &CoverDownload::finished, &loop, [&](const QString &e) {
        error = e;
        loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    download.start(url, path);
    loop.exec();
    return error;
}

} // namespace

class CoverDownloadTest : public VarneltTest {};

TEST_F(CoverDownloadTest, ASteadyTrickleArrivesAndASilentServerFailsAfterTheStallLimit)
{
    // 150 bytes every 900 ms: about 7 seconds in all, more than the stall limit, never a gap as long.
    {
        TricklingServer slow(150, 900, -1);
        CoverDownload download;
        const QString path = tempFile(u"slow/cover.jpg"_s);
        EXPECT_EQ(downloadAndWait(download, slow.url(), path), QString());
        EXPECT_EQ(readAll(path), slow.picture_);
    }
    // Two pieces, then nothing: it fails once the server has been silent for the limit.
    {
        TricklingServer stopping(150, 300, 2);
        CoverDownload download;
        const QString path = tempFile(u"stopped/cover.jpg"_s);
        QElapsedTimer clock;
        clock.start();
        const QString error = downloadAndWait(download, stopping.url(), path);
        EXPECT_GE(clock.elapsed(), CoverDownload::TimeoutMs);
        EXPECT_LT(clock.elapsed(), CoverDownload::TimeoutMs + 3000);
        EXPECT_EQ(error, u"No part of the cover arrived for 5 seconds."_s);
        EXPECT_FALSE(QFile::exists(path));
    }
}
