// The tag editor of the tag page on real MP3 files: showing a file, saving it in each tag mode,
// the batch commands with their questions and No answers, and the picture; the files are read
// back after each command.
#include "PagesFixture.h"

#include "audio/ID3Edit.h"
#include "ui/main/PageTag.h"
#include "ui/widgets/ButtonEx.h"
#include "ui/widgets/Dialogs.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

enum ModeIndex { BothIndex = 0, V1OnlyIndex = 1, V2OnlyIndex = 2 };

Mp3Writer::Song song(const QString &title, int track, bool withV1)
{
    Mp3Writer::Song s;
    s.title = title;
    s.artist = u"Foo"_s;
    s.album = u"Bar"_s;
    s.year = u"2001"_s;
    s.genre = u"Rock"_s;
    s.comment = u"Nice"_s;
    s.track = track;
    s.seconds = 1.0 + track * 0.25;
    s.withV1 = withV1;
    return s;
}

// Both tags of a file as they are on disk now.
struct OnDisk {
    explicit OnDisk(const QString &path) { tag.Load(path); }
    ID3Edit tag;
};

QByteArray lastBytes(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    file.seek(file.size() - count);
    return file.read(count);
}

} // namespace

class PageTagEditorTest : public PagesTest
{
protected:
    QTreeWidget *tagList() const { return control<QTreeWidget>(u"lstFilesTag"_s); }
    QLineEdit *edit(const QString &name) const { return control<QLineEdit>(name); }
    void press(const QString &button) const { control<ButtonEx>(button)->click(); }
    void setMode(ModeIndex index) const { control<QComboBox>(u"cboID3Mode"_s)->setCurrentIndex(index); }

    // Writes the songs as 1.mp3, 2.mp3, ... and lists them on the tag page.
    QString listSongs(const QList<Mp3Writer::Song> &songs)
    {
        QStringList names;
        for (int i = 0; i < songs.size(); ++i)
            names << QString::number(i + 1) + u".mp3"_s;
        folder_ = makeAlbum(u"album"_s, songs, names);
        showPage(WizardPage::Tag);
        pageTag->fillTagList(names);
        return folder_;
    }
    QString path(int row) const { return folder_ + u'/' + tagList()->topLevelItem(row)->text(0); }

    void clickRow(int row) const
    {
        QTreeWidgetItem *item = tagList()->topLevelItem(row);
        QTest::mouseClick(tagList()->viewport(), Qt::LeftButton, {}, tagList()->visualItemRect(item).center());
    }

    // The last question asked: its text, title, icon, buttons and default button.
    void expectQuestion(const QString &text, const QString &title, std::optional<Msg::Answer> defaultButton = {}) const
    {
        ASSERT_GT(answers->count(), 0);
        const Msg::Message &m = answers->messages().last();
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.title, title);
        EXPECT_EQ(m.icon, Msg::Icon::Question);
        EXPECT_EQ(m.buttons, Msg::Buttons::YesNo);
        EXPECT_EQ(m.defaultButton, defaultButton);
    }

    QString folder_;
};

