// The rename page's live preview, its rename list handlers and the enabling rules of its options.
#include "PagesFixture.h"

#include "foundation/Settings.h"
#include "naming/NameBuilder.h"
#include "ui/main/PageRename.h"
#include "ui/main/PageTag.h"
#include "ui/main/RenameListView.h"
#include "ui/side/frmSelectDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include "ui/widgets/ButtonEx.h"
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kMask = u"%artist - %album\\%track - %title"_s;

} // namespace

class PageRenamePreviewTest : public PagesTest
{
protected:
    void SetUp() override
    {
        PagesTest::SetUp();
        folder = tempFile(u"album"_s);
        context->currentDirectory = folder;
        auto *mask = control<QComboBox>(u"cboMask"_s);
        mask->addItems({kMask, u"%artist - %title"_s, u"%genre\\%year - %comment - %title"_s});
        mask->setCurrentIndex(0);
        pageRename->setRenameList({{u"One"_s, u"a.mp3"_s, u"01"_s},
                                   {u"Two"_s, u"b.mp3"_s, u"02"_s},
                                   {u"Three"_s, u"c.mp3"_s, u"03"_s}});
        showPage(WizardPage::Rename);
        list = control<RenameListView>(u"lstResult"_s);
        preview = control<QLineEdit>(u"txtNewFileName"_s);
        list->setCurrentItem(list->topLevelItem(0));
    }

    /// Chooses an entry of a drop-down the way the user does: the list opened and a row taken.
    static void choose(QComboBox *combo, int index)
    {
        combo->setFocus();
        combo->setCurrentIndex(index == 0 ? 1 : 0);
        // A key press moves the choice and emits activated(), as a click in the list does.
        QTest::keyClick(combo, index == 0 ? Qt::Key_Up : Qt::Key_Down);
        if (combo->currentIndex() != index) {
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        }
    }

    /// Lets the delegate commit the edit and close its editor, as the event loop does.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString expected(const QString &relative) const { return folder + u'/' + relative; }

    QString folder;
    RenameListView *list = nullptr;
    QLineEdit *preview = nullptr;
};

TEST_F(PageRenamePreviewTest, FollowsTheAlbumFieldsAsTheyAreTyped)
{
    QTest::keyClicks(control<QLineEdit>(u"txtArtistEdit"_s), u"Foo/Bar"_s);
    EXPECT_EQ(preview->text(), expected(u"Foo-Bar - /01 - One.mp3"_s));
    QTest::keyClicks(control<QLineEdit>(u"txtAlbumEdit"_s), u"Live: 1"_s);
    EXPECT_EQ(preview->text(), expected(u"Foo-Bar - Live- 1/01 - One.mp3"_s));
    EXPECT_EQ(preview->toolTip(), preview->text());

    choose(control<QComboBox>(u"cboMask"_s), 2);
    QTest::keyClicks(control<QLineEdit>(u"txtYearEdit"_s), u"1999"_s);
    QTest::keyClicks(control<QLineEdit>(u"txtCommentEdit"_s), u"rip"_s);
    control<QComboBox>(u"cboGenreEdit"_s)->setFocus();
    QTest::keyClicks(control<QComboBox>(u"cboGenreEdit"_s), u"Rock"_s);
    EXPECT_EQ(preview->text(), expected(u"Rock/1999 - rip - One.mp3"_s));
}

TEST_F(PageRenamePreviewTest, FollowsTheRowClickedAndTheTitleEditedInPlace)
{
    control<QLineEdit>(u"txtArtistEdit"_s)->setText(u"Foo"_s);
    control<QLineEdit>(u"txtAlbumEdit"_s)->setText(u"Bar"_s);
    const QRect second = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(preview->text(), expected(u"Foo - Bar/02 - Two.mp3"_s));

    QTest::keyClick(list, Qt::Key_F2);
    auto *editor = list->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, u"Deux"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    EXPECT_EQ(list->rowAt(1).title, u"Deux"_s);
    EXPECT_EQ(preview->text(), expected(u"Foo - Bar/02 - Deux.mp3"_s));
}

