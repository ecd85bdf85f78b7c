// "Find automatically" through the real windows: the lookup window searches the web service
// (served from 127.0.0.1 in its real shapes) for the folder's album, lists the candidates beside
// the page, Enter opens the best one's track list paired by best match with each pair's score,
// and OK hands it to the rename page. A refused service gives one message and leaves the window
// usable; closing the window stops the search.
#include "LookupFixture.h"
#include "support/RawSettings.h"

#include "foundation/Settings.h"
#include "naming/QStringPrinter.h"
#include "support/CannedService.h"
#include "ui/lookup/CandidatePanel.h"
#include "ui/lookup/frmInternet.h"
#include "ui/lookup/frmTracks.h"
#include "ui/main/MainContext.h"
#include "ui/widgets/ButtonEx.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <iostream>
#include <set>

using namespace Qt::StringLiterals;

namespace {

const QStringList Titles = {u"Aurora Rising"_s, u"Cold Harbour"_s, u"Northern Lights"_s, u"Paper Boats"_s,
                            u"The Long Night"_s, u"Silver Birch"_s, u"Midnight Sun"_s, u"Frozen Lake"_s,
                            u"Wolves"_s, u"Homeward"_s};
const QList<int> Lengths = {245, 198, 312, 187, 276, 230, 301, 219, 264, 355};

template <typename T>
T *child(QWidget *window, const QString &name)
{
    T *widget = window->findChild<T *>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

QStringList rowsOf(QTreeWidget *list, int columns)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << list->topLevelItem(i)->text(c);
        rows << cells.join(u" | "_s);
    }
    return rows;
}

class SearchWindowTest : public LookupWindowTest
{
protected:
    void SetUp() override
    {
        LookupWindowTest::SetUp();
        // Files a.mp3 ... j.mp3 holding the plain album's tracks in another order.
        folder_ = tempFile(u"The Example Band - Northern Lights"_s);
        const Mp3Writer::Frame f;
        for (int i = 0; i < Titles.size(); ++i) {
            const int track = (i * 3) % 10;
            ASSERT_TRUE(Mp3Writer::save(folder_ + u'/' + QChar(char16_t(u'a' + i)) + u".mp3"_s,
                Mp3Writer::xingFrame(f, quint32(Mp3Writer::framesFor(Lengths.at(track) + 1, f))) + Mp3Writer::frames(f, 3)));
        }
        presetSetting(u"Last Directory"_s, folder_);
        presetSetting(u"Last Destination dir"_s, u"MP3 directory"_s);
        // The browser opens a page no reader takes: the search alone brings an album.
        presetSetting(u"Last Site"_s, u"amg"_s);
        RawSettings sites(u"Sites"_s);
        sites.setValue(u"amgHome"_s, u"http://%1/amg/no-such-page.html"_s.arg(server_->root()));
        sites.sync();
    }

    void serveFrom(const CannedService &service)
    {
        RawSettings settings(u"Sites"_s);
        settings.setValue(u"musicbrainzService"_s, service.root() + u"/ws/2"_s);
        settings.sync();
    }

    QString folder_;
};

} // namespace

