// The track list's cover download when the server misbehaves: a picture that never comes, an
// HTML page instead of a picture, a dialog closed mid-download. None keeps the dialog busy, none
// hands a cover over, none leaves a file behind.
#include "LookupFixture.h"

#include "ui/lookup/frmTracks.h"

#include <QDir>
#include <QLabel>
#include "ui/widgets/ButtonEx.h"
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

AlbumRecord recordWithCover(const QString &coverUrl)
{
    AlbumRecord record;
    record.artist = u"A"_s;
    record.album = u"B"_s;
    record.rows = {{u"01 - Alpha"_s, u"x-alpha.mp3"_s, u"FileIcon"_s},
                   {u"***** Not Found *****"_s, u"x-bravo.mp3"_s, u"TrackError"_s}};
    record.coverUrl = coverUrl;
    return record;
}

} // namespace

TEST_F(LookupWindowTest, CoverFaultsEndInCoverErrorAndLeaveNoFile)
{
    // A server that accepts and never answers.
    QTcpServer stalling;
    ASSERT_TRUE(stalling.listen(QHostAddress::LocalHost));
    QList<QTcpSocket *> held;
    QObject::connect(&stalling, &QTcpServer::newConnection, [&] { held << stalling.nextPendingConnection(); });
    const QString stalledUrl = u"http://127.0.0.1:%1/stalled.jpg"_s.arg(stalling.serverPort());

    frmTracks stalled(recordWithCover(stalledUrl));
    frmTracks html(recordWithCover(u"http://%1/amg/index.html"_s.arg(server_->root())));
    auto closedEarly = std::make_unique<frmTracks>(recordWithCover(u"http://127.0.0.1:%1/early.jpg"_s.arg(stalling.serverPort())));
    for (frmTracks *dialog : {&stalled, &html, closedEarly.get()})
        dialog->show();
    const auto label = [](frmTracks &dialog) { return dialog.findChild<QLabel *>(u"lblLoad"_s)->text(); };
    const auto ok = [](frmTracks &dialog) { return dialog.findChild<ButtonEx *>(u"cmdOk"_s)->isEnabled(); };

    // The HTML page is refused at once; OK still waits for the 5-second time-out.
    ASSERT_TRUE(QTest::qWaitFor([&] { return label(html) == u"Cover error"_s; }, 3000));
    EXPECT_FALSE(ok(html));
    EXPECT_FALSE(html.coverShown());
    EXPECT_EQ(label(stalled), u"Loading cover..."_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return held.size() == 2; }, 3000));
    closedEarly.reset();

    // The stalled download gives up; the time-out enables OK in both dialogs.
    ASSERT_TRUE(QTest::qWaitFor([&] { return label(stalled) == u"Cover error"_s; }, 8000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ok(stalled) && ok(html); }, 2000));
    EXPECT_FALSE(stalled.coverShown());
    EXPECT_TRUE(stalled.findChild<QLabel *>(u"ImgCover"_s)->isHidden());
    grab(&stalled, u"frmTracks-cover-error"_s);

    // Nothing was written into "Download": no page, no half picture, no temporary file.
    EXPECT_EQ(QDir(appFolder() + u"/Download"_s).entryList(QDir::Files | QDir::Hidden), QStringList());
    qDeleteAll(held);
}
