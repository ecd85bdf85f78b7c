// The lookup window while the user works in it: an edited folder box is what the searches use;
// the status bar names the page on its way, not the one still shown.
#include "LookupFixture.h"

#include "ui/lookup/frmInternet.h"

#include <QLineEdit>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

TEST_F(LookupWindowTest, TheEditedFolderBoxIsWhatTheSearchesUse)
{
    WorkingList files;
    files.fileNames = {u"x-alpha.mp3"_s};
    files.selected = {true};
    frmInternet internet(album_, files);
    internet.show();
    auto *folder = internet.findChild<QLineEdit *>(u"txtDirectory"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !internet.view()->title().isEmpty(); }, 10000));
    EXPECT_EQ(internet.searchInput().directory, folder->text());
    folder->setText(u"/music/Other Artist - Other Album/"_s);
    EXPECT_EQ(internet.searchInput().directory, u"/music/Other Artist - Other Album/"_s);
}

TEST_F(LookupWindowTest, TheStatusBarNamesThePageBeingOpenedWhileItIsSlowToAnswer)
{
    // A server that takes the request and never answers: the page stays on its way.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    QList<QTcpSocket *> held;
    QObject::connect(&silent, &QTcpServer::newConnection, [&] { held << silent.nextPendingConnection(); });
    const QString slowUrl = u"http://127.0.0.1:%1/slow-album.html"_s.arg(silent.serverPort());

    // A site whose home page is a plain page with no album on it.
    writeFile(u"plain/fdb/index.html"_s, "<html><head><title>Plain home</title></head><body>Home</body></html>");
    LocalWebServer plain(tempFile(u"plain"_s));
    ASSERT_NE(plain.port(), 0) << plain.said().toStdString();
    pointSitesAt(plain);
    presetSetting(u"Last Site"_s, u"freedb"_s);

    WorkingList files;
    files.fileNames = {u"x-alpha.mp3"_s};
    files.selected = {true};
    frmInternet internet(album_, files);
    internet.show();
    auto *status = internet.findChild<QStatusBar *>();
    ASSERT_NE(status, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->currentMessage() == u"Done"_s; }, 10000));
    const QString previous = internet.view()->url().toString();

    // A link followed from the page, as a click does.
    internet.view()->page()->runJavaScript(u"location.href = '%1';"_s.arg(slowUrl));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !held.isEmpty(); }, 10000));
    QTest::qWait(200);
    EXPECT_EQ(status->currentMessage().toStdString(), u"Opening page %1..."_s.arg(slowUrl).toStdString())
        << "shown before: " << previous.toStdString();
    internet.view()->stop();
}
