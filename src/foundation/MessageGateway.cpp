#include "MessageGateway.h"

#include <QTextStream>
#include <utility>

namespace Msg {
namespace {
Presenter &presenterSlot()
{
    static Presenter slot;
    return slot;
}
} // namespace

Presenter setPresenter(Presenter presenter)
{
    return std::exchange(presenterSlot(), std::move(presenter));
}

Answer firstButton(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
        return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::Yes;
    case Buttons::RetryCancel:
        return Answer::Retry;
    case Buttons::AbortRetryIgnore:
        return Answer::Abort;
    }
    return Answer::Ok;
}

Answer ask(const Message &message)
{
    if (presenterSlot())
        return presenterSlot()(message);
    QTextStream err(stderr);
    err << message.title << u": " << message.text << Qt::endl;
    return message.defaultButton.value_or(firstButton(message.buttons));
}

Answer ask(const QString &text, const QString &title, Icon icon, Buttons buttons, std::optional<Answer> defaultButton)
{
    return ask(Message{text, title, icon, buttons, defaultButton});
}

Question viaGateway()
{
    return [](const Message &message) { return ask(message); };
}

void showError(const QString &description)
{
    ask(description, QStringLiteral("Error"), Icon::Critical, Buttons::Ok);
}

} // namespace Msg
