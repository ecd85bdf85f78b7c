// The folder picker: the whole file system, opened on the home folder or the destination,
// its places, "&New folder", "&Select" only for an existing folder, and an empty result for
// Cancel and the close box.
#include "support/TestEnv.h"
#include "ui/main/MainWindowFixture.h"
#include "ui/side/frmSelectDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace Qt::StringLiterals;

class frmSelectDirTest : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        oldHome_ = qgetenv("HOME");
        QDir().mkpath(tempFile(u"home/music/out"_s));
        qputenv("HOME", tempFile(u"home"_s).toUtf8());
    }
    void TearDown() override
    {
        qputenv("HOME", oldHome_);
        VarneltTest::TearDown();
    }

private:
    QByteArray oldHome_;
};

TEST_F(frmSelectDirTest, SelectTakesAnExistingFolderAndCancelOrTheCloseBoxGiveNothing)
{
    const QString out = tempFile(u"home/music/out"_s);
    {
        frmSelectDir picker;
        picker.show();
        picker.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&picker));
        EXPECT_EQ(picker.windowTitle(), u"Select a directory"_s);
        auto *select = picker.findChild<QAbstractButton *>(u"cmdOk"_s);
        // It opens on the home folder, which can be chosen.
        EXPECT_EQ(picker.currentFolder(), tempFile(u"home"_s));
        EXPECT_TRUE(select->isEnabled());
        // Nothing selected: nothing to choose.
        picker.findChild<QTreeView *>(u"fdvDir"_s)->setCurrentIndex({});
        EXPECT_FALSE(select->isEnabled());
        // The whole file system is there, from its root; the places lead to home and the root.
        EXPECT_TRUE(picker.navigate(tempPath()));
        EXPECT_EQ(picker.currentFolder(), tempPath());
        EXPECT_TRUE(picker.navigate(QDir::rootPath()));
        EXPECT_TRUE(select->isEnabled());
        EXPECT_GE(picker.places().size(), 2);
        EXPECT_EQ(picker.places().mid(0, 2), QStringList({tempFile(u"home"_s), QDir::rootPath()}));
        auto *places = picker.findChild<QListWidget *>(u"lstPlaces"_s);
        QTest::mouseClick(places->viewport(), Qt::LeftButton, {}, places->visualItemRect(places->item(0)).center());
        EXPECT_EQ(picker.currentFolder(), tempFile(u"home"_s));
        EXPECT_FALSE(picker.navigate(tempFile(u"home/none"_s)));

        // "&New folder" makes a folder under the selected one and lets the user name it.
        ASSERT_TRUE(picker.navigate(tempFile(u"home/music"_s)));
        picker.findChild<QAbstractButton *>(u"cmdNewFolder"_s)->click();
        EXPECT_TRUE(QFileInfo(tempFile(u"home/music/New folder"_s)).isDir());
        EXPECT_EQ(picker.currentFolder(), tempFile(u"home/music/New folder"_s));
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr) << "the new folder's name is being edited";
        editor->selectAll();
        QTest::keyClicks(editor, u"Live"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(tempFile(u"home/music/Live"_s)).isDir(); }, 3000));
        EXPECT_FALSE(QFileInfo::exists(tempFile(u"home/music/New folder"_s)));
        ASSERT_TRUE(picker.navigate(tempFile(u"home/music"_s)));
        picker.findChild<QAbstractButton *>(u"cmdNewFolder"_s)->click();
        EXPECT_EQ(picker.currentFolder(), tempFile(u"home/music/New folder"_s));
        picker.findChild<QAbstractButton *>(u"cmdNewFolder"_s)->click();
        EXPECT_EQ(picker.currentFolder(), tempFile(u"home/music/New folder/New folder"_s));

        ASSERT_TRUE(picker.navigate(out));
        EXPECT_TRUE(select->isEnabled());
        // A folder that vanished after it was selected is not taken.
        QDir().rmdir(out);
        select->click();
        EXPECT_TRUE(picker.isVisible());
        EXPECT_TRUE(picker.selectedDirectory().isEmpty());
        QDir().mkpath(out);
        select->click();
        EXPECT_FALSE(picker.isVisible());
        EXPECT_EQ(picker.result(), QDialog::Accepted);
        EXPECT_EQ(picker.selectedDirectory(), out);
    }
    {
        frmSelectDir picker;
        picker.show();
        ASSERT_TRUE(picker.navigate(out));
        picker.findChild<QAbstractButton *>(u"cmdCancel"_s)->click();
        EXPECT_FALSE(picker.isVisible());
        EXPECT_TRUE(picker.selectedDirectory().isEmpty());
    }
    {
        frmSelectDir picker;
        picker.show();
        ASSERT_TRUE(picker.navigate(out));
        EXPECT_TRUE(picker.close());
        EXPECT_EQ(picker.result(), QDialog::Rejected);
        EXPECT_TRUE(picker.selectedDirectory().isEmpty());
    }
}

TEST_F(frmSelectDirTest, ChooseOpensOnTheCurrentDestination)
{
    const QString out = tempFile(u"elsewhere/dest"_s);
    QDir().mkpath(out);
    QString shown;
    QTimer::singleShot(0, [&] {
        auto *picker = qobject_cast<frmSelectDir *>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        shown = picker->currentFolder();
        // The tree is filled in the background; the destination stays in view meanwhile.
        QTest::qWait(500);
        auto *tree = picker->findChild<QTreeView *>();
        const QRect row = tree->visualRect(tree->currentIndex());
        EXPECT_TRUE(row.top() >= 0 && row.bottom() < tree->viewport()->height()) << row.top() << " of " << tree->viewport()->height();
        EXPECT_TRUE(saveGrab(picker, tempPath(), u"frmSelectDir"_s));
        picker->findChild<QAbstractButton *>(u"cmdOk"_s)->click();
    });
    EXPECT_EQ(frmSelectDir::choose(nullptr, out), out);
    EXPECT_EQ(shown, out);
}
