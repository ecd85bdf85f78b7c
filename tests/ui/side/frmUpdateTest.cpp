// The update check against a web server on the loopback address: the announced version beside
// ours, the colour when they differ (letter case counts), and "Error" for an empty or oversized
// file and for a site that does not answer; Download opens the download page or says why not.
#include "support/TestEnv.h"
#include "foundation/AppFolder.h"
#include "foundation/Settings.h"
#include "foundation/Version.h"
#include "ui/side/frmUpdate.h"
#include "ui/widgets/Desktop.h"

#include <QAbstractButton>
#include <QScopeGuard>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class frmUpdateTest : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->readAll().startsWith("GET /site/update.txt "))
                        return;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: "
                        + QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        pointSiteAt(server.serverPort());
    }

    static void pointSiteAt(quint16 port)
    {
        Settings(SettingsKeys::SitesGroup).setValue(SettingsKeys::MakerHome, u"http://127.0.0.1:%1/site"_s.arg(port));
    }

    /// Opens the window and waits until the last-version box leaves "Checking...".
    struct Check {
        QString lastVersion;
        bool coloured = false;
        bool timerRunning = false;
    };
    Check check()
    {
        frmUpdate window;
        window.show();
        auto *last = window.findChild<QLineEdit *>(u"txtLastVersion"_s);
        auto *ours = window.findChild<QLineEdit *>(u"txtActualVersion"_s);
        EXPECT_EQ(ours->text(), Version::text());
        EXPECT_TRUE(QTest::qWaitFor([last] { return last->text() != u"Checking..."_s; }, 10000));
        QTest::qWait(300);
        return {last->text(), ours->palette().color(QPalette::Base) == frmUpdate::differentVersionColour(),
                window.findChild<QTimer *>(u"tmrDownload"_s)->isActive()};
    }

    QTcpServer server;
    QByteArray body;
};

TEST_F(frmUpdateTest, ComparesTheFirstLineAndShowsErrorForAnythingElse)
{
    const QString local = AppFolder::path() + u"/Download/update.txt"_s;
    // Equal: only the first line counts.
    body = Version::text().toUtf8() + "\r\nChanges: none\r\n";
    Check result = check();
    EXPECT_EQ(result.lastVersion, Version::text());
    EXPECT_FALSE(result.coloured);
    EXPECT_EQ(readAll(local), body);

    // Letter case makes another version.
    body = Version::text().toUpper().toUtf8();
    result = check();
    EXPECT_EQ(result.lastVersion, Version::text().toUpper());
    EXPECT_TRUE(result.coloured);

    body.clear();
    result = check();
    EXPECT_EQ(result.lastVersion, u"Error"_s);
    EXPECT_FALSE(result.coloured);

    // An oversized answer is cut off: nothing of it stays in the download folder.
    body = QByteArray(2 * 1024 * 1024, 'x');
    result = check();
    EXPECT_EQ(result.lastVersion, u"Error"_s);
    EXPECT_FALSE(result.coloured);
    EXPECT_FALSE(result.timerRunning);
    EXPECT_EQ(QDir(AppFolder::path() + u"/Download"_s).entryList(QDir::Files), QStringList());

    // A long file: its first line is read, the rest is neither kept nor looked at, even when
    // it is not text.
    body = Version::text().toUtf8() + "\r\n" + QByteArray(20000, '\xFF') + QByteArray(10, '\0');
    result = check();
    EXPECT_EQ(result.lastVersion, Version::text());
    EXPECT_FALSE(result.coloured);
    EXPECT_LE(QFileInfo(local).size(), frmUpdate::MaxFileSize);
    // A first line that is not UTF-8 is read as single-byte text.
    body = "2.1 \xE9t\xE9\nmore";
    result = check();
    EXPECT_EQ(result.lastVersion, u"2.1 \u00E9t\u00E9"_s);
    EXPECT_TRUE(result.coloured);

    // No server: an error, and the timer stops.
    const quint16 port = server.serverPort();
    server.close();
    pointSiteAt(port);
    result = check();
    EXPECT_EQ(result.lastVersion, u"Error"_s);
    EXPECT_FALSE(result.timerRunning);
}

TEST_F(frmUpdateTest, DownloadOpensTheDownloadPageOrSaysThatNoBrowserCould)
{
    body = Version::text().toUtf8();
    QList<QUrl> opened;
    bool browserThere = true;
    const Desktop::Opener real = Desktop::setOpener([&](const QUrl &url) {
        opened << url;
        return browserThere;
    });
    const auto restore = qScopeGuard([&] { Desktop::setOpener(real); });
    frmUpdate window;
    window.show();
    auto *download = window.findChild<QAbstractButton *>(u"cmdFindInternet"_s);
    download->click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.first().toString().endsWith(u"/site/download/"_s)) << opened.first().toString().toStdString();
    EXPECT_EQ(answers->count(), 0);

    browserThere = false;
    download->click();
    EXPECT_EQ(opened.size(), 2);
    ASSERT_EQ(answers->count(), 1);
    EXPECT_TRUE(answers->lastText().contains(opened.last().toString())) << answers->lastText().toStdString();
}