TEST_F(PageRenamePreviewTest, FollowsEveryNamingOptionWithTheJobsOwnPath)
{
    control<QLineEdit>(u"txtArtistEdit"_s)->setText(u"foo fighters"_s);
    control<QLineEdit>(u"txtAlbumEdit"_s)->setText(u"the album"_s);
    auto *effect = control<QCheckBox>(u"chkTextEffect"_s);
    QTest::mouseClick(effect, Qt::LeftButton);
    EXPECT_EQ(preview->text(), expected(u"Foo Fighters - The Album/01 - One.mp3"_s));
    choose(control<QComboBox>(u"cboTextEffect"_s), 3);
    EXPECT_EQ(preview->text(), expected(u"FOO FIGHTERS - THE ALBUM/01 - ONE.mp3"_s));

    QTest::mouseClick(control<QCheckBox>(u"chkReplaceSpaces"_s), Qt::LeftButton);
    EXPECT_EQ(preview->text(), expected(u"FOO_FIGHTERS_-_THE_ALBUM/01_-_ONE.mp3"_s));
    choose(control<QComboBox>(u"cboReplaceSpaces"_s), 2);
    EXPECT_EQ(preview->text(), expected(u"FOOFIGHTERS-THEALBUM/01-ONE.mp3"_s));

    choose(control<QComboBox>(u"cboDestDir"_s), 1);
    EXPECT_EQ(preview->text(), tempPath() + u"/FOOFIGHTERS-THEALBUM/01-ONE.mp3"_s);
    EXPECT_EQ(control<QComboBox>(u"cboDestDir"_s)->toolTip(), u"Parent directory"_s);

    // Whatever the options, the preview is exactly the path the job will build for the row.
    list->setCurrentItem(list->topLevelItem(2));
    EXPECT_EQ(preview->text(),
              buildNewFileName(pageRename->albumFields(), pageRename->namingOptions(), folder,
                               TrackInput{u"Three"_s, 3, u"c.mp3"_s, u"03"_s}, parentFolderExists(folder)));
}

TEST_F(PageRenamePreviewTest, ChoosingAMaskRemembersItAndShowsItAsTip)
{
    control<QLineEdit>(u"txtArtistEdit"_s)->setText(u"Foo"_s);
    auto *mask = control<QComboBox>(u"cboMask"_s);
    choose(mask, 1);
    EXPECT_EQ(Settings().value(SettingsKeys::LastMask), u"%artist - %title"_s);
    EXPECT_EQ(mask->toolTip(), u"%artist - %title"_s);
    EXPECT_EQ(preview->text(), expected(u"Foo - One.mp3"_s));
}

TEST_F(PageRenamePreviewTest, IsLeftAloneWhileAnotherPageIsShown)
{
    showPage(WizardPage::Result);
    control<QLineEdit>(u"txtArtistEdit"_s)->setText(u"Changed"_s);
    EXPECT_FALSE(preview->text().contains(u"Changed"_s));
    showPage(WizardPage::Rename);
    EXPECT_TRUE(preview->text().contains(u"Changed"_s));
}

TEST_F(PageRenamePreviewTest, IsRebuiltWhenTheWindowBecomesActive)
{
    context->activeWizardPage = WizardPage::Directory; // as if another page had been shown meanwhile
    control<QLineEdit>(u"txtArtistEdit"_s)->setText(u"Late"_s);
    EXPECT_FALSE(preview->text().contains(u"Late"_s));
    context->activeWizardPage = WizardPage::Rename;
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(host.get(), &activate);
    EXPECT_EQ(preview->text(), expected(u"Late - /01 - One.mp3"_s));
}

