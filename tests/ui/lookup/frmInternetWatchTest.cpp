// The lookup window while the user works in it: an edited folder box is what the searches use.
#include "LookupFixture.h"

#include "ui/lookup/frmInternet.h"

#include <QLineEdit>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

TEST_F(LookupWindowTest, TheEditedFolderBoxIsWhatTheSearchesUse)
{
    WorkingList files;
    files.fileNames = {u"x-alpha.mp3"_s};
    files.selected = {true};
    frmInternet internet(album_, files);
    internet.show();
    auto *folder = internet.findChild<QLineEdit *>(u"txtDirectory"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !internet.view()->title().isEmpty(); }, 10000));
    EXPECT_EQ(internet.searchInput().directory, folder->text());
    folder->setText(u"/music/Other Artist - Other Album/"_s);
    EXPECT_EQ(internet.searchInput().directory, u"/music/Other Artist - Other Album/"_s);
}