TEST_F(PageTagEditorTest, ShowsTheClickedFileAndSavesItByMode)
{
    listSongs({song(u"One"_s, 1, true), song(u"Two"_s, 2, false)});
    clickRow(0);
    EXPECT_EQ(edit(u"txtTitle"_s)->text(), u"One"_s);
    EXPECT_EQ(edit(u"txtTitle2"_s)->text(), u"One"_s);
    EXPECT_EQ(edit(u"txtTrack"_s)->text(), u"1"_s);
    // The trailer names no genre (255): the empty entry.
    EXPECT_EQ(control<QComboBox>(u"cboGenre"_s)->currentIndex(), 0);
    EXPECT_EQ(control<QComboBox>(u"cboGenre2"_s)->currentText(), u"Rock"_s);
    EXPECT_EQ(edit(u"txtFileName"_s)->text(), u"1.mp3"_s);
    const QStringList info = control<QPlainTextEdit>(u"txtMp3Info"_s)->toPlainText().split(u'\n');
    ASSERT_EQ(info.size(), 14);
    EXPECT_TRUE(info.first().startsWith(u"Size: "_s));
    EXPECT_EQ(info.at(2), u"Encoding type: CBR (Constant bitrate)"_s);
    EXPECT_EQ(info.last(), u"ID3 Tag version : ID3v1 + ID3v2"_s);
    EXPECT_FALSE(control<QLabel>(u"imgFile"_s)->pixmap().isNull());

    // ID3v2 only: the version-2 album changes, the version-1 trailer stays byte for byte.
    const QByteArray trailer = lastBytes(path(0), 128);
    setMode(V2OnlyIndex);
    edit(u"txtAlbum2"_s)->setText(u"New"_s);
    edit(u"txtAlbum"_s)->setText(u"Not written"_s);
    press(u"cmdWrite"_s);
    EXPECT_EQ(answers->count(), 0);
    EXPECT_EQ(OnDisk(path(0)).tag.Album(), u"New"_s);
    EXPECT_EQ(lastBytes(path(0), 128), trailer);
    EXPECT_EQ(tagList()->topLevelItem(0)->text(PageTag::AlbumColumn), u"New"_s);
    // Leaving the tags for the file facts shows the file afresh: an unsaved edit is gone.
    edit(u"txtAlbum2"_s)->setText(u"Unsaved"_s);
    control<QTabWidget>(u"tabTagEditor"_s)->setCurrentIndex(1);
    EXPECT_EQ(edit(u"txtAlbum2"_s)->text(), u"New"_s);
    control<QTabWidget>(u"tabTagEditor"_s)->setCurrentIndex(0);

    // ID3v1 only with every version-1 field empty: the version-1 tag goes.
    setMode(V1OnlyIndex);
    for (const QString &name : {u"txtTitle"_s, u"txtArtist"_s, u"txtAlbum"_s, u"txtYear"_s, u"txtComment"_s, u"txtTrack"_s})
        edit(name)->clear();
    press(u"cmdDelGenre"_s);
    EXPECT_EQ(control<QComboBox>(u"cboGenre"_s)->currentIndex(), 0);
    press(u"cmdWrite"_s);
    EXPECT_FALSE(OnDisk(path(0)).tag.HasV1());
    EXPECT_TRUE(OnDisk(path(0)).tag.HasV2());
    EXPECT_EQ(tagList()->topLevelItem(0)->data(0, Qt::UserRole + 1).toString(), u"FileIconTagV2"_s);

    // Both: the version-1 rules (a year that is no number, a track out of range) and "No genre".
    setMode(BothIndex);
    edit(u"txtTitle"_s)->setText(u"Uno"_s);
    edit(u"txtYear"_s)->setText(u"19x"_s);
    edit(u"txtTrack"_s)->setText(u"300"_s);
    auto *genre = control<QComboBox>(u"cboGenre"_s);
    genre->setCurrentIndex(genre->findText(u"Rock"_s));
    press(u"cmdDelGenre2"_s);
    EXPECT_TRUE(control<QComboBox>(u"cboGenre2"_s)->currentText().isEmpty());
    press(u"cmdWrite"_s);
    const OnDisk both(path(0));
    EXPECT_EQ(both.tag.V1Title(), u"Uno"_s);
    EXPECT_TRUE(both.tag.V1Year().isEmpty());
    EXPECT_EQ(both.tag.V1Track(), 0);
    EXPECT_EQ(both.tag.V1Genre(), 17);
    EXPECT_TRUE(both.tag.Genre().isEmpty());
    // The boxes then show what the file holds, not the typing that was not stored.
    EXPECT_TRUE(edit(u"txtYear"_s)->text().isEmpty());
    EXPECT_TRUE(edit(u"txtTrack"_s)->text().isEmpty());
    EXPECT_EQ(edit(u"txtTitle"_s)->text(), u"Uno"_s);
    EXPECT_EQ(tagList()->window()->focusWidget(), tagList());

    // The down key shows the next file; a file gone from the folder is said so.
    tagList()->setFocus();
    QTest::keyClick(tagList(), Qt::Key_Down);
    EXPECT_EQ(edit(u"txtFileName"_s)->text(), u"2.mp3"_s);
    QFile::remove(path(0));
    clickRow(0);
    EXPECT_EQ(answers->lastText(), u"Can't read ID3 tag informations. File not found."_s);
    press(u"cmdWrite"_s);
    EXPECT_EQ(answers->lastText(), u"Can't save ID3 Tag informations. File not found."_s);
}