TEST_F(SearchWindowTest, FindAutomaticallyListsCandidatesAndEnterOpensTheBestPairedByBestMatch)
{
    CannedService service(QStringLiteral(VARNELT_TEST_DATA) + u"/lookup/search"_s);
    serveFrom(service);
    auto window = openWindow();
    frmInternet *internet = nullptr;
    frmTracks *tracks = nullptr;
    QTreeWidget *candidates = nullptr;
    QElapsedTimer clock;
    qint64 foundMs = 0;
    std::set<qint64> busyFrames;
    runSteps({
        [&] {
            internet = window->findChild<frmInternet *>();
            return internet != nullptr && internet->isVisible();
        },
        [&] {
            auto *find = child<ButtonEx>(internet, u"cmdFindAuto"_s);
            QTest::mouseClick(find, Qt::LeftButton);
            clock.start();
            candidates = child<QTreeWidget>(internet, u"lstCandidates"_s);
            EXPECT_TRUE(candidates->isVisible()) << "the list shows beside the page";
            EXPECT_FALSE(find->isEnabled()) << "one search at a time";
            EXPECT_TRUE(internet->candidatePanel()->isSearching());
            // The page reloads meanwhile: its end must not stop the busy indicator.
            QTest::mouseClick(child<ButtonEx>(internet, u"cmdReload"_s), Qt::LeftButton);
            return true;
        },
        [&] {
            if (internet->candidatePanel()->isSearching()) {
                if (clock.elapsed() > 3000)
                    busyFrames.insert(child<QLabel>(internet, u"imgBusy"_s)->pixmap().cacheKey());
                return false;
            }
            EXPECT_GE(busyFrames.size(), 2u) << "the busy indicator turns while the requests are under way";
            foundMs = clock.elapsed();
            EXPECT_TRUE(child<ButtonEx>(internet, u"cmdFindAuto"_s)->isEnabled());
            EXPECT_EQ(candidates->topLevelItemCount(), 8);
            EXPECT_EQ(rowsOf(candidates, 6).value(0), u"1000 | The Example Band | Northern Lights | 1998 | 10 | CD"_s);
            EXPECT_EQ(rowsOf(candidates, 6).value(1), u"905 | The Example Band | Northern Lights (deluxe edition) | 2008 | 14 | CD"_s);
            EXPECT_EQ(candidates->topLevelItem(0)->toolTip(3),
                      u"The Example Band - Northern Lights\n"
                      "Score 1000/1000: tracks 250/250, lengths 350/350, titles -, artist 75/75, album 75/75, year -"_s);
            // Every column in sight: the album gives up room, the format is not cut off.
            const QHeaderView *header = candidates->header();
            EXPECT_LE(header->sectionViewportPosition(5) + header->sectionSize(5), candidates->viewport()->width());
            EXPECT_GE(header->sectionSize(5), candidates->fontMetrics().horizontalAdvance(u"Enhanced CD"_s));
            EXPECT_EQ(candidates->currentIndex().row(), 0);
            EXPECT_EQ(internet->focusWidget(), candidates);
            EXPECT_EQ(answers->count(), 0);
            grab(internet, u"frmInternet-candidates"_s);
            QTimer::singleShot(0, candidates, [candidates] { QTest::keyClick(candidates, Qt::Key_Return); });
            return true;
        },
        [&] {
            tracks = internet->trackList();
            if (!tracks || !tracks->isVisible() || child<QTreeWidget>(tracks, u"lstTracks"_s)->topLevelItemCount() == 0)
                return false;
            auto *list = child<QTreeWidget>(tracks, u"lstTracks"_s);
            if (list->topLevelItem(0)->text(2).isEmpty())
                return false;
            const QStringList rows = rowsOf(list, 3);
            EXPECT_EQ(rows.mid(0, 3), QStringList({u"01 - Aurora Rising | a.mp3 | 100"_s, u"02 - Cold Harbour | h.mp3 | 100"_s,
                                                   u"03 - Northern Lights | e.mp3 | 100"_s}));
            EXPECT_EQ(list->topLevelItem(1)->toolTip(0), u"length 3:19 / 3:18"_s);
            EXPECT_EQ(list->headerItem()->text(2), u"Score"_s);
            // Down moves a file off its track: the scores follow; Best match puts it back.
            list->setCurrentItem(list->topLevelItem(0));
            QTest::mouseClick(child<ButtonEx>(tracks, u"cmdDown"_s), Qt::LeftButton);
            EXPECT_EQ(rowsOf(list, 3).value(0), u"01 - Aurora Rising | h.mp3 | 0"_s);
            EXPECT_EQ(list->topLevelItem(0)->toolTip(0), u"length 3:19 / 4:05"_s);
            QTest::mouseClick(child<ButtonEx>(tracks, u"cmdBestMatch"_s), Qt::LeftButton);
            EXPECT_EQ(rowsOf(list, 3), rows);
            EXPECT_FALSE(child<QCheckBox>(tracks, u"chkBestMatch"_s)->isChecked()) << "off by default";
            EXPECT_TRUE(child<QLabel>(tracks, u"lblScore"_s)->text().startsWith(u"Album score : "_s));
            QCoreApplication::processEvents();
            grab(tracks, u"frmTracks-bestmatch"_s);
            return true;
        },
        [&] {
            auto *ok = child<ButtonEx>(tracks, u"cmdOk"_s);
            if (!ok->isEnabled())
                return false;
            QTimer::singleShot(0, ok, [ok] { QTest::mouseClick(ok, Qt::LeftButton); });
            return true;
        },
    }, [&] { QTest::mouseClick(child<ButtonEx>(window.get(), u"cmdFindInternet"_s), Qt::LeftButton); }, 30000);
    std::cout << "[ timing ] Find automatically to the candidate list: " << foundMs << " ms\n";

    ASSERT_EQ(window->findChild<frmInternet *>(), nullptr) << "the lookup window is gone after OK";
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Rename);
    EXPECT_EQ(child<QLineEdit>(window.get(), u"txtArtistEdit"_s)->text(), u"The Example Band"_s);
    EXPECT_EQ(child<QLineEdit>(window.get(), u"txtAlbumEdit"_s)->text(), u"Northern Lights"_s);
    auto *result = child<QTreeWidget>(window.get(), u"lstResult"_s);
    ASSERT_EQ(result->topLevelItemCount(), 10);
    EXPECT_EQ(result->topLevelItem(1)->text(0), u"Cold Harbour"_s);
    EXPECT_EQ(result->topLevelItem(1)->text(1), u"h.mp3"_s);
}

