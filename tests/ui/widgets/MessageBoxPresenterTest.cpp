// The real message box behind the gateway: its title, text, icon, buttons and default button,
// and the answer the pressed button gives. A timer presses a button of the modal box.
#include "ui/widgets/MessageBoxPresenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

/// Shows the message and presses the button chosen from what the box offers.
Msg::Answer presentAndPress(const Msg::Message &message, Seen &seen,
                            const std::function<QMessageBox::StandardButton(QMessageBox *)> &choose)
{
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        box->button(choose(box))->click();
    });
    poll.start();
    return MessageBoxPresenter::present(message);
}

} // namespace

TEST(MessageBoxPresenter, ShowsTheMessageAndAnswersWithThePressedButton)
{
    Seen seen;
    const Msg::Message question{u"Are you sure you want to quit ?"_s, u"Exit confirmation"_s, Msg::Icon::Question,
        Msg::Buttons::YesNo, std::nullopt};
    const Msg::Answer answer = presentAndPress(question, seen, [](QMessageBox *) { return QMessageBox::No; });
    EXPECT_EQ(answer, Msg::Answer::No);
    EXPECT_EQ(seen.title, u"Exit confirmation"_s);
    EXPECT_EQ(seen.text, u"Are you sure you want to quit ?"_s);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Yes);

    const Msg::Message error{u"Type mismatch"_s, u"Error"_s, Msg::Icon::Critical, Msg::Buttons::Ok, std::nullopt};
    EXPECT_EQ(presentAndPress(error, seen, [](QMessageBox *) { return QMessageBox::Ok; }), Msg::Answer::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(MessageBoxPresenter, TheNamedDefaultButtonIsWhatEnterPresses)
{
    Seen seen;
    const Msg::Message warning{u"Would you like to continue anyway ?"_s, u"Rename files with tag warning"_s,
        Msg::Icon::Exclamation, Msg::Buttons::YesNo, Msg::Answer::No};
    const Msg::Answer answer = presentAndPress(
        warning, seen, [](QMessageBox *box) { return box->standardButton(box->defaultButton()); });
    EXPECT_EQ(seen.defaultButton, QMessageBox::No);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(answer, Msg::Answer::No);
}
