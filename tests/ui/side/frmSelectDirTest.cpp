// The folder picker: a tree from the home folder, "&Select" only for an existing folder, and
// an empty result for Cancel and the close box.
#include "support/TestEnv.h"
#include "ui/side/frmSelectDir.h"

#include <QDir>
#include <QAbstractButton>
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
        EXPECT_EQ(picker.windowTitle(), u"Select a directory"_s);
        auto *select = picker.findChild<QAbstractButton *>(u"cmdOk"_s);
        // It opens on the home folder, which can be chosen.
        EXPECT_EQ(picker.currentFolder(), tempFile(u"home"_s));
        EXPECT_TRUE(select->isEnabled());
        // Nothing selected: nothing to choose.
        picker.findChild<QTreeView *>(u"fdvDir"_s)->setCurrentIndex({});
        EXPECT_FALSE(select->isEnabled());
        // Folders outside the tree are not reached.
        EXPECT_FALSE(picker.navigate(tempPath()));
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