TEST_F(SearchWindowTest, ARefusedServiceGivesOneMessageAndClosingStopsTheSearch)
{
    CannedService service;
    service.script(u"/ws/2/release"_s, 503, "busy", 2);
    serveFrom(service);
    auto window = openWindow();
    frmInternet *internet = nullptr;
    runSteps({
        [&] {
            internet = window->findChild<frmInternet *>();
            if (!internet || !internet->isVisible())
                return false;
            QTest::mouseClick(child<ButtonEx>(internet, u"cmdFindAuto"_s), Qt::LeftButton);
            return true;
        },
        [&] {
            if (internet->candidatePanel()->isSearching())
                return false;
            EXPECT_EQ(answers->count(), 1);
            EXPECT_EQ(answers->lastText(),
                      u"The MusicBrainz web service refused the request twice (HTTP status 503): it is busy; try again later."_s);
            EXPECT_EQ(answers->messages().value(0).title, u"Find automatically"_s);
            EXPECT_EQ(service.requests().size(), 2) << "asked again once, no more";
            EXPECT_TRUE(child<ButtonEx>(internet, u"cmdFindAuto"_s)->isEnabled()) << "the window stays usable";
            // A search under way when the window closes: stopped, nothing more reported.
            QTest::mouseClick(child<ButtonEx>(internet, u"cmdFindAuto"_s), Qt::LeftButton);
            EXPECT_TRUE(internet->candidatePanel()->isSearching());
            internet->close();
            return true;
        },
    }, [&] { QTest::mouseClick(child<ButtonEx>(window.get(), u"cmdFindInternet"_s), Qt::LeftButton); }, 30000);
    EXPECT_EQ(window->findChild<frmInternet *>(), nullptr);
    QTest::qWait(1500);
    EXPECT_EQ(answers->count(), 1) << "no message after the window closed";
}

TEST_F(LookupWindowTest, WithTheSettingASitesAlbumArrivesPairedByBestMatch)
{
    presetSetting(u"Last Directory"_s, album_);
    presetSetting(u"Last Site"_s, u"freedb"_s);
    presetSetting(u"Pair By Best Match"_s, u"1"_s);
    auto window = openWindow();
    frmInternet *internet = nullptr;
    runSteps({
        [&] {
            internet = window->findChild<frmInternet *>();
            frmTracks *tracks = internet ? internet->trackList() : nullptr;
            if (!tracks || !tracks->isVisible())
                return false;
            auto *list = child<QTreeWidget>(tracks, u"lstTracks"_s);
            if (list->topLevelItemCount() == 0 || list->topLevelItem(0)->text(2).isEmpty())
                return false;
            // By position freedb gives x-alpha to Charlie; the files' titles say otherwise.
            EXPECT_EQ(rowsOf(list, 3), QStringList({u"01 - Charlie | x-charlie.mp3 | 100"_s,
                                                    u"02 - Alpha | x-alpha.mp3 | 100"_s,
                                                    u"***** Not Found ***** | x-bravo.mp3 | "_s}));
            auto *setting = child<QCheckBox>(tracks, u"chkBestMatch"_s);
            EXPECT_TRUE(setting->isChecked());
            setting->setChecked(false);
            EXPECT_EQ(storedSetting(u"Pair By Best Match"_s), u"0"_s);
            QTimer::singleShot(0, internet, [internet] { internet->close(); });
            return true;
        },
    }, [&] { QTest::mouseClick(child<ButtonEx>(window.get(), u"cmdFindInternet"_s), Qt::LeftButton); }, 30000);
}