TEST_F(PageRenamePreviewTest, AnEmptyTitleIsRefusedAndTheOldTitleStays)
{
    for (const QString &typed : {QString(), u"   "_s}) {
        list->setCurrentItem(list->topLevelItem(0));
        pageRename->editSelectedTrack();
        auto *editor = list->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        if (!typed.isEmpty())
            QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        settle();
        EXPECT_EQ(list->rowAt(0).title, u"One"_s);
        EXPECT_TRUE(preview->text().endsWith(u"01 - One.mp3"_s));
        EXPECT_EQ(list->findChild<QLineEdit *>(), nullptr) << "the edit has ended";
    }
    // The same editor takes a real title.
    pageRename->editSelectedTrack();
    auto *editor = list->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, u"!"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    EXPECT_NE(list->rowAt(0).title, u"One"_s);
}

TEST_F(PageRenamePreviewTest, HeaderClicksSortAndASecondClickReverses)
{
    QHeaderView *header = list->header();
    const auto titles = [this] {
        QStringList t;
        for (const RenameRow &row : list->rows())
            t << row.title;
        return t;
    };
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    EXPECT_EQ(titles(), (QStringList{u"One"_s, u"Three"_s, u"Two"_s}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    EXPECT_EQ(titles(), (QStringList{u"Two"_s, u"Three"_s, u"One"_s}));
    // The file number follows the new order: the job reads the rows as they are shown.
    list->setCurrentItem(list->topLevelItem(0));
    EXPECT_EQ(pageRename->renameRows().first(), (RenameRow{u"Two"_s, u"b.mp3"_s, u"02"_s}));
    // Another column keeps the current direction.
    list->sortByHeader(1);
    EXPECT_EQ(titles(), (QStringList{u"Three"_s, u"Two"_s, u"One"_s}));
    EXPECT_TRUE(header->isSortIndicatorShown());
    // Refilled in tag order, the list shows no arrow that would claim another order.
    pageRename->setRenameList({{u"Z"_s, u"z.mp3"_s, u"01"_s}, {u"A"_s, u"a.mp3"_s, u"02"_s}});
    EXPECT_EQ(titles(), (QStringList{u"Z"_s, u"A"_s}));
    EXPECT_FALSE(header->isSortIndicatorShown());
}

TEST_F(PageRenamePreviewTest, BrowsingAddsTheChosenFolderOnceAndCancelChangesNothing)
{
    // The folder picker's tree starts at the home folder.
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", tempPath().toUtf8());
    const QString answer = tempFile(u"out"_s);
    QDir().mkpath(answer);
    // Answers the picker the browse button opens: the folder and "&Select", or "&Cancel".
    auto browse = [this](const QString &folder) {
        QTimer::singleShot(0, [folder] {
            auto *picker = qobject_cast<frmSelectDir *>(QApplication::activeModalWidget());
            ASSERT_NE(picker, nullptr);
            if (folder.isEmpty()) {
                picker->findChild<QAbstractButton *>(u"cmdCancel"_s)->click();
                return;
            }
            EXPECT_TRUE(picker->navigate(folder));
            picker->findChild<QAbstractButton *>(u"cmdOk"_s)->click();
        });
        QTest::mouseClick(control<ButtonEx>(u"cmdSelectDestDir"_s), Qt::LeftButton);
    };
    auto *dest = control<QComboBox>(u"cboDestDir"_s);
    browse(answer);
    browse(answer);
    EXPECT_EQ(dest->count(), 3);
    EXPECT_EQ(dest->currentText(), answer);
    EXPECT_EQ(context->selectedDestinationDirectory, answer);
    EXPECT_EQ(preview->text(), answer + u"/ - /01 - One.mp3"_s);

    browse(QString());
    EXPECT_EQ(dest->currentText(), answer);
    EXPECT_TRUE(context->selectedDestinationDirectory.isEmpty());
    qputenv("HOME", oldHome);
}

TEST_F(PageRenamePreviewTest, OptionsAreEnabledByTheirSwitches)
{
    auto *effect = control<QCheckBox>(u"chkTextEffect"_s);
    auto *spaces = control<QCheckBox>(u"chkReplaceSpaces"_s);
    EXPECT_FALSE(control<QComboBox>(u"cboTextEffect"_s)->isEnabled());
    effect->setChecked(true);
    EXPECT_TRUE(control<QComboBox>(u"cboTextEffect"_s)->isEnabled());
    spaces->setChecked(true);
    spaces->setChecked(false);
    EXPECT_FALSE(control<QComboBox>(u"cboReplaceSpaces"_s)->isEnabled());

    auto *playlist = control<QCheckBox>(u"chkPlayList"_s);
    playlist->setChecked(true);
    EXPECT_TRUE(control<QComboBox>(u"cboPlaylistDir"_s)->isEnabled());
    playlist->setChecked(false);
    EXPECT_FALSE(control<QComboBox>(u"cboPlaylistDir"_s)->isEnabled());

    // Clearing "Create HTML page" greys its folder out; now that the page is written, ticking it
    // again brings the folder choice back, as for the playlist.
    auto *html = control<QCheckBox>(u"chkHtml"_s);
    html->setChecked(true);
    html->setChecked(false);
    EXPECT_FALSE(control<QComboBox>(u"cboHtmlDir"_s)->isEnabled());
    html->setChecked(true);
    EXPECT_TRUE(control<QComboBox>(u"cboHtmlDir"_s)->isEnabled());
}

TEST_F(PageRenamePreviewTest, CoverOptionNeedsADownloadedCover)
{
    auto *cover = control<QCheckBox>(u"chkCover"_s);
    cover->setChecked(true);
    EXPECT_FALSE(cover->isEnabled());
    EXPECT_FALSE(control<QComboBox>(u"cboCoverDir"_s)->isEnabled());

    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString file = tempFile(u"cover.png"_s);
    ASSERT_TRUE(picture.save(file));
    pageRename->setCoverDownload(file);
    EXPECT_TRUE(cover->isEnabled());
    EXPECT_TRUE(control<QComboBox>(u"cboCoverDir"_s)->isEnabled());
    EXPECT_TRUE(control<QLabel>(u"ImgCover"_s)->isVisible());
    cover->setChecked(false);
    EXPECT_FALSE(control<QComboBox>(u"cboCoverDir"_s)->isEnabled());
}

TEST_F(PageRenamePreviewTest, TagVersionDrivesTotalTracksAndFollowsTheTagMode)
{
    auto *version = control<QComboBox>(u"cboId3TagRename"_s);
    auto *total = control<QCheckBox>(u"chkTotalTracks"_s);
    auto *count = control<QLineEdit>(u"txtTotalTrack"_s);
    total->setChecked(true);
    EXPECT_TRUE(count->isEnabled());
    choose(version, 1); // "ID3v1 Only"
    EXPECT_EQ(pageRename->tagVersions(), TagVersions::V1Only);
    EXPECT_FALSE(total->isEnabled());
    EXPECT_FALSE(count->isEnabled());
    EXPECT_EQ(control<QComboBox>(u"cboID3Mode"_s)->currentIndex(), 1);

    choose(control<QComboBox>(u"cboID3Mode"_s), 2); // "Use ID3v2 Only" on the tag page
    EXPECT_EQ(version->currentIndex(), 2);
    EXPECT_EQ(pageRename->tagVersions(), TagVersions::V2Only);
    EXPECT_TRUE(total->isEnabled());
    EXPECT_TRUE(count->isEnabled());
    total->setChecked(false);
    EXPECT_FALSE(count->isEnabled());
}

TEST_F(PageRenamePreviewTest, LoadMasksListsTheDefaultsOnFirstStart)
{
    pageRename->loadMasks();
    auto *mask = control<QComboBox>(u"cboMask"_s);
    ASSERT_EQ(mask->count(), 12);
    EXPECT_EQ(mask->itemText(0), kMask);
    EXPECT_EQ(mask->itemText(11), u"%artist - %title"_s);
    for (int i = 0; i < mask->count(); ++i)
        EXPECT_EQ(mask->itemData(i).toInt(), 0) << i;
}
