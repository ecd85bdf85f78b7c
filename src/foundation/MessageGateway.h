#pragma once
// Every message box of the program goes through ask(): the desktop program installs a
// presenter that shows a real box, the CLI one that prints, tests one that records.

#include <QString>
#include <functional>
#include <optional>

namespace Msg {

enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct Message {
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    /// The button that Enter presses; unset means the first button of the set.
    std::optional<Answer> defaultButton;
};

using Presenter = std::function<Answer(const Message &)>;

/// Installs the function that shows messages; returns the one it replaces.
Presenter setPresenter(Presenter presenter);

/// Shows a message through the installed presenter and returns the user's answer.
/// Without a presenter the message goes to standard error and the default button is the answer.
Answer ask(const Message &message);
/// The same, from the message's parts.
Answer ask(const QString &text, const QString &title, Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
           std::optional<Answer> defaultButton = std::nullopt);

/// How a core function puts a question to the user in the middle of its work: the window and the
/// CLI pass what answers it.
using Question = std::function<Answer(const Message &)>;

/// A question answered through ask(), as the window and the CLI answer them.
[[nodiscard]] Question viaGateway();

/// The common error handler: the description with the critical icon, titled "Error".
void showError(const QString &description);

/// The first button of a button set: what a box answers when it is closed by default.
[[nodiscard]] Answer firstButton(Buttons buttons);

} // namespace Msg
