// The window's reports of what the core hands back as values.
#include "ui/widgets/CoreReports.h"

#include "support/TestEnv.h"

using namespace Qt::StringLiterals;

namespace {

class MaskReportTest : public VarneltTest {};

TEST_F(MaskReportTest, InvalidMaskShowsOneCriticalMessage)
{
    QString mask = u"%artist/ %album"_s;
    EXPECT_FALSE(validateMaskAndReport(mask));
    EXPECT_EQ(mask, uR"(%artist\ %album)"_s);
    ASSERT_EQ(answers->count(), 1);
    const Msg::Message &m = answers->messages().first();
    EXPECT_EQ(m.text, uR"(Character \ followed by a blank character is not allowed)"_s);
    EXPECT_EQ(m.title, u"Invalid mask"_s);
    EXPECT_EQ(m.icon, Msg::Icon::Critical);
    EXPECT_EQ(m.buttons, Msg::Buttons::Ok);

    mask = u"%artist/%title"_s;
    EXPECT_TRUE(validateMaskAndReport(mask));
    EXPECT_EQ(mask, uR"(%artist\%title)"_s);
    EXPECT_EQ(answers->count(), 1);
}

} // namespace