TEST_F(PageTagEditorTest, FillChangesOnlyTheTickedFieldsAndGoesOnPastAMissingFile)
{
    listSongs({song(u"One"_s, 1, true), song(u"Two"_s, 2, true), song(u"Three"_s, 3, true)});
    clickRow(0);
    edit(u"txtAlbum2"_s)->setText(u"Filled"_s);
    edit(u"txtArtist2"_s)->setText(u"Not ticked"_s);
    control<QCheckBox>(u"chkFillAlbum2"_s)->setChecked(true);

    answers->answerNext(Msg::Answer::No);
    press(u"cmdCopyTag"_s);
    expectQuestion(u"Fill all selected tags of all files ?\n\nID3 Mode : ID3v1 + ID3v2"_s, u"Fill confirmation"_s);
    EXPECT_EQ(OnDisk(path(1)).tag.Album(), u"Bar"_s);

    QFile::remove(path(1));
    answers->clear();
    answers->answerNext(Msg::Answer::Yes);
    press(u"cmdCopyTag"_s);
    ASSERT_EQ(answers->count(), 2);
    EXPECT_EQ(answers->lastText(), u"Can't save ID3 Tag informations. File not found."_s);
    for (int row : {0, 2}) {
        const OnDisk file(path(row));
        EXPECT_EQ(file.tag.Album(), u"Filled"_s);
        EXPECT_EQ(file.tag.Artist(), u"Foo"_s);
        EXPECT_EQ(file.tag.V1Album(), u"Bar"_s);
        EXPECT_EQ(file.tag.Title(), row == 0 ? u"One"_s : u"Three"_s);
    }
    // The last file is left shown, the progress line gone.
    EXPECT_EQ(edit(u"txtFileName"_s)->text(), u"3.mp3"_s);
    EXPECT_EQ(edit(u"txtAlbum2"_s)->text(), u"Filled"_s);
    EXPECT_FALSE(control<QProgressBar>(u"prgBatch"_s)->isVisible());
}

