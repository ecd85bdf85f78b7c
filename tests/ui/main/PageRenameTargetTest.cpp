// The rename page's target choices: the "Target" drop-down sets the page's options at once
// (the tag page's drop-downs follow), the user may change any after, and the job embeds the
// downloaded cover within the target's limits in the revision chosen.
#include "PagesFixture.h"

#include "audio/ID3Edit.h"
#include "jobs/CoverEmbedding.h"
#include "ui/main/PageRename.h"
#include "ui/main/PageTag.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class PageRenameTargetTest : public PagesTest
{
protected:
    // Picks an entry the way the user does: the drop-down's "activated".
    void choose(const QString &name, const QString &text)
    {
        auto *combo = control<QComboBox>(name);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    QString text(const QString &name) const { return control<QComboBox>(name)->currentText(); }
    bool ticked(const QString &name) const { return control<QCheckBox>(name)->isChecked(); }
};

} // namespace

TEST_F(PageRenameTargetTest, ATargetSetsTheOptionsAtOnceAndTheUserMayChangeThemAfter)
{
    const QString folder = makeThreeSongAlbum();
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString cover = tempFile(u"download.png"_s);
    ASSERT_TRUE(picture.save(cover, "PNG"));
    pageRename->setCoverDownload(cover);
    control<QCheckBox>(u"chkReplaceSpaces"_s)->setChecked(true);
    showPage(WizardPage::Rename);

    choose(u"cboTarget"_s, u"Car stereo"_s);
    EXPECT_EQ(text(u"cboId3TagRename"_s), u"ID3v1 + ID3v2"_s);
    EXPECT_EQ(text(u"cboId3v2Rename"_s), u"ID3v2.3"_s);
    EXPECT_TRUE(ticked(u"chkEmbedCover"_s));
    EXPECT_TRUE(ticked(u"chkJoliet"_s));
    EXPECT_FALSE(ticked(u"chkReplaceSpaces"_s)) << "the car keeps spaces";

    choose(u"cboTarget"_s, u"Modern player"_s);
    EXPECT_EQ(text(u"cboId3TagRename"_s), u"ID3v2 Only"_s);
    EXPECT_EQ(text(u"cboId3v2Rename"_s), u"ID3v2.4"_s);
    EXPECT_TRUE(ticked(u"chkJoliet"_s)) << "modern names no Joliet choice: it stays";
    // The tag page follows the page's version choices.
    EXPECT_EQ(text(u"cboID3Mode"_s), u"Use ID3v2 Only"_s);
    EXPECT_EQ(text(u"cboID3v2Version"_s), u"Write ID3v2.4"_s);

    // The user's own choice after the profile counts, in both directions.
    choose(u"cboId3v2Rename"_s, u"ID3v2.3"_s);
    EXPECT_EQ(text(u"cboID3v2Version"_s), u"Write ID3v2.3"_s);
    choose(u"cboID3v2Version"_s, u"Write ID3v2.4"_s);
    EXPECT_EQ(text(u"cboId3v2Rename"_s), u"ID3v2.4"_s);

    // Without a downloaded cover there is nothing to embed.
    pageRename->holdCoverOptions();
    EXPECT_FALSE(control<QCheckBox>(u"chkEmbedCover"_s)->isEnabled());
    pageRename->setCoverDownload(cover);
    EXPECT_TRUE(control<QCheckBox>(u"chkEmbedCover"_s)->isEnabled());

    // The run: 2.4 only, the cover embedded at most 1200 px (800 x 600 fits: as it came).
    control<QComboBox>(u"cboMask"_s)->addItem(u"%track - %title"_s);
    control<QComboBox>(u"cboMask"_s)->setCurrentText(u"%track - %title"_s);
    control<QComboBox>(u"cboDestDir"_s)->setEditText(u"MP3 directory"_s);
    pageRename->setRenameList({{u"One"_s, u"a.mp3"_s, u"01"_s}, {u"Two"_s, u"b.mp3"_s, u"02"_s},
                               {u"Three"_s, u"c.mp3"_s, u"03"_s}});
    pageRename->setAlbumFields({u"Foo"_s, u"Bar"_s, u"2001"_s, u"Rock"_s, QString()}, false);
    control<QCheckBox>(u"chkPlayList"_s)->setChecked(false);

    // The picture for the notes: the page with its Target drop-down, when a folder is named.
    const QPixmap shot = pageRename->grab();
    ASSERT_FALSE(shot.isNull());
    if (const QString dir = qEnvironmentVariable("VARNELT_SCREENSHOT_DIR"); !dir.isEmpty()) {
        shot.save(QDir(dir).filePath(u"rename-page-target.png"_s));
        showPage(WizardPage::Tag);
        pageTag->grab().save(QDir(dir).filePath(u"tag-page-revision.png"_s));
        showPage(WizardPage::Rename);
    }

    answers->answerNext(Msg::Answer::Yes);
    pageRename->renameAndTag();
    const QString path = folder + u"/02 - Two.mp3"_s;
    ASSERT_TRUE(QFileInfo::exists(path)) << QDir(folder).entryList().join(u' ').toStdString();
    ID3Edit tag;
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    EXPECT_EQ(tag.LoadedV2Revision(), 4);
    EXPECT_EQ(tag.Title(), u"Two"_s);
    QFile file(cover);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(tag.Picture().data, file.readAll());
}
