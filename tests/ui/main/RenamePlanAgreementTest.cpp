// The rename page's preview, "varnelt-cli rename --dry-run" and the rename job read one plan:
// for every row they name the same new path, with Joliet names asked for and without.
#include "PagesFixture.h"

#include "ui/main/PageRename.h"
#include "ui/main/RenameListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QString kMask = u"%artist - %album\\%track - %title"_s;
// The first title makes a file name beyond the Joliet limit of 64 characters.
const QStringList kTitles{u"A title long enough that the Joliet limit of sixty-four characters cuts it"_s,
                          u"Two: the sequel"_s, u"Three"_s};

} // namespace

class RenamePlanAgreementTest : public PagesTest
{
protected:
    QStringList dryRun(const QString &folder, bool joliet) const
    {
        const QString titles = tempFile(u"titles.txt"_s);
        QFile file(titles);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(kTitles.join(u'\n').toUtf8());
        file.close();
        QStringList args{u"rename"_s, folder, u"--dry-run"_s, u"--mask"_s, kMask, u"--dest"_s, u"MP3 directory"_s,
                         u"--titles"_s, titles, u"--artist"_s, u"Foo"_s, u"--album"_s, u"Bar"_s};
        if (joliet)
            args << u"--joliet"_s;
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, tempFile(u"home"_s));
        env.insert(u"XDG_CONFIG_HOME"_s, tempFile(u"config"_s));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(VARNELT_CLI_PATH), args);
        EXPECT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split(u'\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
};

TEST_F(RenamePlanAgreementTest, PreviewDryRunAndJobGiveTheSamePathForEveryRow)
{
    control<QComboBox>(u"cboMask"_s)->addItem(kMask);
    control<QComboBox>(u"cboDestDir"_s)->setEditText(u"MP3 directory"_s);
    control<QCheckBox>(u"chkPlayList"_s)->setChecked(false);
    answers->answerNext(Msg::Answer::Yes); // the one-time question before the first run

    for (const bool joliet : {false, true}) {
        SCOPED_TRACE(joliet ? "Joliet names" : "long names");
        QList<Mp3Writer::Song> songs;
        for (int i = 0; i < kTitles.size(); ++i)
            songs.append(Mp3Writer::Song {.title = kTitles.at(i), .artist = u"Foo"_s, .album = u"Bar"_s, .track = i + 1,
                                          .seconds = 1.0 + 0.5 * i});
        const QStringList files{u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s};
        const QString folder = makeAlbum(joliet ? u"joliet"_s : u"long"_s, songs, files);
        RenameList rows;
        for (int i = 0; i < kTitles.size(); ++i)
            rows.append({kTitles.at(i), files.at(i), u"0%1"_s.arg(i + 1)});
        pageRename->setRenameList(rows);
        pageRename->setAlbumFields({u"Foo"_s, u"Bar"_s, {}, {}, {}}, false);
        control<QCheckBox>(u"chkJoliet"_s)->setChecked(joliet);
        showPage(WizardPage::Rename);

        QStringList previews;
        auto *list = control<RenameListView>(u"lstResult"_s);
        for (int i = 0; i < rows.size(); ++i) {
            list->setCurrentItem(list->topLevelItem(i));
            previews << control<QLineEdit>(u"txtNewFileName"_s)->text();
        }
        const QString longName = folder + u"/Foo - Bar/01 - "_s + kTitles.first() + u".mp3"_s;
        EXPECT_EQ(previews.first() == longName, !joliet) << previews.first().toStdString();
        EXPECT_EQ(dryRun(folder, joliet), previews);

        pageRename->renameAndTag();
        auto *log = control<QTreeWidget>(u"trvLog"_s);
        ASSERT_EQ(log->topLevelItemCount(), rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(log->topLevelItem(i)->child(0)->child(1)->text(0), u"New file name : "_s + previews.at(i));
            EXPECT_TRUE(QFileInfo::exists(previews.at(i))) << previews.at(i).toStdString();
        }
    }
    EXPECT_EQ(answers->count(), 1);
}
