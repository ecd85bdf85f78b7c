// Capturing a track list in the real windows: a page of no known site served from 127.0.0.1,
// nothing found on a page without one, a pasted list in the lookup window and in the track list
// dialog, a selection on the page captured into the dialog and OK on to the rename page; the
// directory page's pasted list likewise.
#include "LookupFixture.h"

#include "ui/lookup/frmInternet.h"
#include "ui/lookup/frmTracks.h"
#include "ui/main/MainContext.h"
#include "ui/widgets/ButtonEx.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

QStringList rowsOf(QTreeWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + u" | "_s + list->topLevelItem(i)->text(1);
    return rows;
}

template <typename T>
T *child(QWidget *window, const QString &name)
{
    T *widget = window->findChild<T *>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

void clickLater(QWidget *button)
{
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
}

} // namespace

TEST_F(LookupWindowTest, ASelectionOnAnyPageIsCapturedIntoTheTrackListAndOkRenames)
{
    LocalWebServer pages(QStringLiteral(VARNELT_TEST_DATA) + u"/lookup/capture"_s);
    ASSERT_NE(pages.port(), 0) << pages.said().toStdString();
    presetSetting(u"Last Directory"_s, album_);
    presetSetting(u"Last Destination dir"_s, u"MP3 directory"_s);
    presetSetting(u"Last Site"_s, u"freedb"_s);
    auto window = openWindow();

    frmInternet *internet = nullptr;
    frmTracks *tracks = nullptr;
    bool loaded = false;
    bool selected = false;
    const auto open = [&](const QString &page) {
        loaded = false;
        QObject::connect(internet->view()->page(), &QWebEnginePage::loadFinished, internet,
                         [&loaded](bool) { loaded = true; }, Qt::SingleShotConnection);
        internet->view()->load(QUrl(u"http://%1/%2"_s.arg(pages.root(), page)));
    };
    const auto trackList = [&] {
        tracks = internet ? internet->trackList() : nullptr;
        return tracks != nullptr && tracks->isVisible();
    };
    const auto list = [&] { return tracks->findChild<QTreeWidget *>(u"lstTracks"_s); };
    int messages = 0;
    runSteps({
        [&] {
            internet = window->findChild<frmInternet *>();
            if (!internet || !internet->isVisible())
                return false;
            open(u"empty.html"_s);
            return true;
        },
        // Nothing to capture: one message, and the window stays as it is. A right click on the
        // page opens the page's menu, which offers the capture.
        [&] {
            if (!loaded)
                return false;
            messages = answers->count();
            QWidget *surface = internet->view()->focusProxy() ? internet->view()->focusProxy() : internet->view();
            QTest::mouseClick(surface, Qt::RightButton, {}, QPoint(40, 40));
            return true;
        },
        [&] {
            QAction *fromMenu = nullptr;
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (auto *menu = qobject_cast<QMenu *>(top); menu && menu->isVisible()) {
                    for (QAction *action : menu->actions())
                        fromMenu = action->objectName() == u"mnuCaptureTrackList" ? action : fromMenu;
                    if (fromMenu)
                        menu->hide();
                }
            }
            if (!fromMenu)
                return false;
            EXPECT_EQ(fromMenu->text(), u"Capture track list"_s);
            fromMenu->trigger();
            return true;
        },
        [&] {
            if (answers->count() == messages)
                return false;
            EXPECT_EQ(answers->messages().last().text, u"No track list found on this page."_s);
            EXPECT_EQ(internet->trackList(), nullptr);
            EXPECT_TRUE(internet->isVisible());
            // A pasted list opens the dialog as a site's record does.
            QApplication::clipboard()->setText(u"1. One Way 3:10\n2. Two Ways\n"_s);
            QTest::mouseClick(child<ButtonEx>(internet, u"cmdPaste"_s), Qt::LeftButton);
            return true;
        },
        [&] {
            if (!trackList())
                return false;
            EXPECT_EQ(rowsOf(list()), QStringList({u"01 - One Way | x-alpha.mp3"_s, u"02 - Two Ways | x-bravo.mp3"_s,
                                                   u"***** Not Found ***** | x-charlie.mp3"_s}));
            EXPECT_EQ(child<QLineEdit>(tracks, u"txtArtist"_s)->text(), u"Folder Artist"_s);
            // The dialog's own paste replaces the tracks, paired with the same files.
            QApplication::clipboard()->setText(u"Other Band - Other Album\nA1 Left\nA2 Right\nB1 Centre\n"_s);
            QTest::mouseClick(child<ButtonEx>(tracks, u"cmdPaste"_s), Qt::LeftButton);
            EXPECT_EQ(rowsOf(list()), QStringList({u"01 - Left | x-alpha.mp3"_s, u"02 - Right | x-bravo.mp3"_s,
                                                   u"03 - Centre | x-charlie.mp3"_s}));
            EXPECT_EQ(child<QLineEdit>(tracks, u"txtAlbum"_s)->text(), u"Other Album"_s);
            grab(tracks, u"frmTracks-pasted"_s);
            clickLater(child<ButtonEx>(tracks, u"cmdContinue"_s));
            return true;
        },
        [&] {
            if (internet->trackList())
                return false;
            open(u"album.html"_s);
            return true;
        },
        [&] {
            if (!loaded)
                return false;
            internet->view()->page()->runJavaScript(
                u"const r = document.createRange(); r.selectNodeContents(document.getElementById('sel'));"
                "getSelection().removeAllRanges(); getSelection().addRange(r); true"_s,
                [&selected](const QVariant &) { selected = true; });
            return true;
        },
        [&] {
            if (!selected)
                return false;
            grab(internet, u"frmInternet-selection"_s);
            QTest::mouseClick(child<ButtonEx>(internet, u"cmdCapture"_s), Qt::LeftButton);
            return true;
        },
        // Only the selected lines are tracks; the page names the album.
        [&] {
            if (!trackList())
                return false;
            EXPECT_EQ(rowsOf(list()), QStringList({u"01 - Open Water | x-alpha.mp3"_s,
                                                   u"02 - Gulls (Demo) | x-bravo.mp3"_s,
                                                   u"***** Not Found ***** | x-charlie.mp3"_s}));
            EXPECT_EQ(child<QLineEdit>(tracks, u"txtArtist"_s)->text(), u"The Quiet Fields"_s);
            EXPECT_EQ(child<QLineEdit>(tracks, u"txtAlbum"_s)->text(), u"Salt and Cedar"_s);
            EXPECT_EQ(child<QLineEdit>(tracks, u"txtYear"_s)->text(), u"1999"_s);
            grab(tracks, u"frmTracks-captured"_s);
            grab(internet, u"frmInternet-captured"_s);
            EXPECT_TRUE(internet->findChild<QStatusBar *>()->currentMessage().isEmpty()) << "the reading is over";
            return true;
        },
        [&] {
            auto *ok = child<ButtonEx>(tracks, u"cmdOk"_s);
            if (!ok->isEnabled())
                return false;
            clickLater(ok);
            return true;
        },
    }, [&] { QTest::mouseClick(child<ButtonEx>(window.get(), u"cmdFindInternet"_s), Qt::LeftButton); });
    ASSERT_EQ(window->findChild<frmInternet *>(), nullptr) << "the lookup window is gone after OK";
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Rename);
    EXPECT_EQ(child<QLineEdit>(window.get(), u"txtArtistEdit"_s)->text(), u"The Quiet Fields"_s);
    EXPECT_EQ(child<QLineEdit>(window.get(), u"txtAlbumEdit"_s)->text(), u"Salt and Cedar"_s);
    EXPECT_EQ(child<QLineEdit>(window.get(), u"txtTotalTrack"_s)->text(), u"3"_s);
    EXPECT_EQ(rowsOf(child<QTreeWidget>(window.get(), u"lstResult"_s)).size(), 3) << "the file without track keeps its tag title";
    grab(window.get(), u"frmMain-rename-captured"_s);
}

