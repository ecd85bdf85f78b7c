#include "MessageBoxPresenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace MessageBoxPresenter {
namespace {

QMessageBox::Icon boxIcon(Msg::Icon icon)
{
    switch (icon) {
    case Msg::Icon::None:
        return QMessageBox::NoIcon;
    case Msg::Icon::Information:
        return QMessageBox::Information;
    case Msg::Icon::Question:
        return QMessageBox::Question;
    case Msg::Icon::Exclamation:
        return QMessageBox::Warning;
    case Msg::Icon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Msg::Buttons buttons)
{
    switch (buttons) {
    case Msg::Buttons::Ok:
        return QMessageBox::Ok;
    case Msg::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Msg::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Msg::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Msg::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case Msg::Buttons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton buttonOf(Msg::Answer answer)
{
    switch (answer) {
    case Msg::Answer::Ok:
        return QMessageBox::Ok;
    case Msg::Answer::Cancel:
        return QMessageBox::Cancel;
    case Msg::Answer::Yes:
        return QMessageBox::Yes;
    case Msg::Answer::No:
        return QMessageBox::No;
    case Msg::Answer::Retry:
        return QMessageBox::Retry;
    case Msg::Answer::Abort:
        return QMessageBox::Abort;
    case Msg::Answer::Ignore:
        return QMessageBox::Ignore;
    }
    return QMessageBox::NoButton;
}

Msg::Answer answerOf(int button, Msg::Buttons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return Msg::Answer::Ok;
    case QMessageBox::Cancel:
        return Msg::Answer::Cancel;
    case QMessageBox::Yes:
        return Msg::Answer::Yes;
    case QMessageBox::No:
        return Msg::Answer::No;
    case QMessageBox::Retry:
        return Msg::Answer::Retry;
    case QMessageBox::Abort:
        return Msg::Answer::Abort;
    case QMessageBox::Ignore:
        return Msg::Answer::Ignore;
    default:
        break;
    }
    // Closed with the window's close button: a Yes/No box has no escape button, so the
    // answer is the one that changes nothing.
    switch (buttons) {
    case Msg::Buttons::YesNo:
        return Msg::Answer::No;
    case Msg::Buttons::Ok:
        return Msg::Answer::Ok;
    default:
        return Msg::Answer::Cancel;
    }
}

} // namespace

Msg::Answer present(const Msg::Message &message)
{
    QMessageBox box(boxIcon(message.icon), message.title, message.text, boxButtons(message.buttons),
        QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    // Like the system's boxes, Enter presses the first button unless the caller names another.
    const Msg::Answer defaultAnswer = message.defaultButton.value_or(Msg::firstButton(message.buttons));
    if (QAbstractButton *button = box.button(buttonOf(defaultAnswer)))
        box.setDefaultButton(static_cast<QPushButton *>(button));
    return answerOf(box.exec(), message.buttons);
}

void install()
{
    Msg::setPresenter(&present);
}

} // namespace MessageBoxPresenter
