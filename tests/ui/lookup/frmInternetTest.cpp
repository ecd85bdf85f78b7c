// The lookup road through the real windows: the main window's search button opens the lookup
// window on the last site, each of the four sites served from 127.0.0.1 leads from its search
// page to its album page, the track list shows the pairing, its score and cover, and OK fills
// the rename page, which renames and tags the album.
#include "LookupFixture.h"

#include "audio/ID3Edit.h"
#include "ui/lookup/frmInternet.h"
#include "ui/lookup/frmTracks.h"
#include "ui/main/MainContext.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include "ui/widgets/ButtonEx.h"
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>
#include <iostream>

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

TEST_F(LookupWindowTest, FourSitesLeadToTheTrackListAndOkRenamesTheAlbum)
{
    presetSetting(u"Last Directory"_s, album_);
    presetSetting(u"Last Destination dir"_s, u"MP3 directory"_s);
    presetSetting(u"Last Site"_s, u"freedb"_s);
    auto window = openWindow();
    ASSERT_EQ(window->context().currentDirectory, album_);
    auto *search = child<ButtonEx>(window.get(), u"cmdFindInternet"_s);

    // "&Use only selected files" without a selected file: the lookup does not open.
    auto *only = child<QCheckBox>(window.get(), u"chkOnlySelectedFiles"_s);
    fileList(*window)->clearSelection();
    only->setChecked(true);
    QTest::mouseClick(search, Qt::LeftButton);
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().last().text, u"Please select at least one file !"_s);
    EXPECT_EQ(answers->messages().last().title, u"No file selected"_s);
    only->setChecked(false);

    frmInternet *internet = nullptr;
    frmTracks *tracks = nullptr;
    QElapsedTimer clock;
    qint64 openedMs = 0;
    qint64 listedMs = 0;
    const auto trackList = [&] {
        tracks = internet ? internet->trackList() : nullptr;
        return tracks != nullptr && tracks->isVisible();
    };
    const auto list = [&] { return tracks->findChild<QTreeWidget *>(u"lstTracks"_s); };
    const auto score = [&] { return tracks->findChild<QLabel *>(u"lblScore"_s)->text(); };
    const auto openSite = [&](const QString &button) {
        return [&, button] {
            if (internet->trackList())
                return false;
            QTest::mouseClick(child<ButtonEx>(internet, button), Qt::LeftButton);
            return true;
        };
    };
    const auto cont = [&] {
        clickLater(child<ButtonEx>(tracks, u"cmdContinue"_s));
        return true;
    };
    QString gracenoteScore;
    runSteps({
        [&] {
            internet = window->findChild<frmInternet *>();
            if (internet)
                openedMs = clock.elapsed();
            return internet != nullptr;
        },
        // freedb, the last site: the filler submits the folder's name, the album page is read.
        [&] {
            if (!trackList())
                return false;
            listedMs = clock.elapsed();
            EXPECT_EQ(tracks->windowTitle(), u"Tracks found"_s);
            EXPECT_EQ(rowsOf(list()), QStringList({u"01 - Charlie | x-alpha.mp3"_s, u"02 - Alpha | x-bravo.mp3"_s,
                                                   u"***** Not Found ***** | x-charlie.mp3"_s}));
            EXPECT_EQ(child<QLineEdit>(tracks, u"txtArtist"_s)->text(), u"Some Artist"_s);
            EXPECT_TRUE(score().startsWith(u"Album score : "_s) && score().endsWith(u"/1000"_s)) << score().toStdString();
            // The window's caption names the album page; no cover, so OK is usable at once.
            EXPECT_TRUE(internet->windowTitle().startsWith(u" Varnelt - "_s));
            EXPECT_TRUE(child<ButtonEx>(tracks, u"cmdOk"_s)->isEnabled());
            EXPECT_EQ(internet->pollInterval(), 0);
            grab(internet, u"frmInternet-freedb"_s);
            return cont();
        },
        openSite(u"cmdGracenote"_s),
        [&] {
            if (!trackList())
                return false;
            EXPECT_EQ(rowsOf(list()), QStringList({u"01 - Alpha | x-alpha.mp3"_s, u"02 - Bravo | x-bravo.mp3"_s,
                u"03 - Charlie | x-charlie.mp3"_s, u"04 - Delta | ***** Not Found *****"_s}));
            // An empty year is disabled with the button face.
            auto *year = child<QLineEdit>(tracks, u"txtYear"_s);
            EXPECT_FALSE(year->isEnabled());
            EXPECT_EQ(year->palette().color(QPalette::Base), year->palette().color(QPalette::Button));
            gracenoteScore = score();
            EXPECT_EQ(gracenoteScore, u"Album score : 1000/1000"_s);
            // Down moves the file, not the title; the selection follows it; Up on the top row
            // changes nothing; the score follows the pairing.
            list()->setCurrentItem(list()->topLevelItem(0));
            QTest::mouseClick(child<ButtonEx>(tracks, u"cmdDown"_s), Qt::LeftButton);
            EXPECT_EQ(rowsOf(list()).mid(0, 2), QStringList({u"01 - Alpha | x-bravo.mp3"_s, u"02 - Bravo | x-alpha.mp3"_s}));
            EXPECT_EQ(list()->currentIndex().row(), 1);
            EXPECT_NE(score(), gracenoteScore);
            QTest::mouseClick(child<ButtonEx>(tracks, u"cmdUp"_s), Qt::LeftButton);
            QTest::mouseClick(child<ButtonEx>(tracks, u"cmdUp"_s), Qt::LeftButton);
            EXPECT_EQ(list()->currentIndex().row(), 0);
            EXPECT_EQ(score(), gracenoteScore);
            // In-place editing is refused.
            QTest::keyClick(list(), Qt::Key_F2);
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(list()->topLevelItem(1)).center());
            EXPECT_EQ(list()->viewport()->findChild<QLineEdit *>(), nullptr) << "no editor opened";
            grab(tracks, u"frmTracks-gracenote"_s);
            return cont();
        },
        openSite(u"cmdMusicBrainz"_s),
        [&] {
            if (!trackList())
                return false;
            EXPECT_EQ(rowsOf(list()), QStringList({u"01 - Opening | x-alpha.mp3"_s, u"02 - Second Song | x-bravo.mp3"_s,
                                                   u"03 - Closing/Encore | x-charlie.mp3"_s}));
            return cont();
        },
        openSite(u"cmdAmg"_s),
        [&] {
            if (!trackList())
                return false;
            EXPECT_EQ(rowsOf(list()), QStringList({u"01 - Charlie | x-alpha.mp3"_s, u"02 - Alpha | x-bravo.mp3"_s,
                                                   u"03 - Bravo | x-charlie.mp3"_s}));
            const QString before = score();
            QTest::mouseClick(child<ButtonEx>(tracks, u"cmdAutoOrder"_s), Qt::LeftButton);
            EXPECT_EQ(rowsOf(list()), QStringList({u"01 - Charlie | x-charlie.mp3"_s, u"02 - Alpha | x-alpha.mp3"_s,
                                                   u"03 - Bravo | x-bravo.mp3"_s}));
            EXPECT_EQ(score(), u"Album score : 1000/1000"_s);
            EXPECT_NE(before, score());
            return true;
        },
        // The cover arrives; OK waits for it.
        [&] {
            auto *cover = child<QLabel>(tracks, u"ImgCover"_s);
            if (!cover->isVisible())
                return false;
            EXPECT_TRUE(child<ButtonEx>(tracks, u"cmdOk"_s)->isEnabled());
            EXPECT_TRUE(child<QLabel>(tracks, u"lblLoad"_s)->isHidden());
            grab(tracks, u"frmTracks-amg"_s);
            QTimer::singleShot(0, cover, [cover] { QTest::mouseClick(cover, Qt::LeftButton); });
            return true;
        },
        // A click on the cover shows it at full size.
        [&] {
            QWidget *picture = QApplication::activeModalWidget();
            if (!picture || picture->objectName() != u"frmCover"_s)
                return false;
            EXPECT_EQ(picture->windowTitle(), u"The AMG Artist - The AMG Album"_s);
            EXPECT_GE(picture->width(), 120);
            grab(picture, u"frmCover"_s);
            picture->close();
            return true;
        },
        [&] {
            if (QApplication::activeModalWidget() != tracks)
                return false;
            clickLater(child<ButtonEx>(tracks, u"cmdOk"_s));
            return true;
        },
    }, [&] {
        clock.start();
        QTest::mouseClick(search, Qt::LeftButton);
    });
    std::cout << "[ timing ] lookup window open " << openedMs << " ms, first track list " << listedMs << " ms\n";
    ASSERT_EQ(window->findChild<frmInternet *>(), nullptr) << "the lookup window is gone after OK";

    // The rename page holds the album as OK handed it over.
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Rename);
    EXPECT_EQ(child<QLineEdit>(window.get(), u"txtArtistEdit"_s)->text(), u"The AMG Artist"_s);
    EXPECT_EQ(child<QLineEdit>(window.get(), u"txtAlbumEdit"_s)->text(), u"The AMG Album"_s);
    EXPECT_EQ(child<QLineEdit>(window.get(), u"txtYearEdit"_s)->text(), u"1989"_s);
    EXPECT_EQ(child<QLineEdit>(window.get(), u"txtTotalTrack"_s)->text(), u"3"_s);
    EXPECT_EQ(rowsOf(child<QTreeWidget>(window.get(), u"lstResult"_s)).size(), 3);
    EXPECT_TRUE(child<QLabel>(window.get(), u"ImgCover"_s)->isVisible());
    EXPECT_TRUE(child<QCheckBox>(window.get(), u"chkCover"_s)->isEnabled());
    EXPECT_TRUE(QFileInfo::exists(appFolder() + u"/Download/c12345.jpg"_s));

    answers->setDefaultAnswer(Msg::Answer::Yes);
    QTest::mouseClick(child<ButtonEx>(window.get(), u"cmdRename"_s), Qt::LeftButton);
    const QDir target(album_ + u"/The AMG Artist - The AMG Album"_s);
    EXPECT_EQ(target.entryList({u"*.mp3"_s}, QDir::Files, QDir::Name),
              QStringList({u"01 - Charlie.mp3"_s, u"02 - Alpha.mp3"_s, u"03 - Bravo.mp3"_s}));
    EXPECT_EQ(target.entryList({u"*.jpg"_s}, QDir::Files).size(), 1);
    ID3Edit tag;
    ASSERT_EQ(tag.Load(target.filePath(u"02 - Alpha.mp3"_s)), ID3Edit::Ok);
    EXPECT_EQ(tag.Title(), u"Alpha"_s);
    EXPECT_EQ(tag.Artist(), u"The AMG Artist"_s);
    EXPECT_EQ(storedSetting(u"Last Site"_s), u"amg"_s);
}