TEST_F(LookupWindowTest, TheDirectoryPagePastesATrackListIntoTheTrackListDialog)
{
    presetSetting(u"Last Directory"_s, album_);
    auto window = openWindow();
    QMenu *menu = child<QMenu>(window.get(), u"mnuContext3"_s);
    QAction *paste = nullptr;
    for (QAction *action : menu->actions())
        paste = action->objectName() == u"mnuPasteTrackList" ? action : paste;
    ASSERT_NE(paste, nullptr);

    QApplication::clipboard()->setText(u"  \n\t\n"_s);
    const int before = answers->count();
    paste->trigger();
    ASSERT_EQ(answers->count(), before + 1);
    EXPECT_EQ(answers->messages().last().text, u"No track list found in the text."_s);

    QApplication::clipboard()->setText(u"“First Light” (intro) – 1:05\nSecond Light\n"_s);
    frmTracks *tracks = nullptr;
    runSteps({
        [&] {
            tracks = qobject_cast<frmTracks *>(QApplication::activeModalWidget());
            if (!tracks)
                return false;
            EXPECT_EQ(rowsOf(tracks->findChild<QTreeWidget *>(u"lstTracks"_s)),
                      QStringList({u"01 - First Light | x-alpha.mp3"_s, u"02 - Second Light | x-bravo.mp3"_s,
                                   u"***** Not Found ***** | x-charlie.mp3"_s}));
            return true;
        },
        [&] {
            auto *ok = child<ButtonEx>(tracks, u"cmdOk"_s);
            if (!ok->isEnabled())
                return false;
            clickLater(ok);
            return true;
        },
    }, [&] { paste->trigger(); });
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Rename);
    EXPECT_EQ(child<QLineEdit>(window.get(), u"txtAlbumEdit"_s)->text(), u"Folder Album"_s);
    EXPECT_EQ(rowsOf(child<QTreeWidget>(window.get(), u"lstResult"_s)).size(), 3) << "the file without track keeps its tag title";
}