TEST_F(PageTagEditorTest, TrackNumberingOfSelectedFilesWithAndWithoutTheTotal)
{
    listSongs({song(u"A"_s, 9, true), song(u"B"_s, 9, true), song(u"C"_s, 9, true), song(u"D"_s, 9, true),
               song(u"E"_s, 9, true), song(u"F"_s, 9, true)});
    for (int row = 1; row < 6; ++row)
        tagList()->topLevelItem(row)->setSelected(true);
    ASSERT_TRUE(control<QCheckBox>(u"chkOnlySelectedFilesTag"_s)->isChecked());

    answers->answerNext(Msg::Answer::No);
    press(u"cmdAutoTrack"_s);
    expectQuestion(u"Auto fill track of selected files ?\n\nID3 Mode : ID3v1 + ID3v2"_s,
                   u"Track auto fill confirmation"_s);
    EXPECT_EQ(answers->count(), 1);
    EXPECT_EQ(OnDisk(path(1)).tag.Track(), u"9"_s);

    answers->answerNext(Msg::Answer::Yes);
    answers->answerNext(Msg::Answer::Yes);
    press(u"cmdAutoTrack2"_s);
    expectQuestion(u"Add total track to ID3v2 tag"_s, u"Track auto fill"_s);
    for (int k = 1; k <= 5; ++k) {
        const OnDisk file(path(k));
        EXPECT_EQ(file.tag.Track(), QString::number(k) + u"/5"_s);
        EXPECT_EQ(file.tag.V1Track(), k);
    }
    EXPECT_EQ(OnDisk(path(0)).tag.Track(), u"9"_s);
    EXPECT_EQ(tagList()->topLevelItem(5)->text(PageTag::TrackColumn), u"05"_s);

    // Without the total, in ID3v2 only: plain numbers, the version-1 tracks left alone.
    setMode(V2OnlyIndex);
    answers->answerNext(Msg::Answer::Yes);
    answers->answerNext(Msg::Answer::No);
    tagList()->topLevelItem(1)->setSelected(false);
    press(u"cmdAutoTrack"_s);
    EXPECT_EQ(OnDisk(path(2)).tag.Track(), u"1"_s);
    EXPECT_EQ(OnDisk(path(2)).tag.V1Track(), 2);

    // Only selected files with none selected: nothing to number.
    tagList()->clearSelection();
    control<QCheckBox>(u"chkOnlySelectedFilesTag"_s)->setChecked(true);
    answers->clear();
    press(u"cmdAutoTrack"_s);
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().first().title, u"No file selected"_s);
}

TEST_F(PageTagEditorTest, CopiesBetweenTheVersionsAndRemovals)
{
    Mp3Writer::Song v1Only = song(u"Old"_s, 4, true);
    v1Only.withV2 = false;
    listSongs({v1Only, song(u"Two"_s, 2, false), song(u"Three"_s, 3, false)});
    clickRow(0);
    // The copy takes the boxes as they stand in the editor.
    auto *genre = control<QComboBox>(u"cboGenre"_s);
    genre->setCurrentIndex(genre->findText(u"Blues"_s));

    answers->answerNext(Msg::Answer::No);
    press(u"cmdCopyId3To"_s);
    expectQuestion(u"Copy id3v1 to id3v2 of file : 1.mp3 ?"_s, u"ID3 copy confirmation"_s);
    EXPECT_FALSE(OnDisk(path(0)).tag.HasV2());
    answers->answerNext(Msg::Answer::Yes);
    press(u"cmdCopyId3To"_s);
    EXPECT_EQ(OnDisk(path(0)).tag.Title(), u"Old"_s);
    EXPECT_EQ(OnDisk(path(0)).tag.Genre(), u"Blues"_s);
    EXPECT_EQ(edit(u"txtTrack2"_s)->text(), u"4"_s);

    // Every file's version 2 into version 1; No is the default button.
    answers->answerNext(Msg::Answer::No);
    press(u"cmdCopyAllId3From"_s);
    expectQuestion(u"Copy all files id3v2 to id3v1 ?"_s, u"ID3 copy confirmation"_s, Msg::Answer::No);
    EXPECT_FALSE(OnDisk(path(1)).tag.HasV1());
    answers->answerNext(Msg::Answer::Yes);
    press(u"cmdCopyAllId3From"_s);
    EXPECT_EQ(OnDisk(path(1)).tag.V1Title(), u"Two"_s);
    EXPECT_EQ(OnDisk(path(2)).tag.V1Track(), 3);

    // One file's tags removed, then the version-1 tags of all files.
    clickRow(0);
    answers->answerNext(Msg::Answer::No);
    press(u"cmdDelete"_s);
    expectQuestion(u"Delete ID3 Tag of file : 1.mp3 ?\n\nID3 Mode : ID3v1 + ID3v2"_s, u"ID3 tag delete confirmation"_s);
    EXPECT_TRUE(OnDisk(path(0)).tag.HasV2());
    answers->answerNext(Msg::Answer::Yes);
    press(u"cmdDelete"_s);
    EXPECT_FALSE(OnDisk(path(0)).tag.HasV1());
    EXPECT_FALSE(OnDisk(path(0)).tag.HasV2());
    EXPECT_EQ(tagList()->topLevelItem(0)->data(0, Qt::UserRole + 1).toString(), u"FileIcon"_s);
    EXPECT_EQ(control<QPlainTextEdit>(u"txtMp3Info"_s)->toPlainText().section(u'\n', -1),
              u"ID3 Tag version : ID3 not found"_s);

    setMode(V1OnlyIndex);
    answers->answerNext(Msg::Answer::No);
    press(u"cmdRemoveAllTag"_s);
    expectQuestion(u"Delete ID3 tag of all files ?\n\nID3 Mode : ID3v1"_s, u"ID3 tag delete confirmation"_s,
                   Msg::Answer::No);
    EXPECT_TRUE(OnDisk(path(2)).tag.HasV1());
    answers->answerNext(Msg::Answer::Yes);
    press(u"cmdRemoveAllTag"_s);
    for (int row : {1, 2}) {
        EXPECT_FALSE(OnDisk(path(row)).tag.HasV1());
        EXPECT_TRUE(OnDisk(path(row)).tag.HasV2());
    }
}

