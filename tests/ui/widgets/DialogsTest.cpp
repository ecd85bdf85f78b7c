// The file and folder dialog helper: the filter conversion and the replaceable chooser.
#include "ui/widgets/Dialogs.h"

#include <QList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Dialogs, PipeFiltersBecomeQtFilters)
{
    EXPECT_EQ(Dialogs::qtFilter(u"JPEG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|Bitmap Files (*.bmp)|*.bmp|"_s),
        u"JPEG Files (*.jpg);;GIF Files (*.gif);;Bitmap Files (*.bmp)"_s);
    // A description without its patterns gets them, several patterns included.
    EXPECT_EQ(Dialogs::qtFilter(u"Pictures|*.jpg;*.png|All|*.*"_s), u"Pictures (*.jpg *.png);;All (*.*)"_s);
    EXPECT_EQ(Dialogs::qtFilter(u"Images (*.png *.jpg)"_s), u"Images (*.png *.jpg)"_s);
    EXPECT_EQ(Dialogs::qtFilter(QString()), QString());
}

TEST(Dialogs, ARequestGoesToTheInstalledChooser)
{
    QList<Dialogs::Request> asked;
    Dialogs::Chooser previous = Dialogs::setChooser([&](QWidget *, const Dialogs::Request &request) {
        asked << request;
        return request.kind == Dialogs::Request::Kind::ExistingDirectory ? u"/music"_s : QString();
    });
    EXPECT_EQ(Dialogs::existingDirectory(nullptr, u"Select a folder"_s, u"/home"_s), u"/music"_s);
    EXPECT_TRUE(Dialogs::openFileName(nullptr, u"Select a picture for your mp3 file"_s, {},
        u"JPEG Files (*.jpg)|*.jpg|"_s).isEmpty());
    Dialogs::setChooser(std::move(previous));

    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0].caption, u"Select a folder"_s);
    EXPECT_EQ(asked[0].start, u"/home"_s);
    EXPECT_EQ(asked[1].kind, Dialogs::Request::Kind::OpenFile);
    EXPECT_EQ(asked[1].filter, u"JPEG Files (*.jpg)"_s);
}
