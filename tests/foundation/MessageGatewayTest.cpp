#include "foundation/MessageGateway.h"
#include "foundation/Settings.h"
#include "support/RawSettings.h"
#include "support/TestEnv.h"

#include <QFile>

#include <gtest/gtest-spi.h>

using Msg::Answer;

class GatewayTest : public VarneltTest {};

TEST_F(GatewayTest, RecordsEveryMessageAndAnswersFromTheScript)
{
    answers->answerNext(Answer::No);
    EXPECT_EQ(Msg::ask(QStringLiteral("Quit?"), QStringLiteral("Varnelt"), Msg::Icon::Question, Msg::Buttons::YesNo),
              Answer::No);
    // Script used up: the box's first button.
    EXPECT_EQ(Msg::ask(QStringLiteral("Again?"), QStringLiteral("Varnelt"), Msg::Icon::Question, Msg::Buttons::YesNo),
              Answer::Yes);
    Msg::showError(QStringLiteral("Disk full"));
    ASSERT_EQ(answers->count(), 3);
    EXPECT_EQ(answers->messages()[0].text, QStringLiteral("Quit?"));
    EXPECT_EQ(answers->messages()[2].title, QStringLiteral("Error"));
    EXPECT_EQ(answers->messages()[2].icon, Msg::Icon::Critical);
}

TEST_F(GatewayTest, SettingsGoToTheRedirectedStoreAsText)
{
    {
        Settings s;
        EXPECT_EQ(s.value(SettingsKeys::LastMask, QStringLiteral("none")), QStringLiteral("none"));
        s.setValue(SettingsKeys::LastMask, QStringLiteral("%artist\\%title"));
        s.sync();
    }
    Settings again;
    EXPECT_EQ(again.value(SettingsKeys::LastMask), QStringLiteral("%artist\\%title"));
    EXPECT_EQ(RawSettings().value(QStringLiteral("Last Mask")), QStringLiteral("%artist\\%title")) << "stored by its name";
    EXPECT_TRUE(QFile::exists(tempFile(QStringLiteral("settings/Varnelt.conf"))));
}

TEST_F(GatewayTest, AnUnscriptedBoxAnswersItsDefaultButton)
{
    EXPECT_EQ(Msg::ask(QStringLiteral("Replace?"), QStringLiteral("Varnelt"), Msg::Icon::Question, Msg::Buttons::YesNo,
                       Answer::No),
              Answer::No);
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages()[0].defaultButton, Answer::No);
}

TEST(RecordingAnswererTest, ABoxNobodyExpectedFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            RecordingAnswerer recorder;
            Msg::ask(QStringLiteral("Disk full"), QStringLiteral("Error"), Msg::Icon::Critical);
        },
        "unexpected message box \"Error\": Disk full");
    // Only the box that came after the last look fails.
    EXPECT_NONFATAL_FAILURE(
        {
            RecordingAnswerer recorder;
            Msg::ask(QStringLiteral("Seen"), QStringLiteral("Varnelt"));
            EXPECT_EQ(recorder.count(), 1);
            Msg::ask(QStringLiteral("Late"), QStringLiteral("Varnelt"));
        },
        "\"Varnelt\": Late");
    {
        RecordingAnswerer scripted;
        scripted.answerNext(Answer::No);
        EXPECT_EQ(Msg::ask(QStringLiteral("Go?"), QStringLiteral("Varnelt"), Msg::Icon::Question, Msg::Buttons::YesNo),
                  Answer::No);
    }
    {
        RecordingAnswerer defaulted;
        defaulted.setDefaultAnswer(Answer::Yes);
        Msg::showError(QStringLiteral("one"));
        Msg::showError(QStringLiteral("two"));
    }
}