TEST_F(PageTagEditorTest, ThePictureIsChosenShownSavedAndCleared)
{
    listSongs({song(u"One"_s, 1, false)});
    clickRow(0);
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString png = tempFile(u"cover.png"_s);
    ASSERT_TRUE(image.save(png));
    const QString notPicture = writeFile(u"fake.jpg"_s, "no picture here");

    QList<Dialogs::Request> requests;
    QString chosen = png;
    const Dialogs::Chooser previous = Dialogs::setChooser([&](QWidget *, const Dialogs::Request &r) {
        requests << r;
        return chosen;
    });
    press(u"cmdChangeCover"_s);
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first().caption, u"Select a picture for your mp3 file"_s);
    EXPECT_EQ(requests.first().filter, u"JPEG Files (*.jpg);;GIF Files (*.gif);;Bitmap Files (*.bmp)"_s);
    EXPECT_FALSE(control<QLabel>(u"imgCoverArt"_s)->pixmap().isNull());
    // Chosen but not saved: the file has no picture yet.
    EXPECT_TRUE(OnDisk(path(0)).tag.Picture().isNull());
    press(u"cmdWrite"_s);
    EXPECT_EQ(OnDisk(path(0)).tag.Picture().data, readAll(png));

    // A click on the picture shows it in the picture window, modally.
    QString caption;
    QTimer::singleShot(0, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            caption = modal->windowTitle();
            modal->close();
        }
    });
    QTest::mouseClick(control<QLabel>(u"imgCoverArt"_s), Qt::LeftButton);
    EXPECT_EQ(caption, u"ID3v2 Picture"_s);

    // A file that is no picture, or a damaged one that only starts like a JPEG, is refused and
    // the shown picture stays.
    for (const QString &refused : {notPicture, writeFile(u"damaged.jpg"_s, "\xFF\xD8\xFF\xE0 not a JPEG")}) {
        const int before = answers->count();
        chosen = refused;
        press(u"cmdChangeCover"_s);
        ASSERT_EQ(answers->count(), before + 1) << refused.toStdString();
        EXPECT_EQ(answers->messages().last().icon, Msg::Icon::Critical);
        EXPECT_FALSE(control<QLabel>(u"imgCoverArt"_s)->pixmap().isNull());
    }
    press(u"cmdWrite"_s);
    EXPECT_EQ(OnDisk(path(0)).tag.Picture().data, readAll(png)) << "the refused files never reach the tag";
    Dialogs::setChooser(previous);

    press(u"cmdClearPicture"_s);
    EXPECT_TRUE(control<QLabel>(u"imgCoverArt"_s)->pixmap().isNull());
    press(u"cmdWrite"_s);
    EXPECT_TRUE(OnDisk(path(0)).tag.Picture().isNull());
}
