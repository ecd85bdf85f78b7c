#pragma once
// What every command of varnelt-cli shares: the output streams, one-line errors, the message
// presenter for a run without a user, and progress that appears only on a terminal.

#include "foundation/MessageGateway.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace Cli {

/// Exit status: success, the job logged errors, bad usage or a missing folder.
enum Exit : int { Success = 0, JobErrors = 1, Usage = 2 };

/// Standard output (UTF-8).
QTextStream &out();
/// Standard error (UTF-8).
QTextStream &err();

/// Prints "varnelt-cli: <message>" on standard error and returns the given exit status.
int fail(const QString &message, int status = Usage);

/// Installs the presenter that prints every message box on standard error as one line and
/// answers it without a user: Yes/No questions with No (Yes when yesToQuestions), Ok for a
/// plain message, Cancel or Abort where a box offers them.
void installPresenter(bool yesToQuestions = false);

/// The answer the non-interactive presenter gives to a box with these buttons.
[[nodiscard]] Msg::Answer unattendedAnswer(Msg::Buttons buttons, bool yesToQuestions);

/// The message of a box as one line: "<title>: <text>", line breaks turned into spaces.
[[nodiscard]] QString messageLine(const Msg::Message &message);


/// Shows "[done/total] item" on standard error, overwriting the same line, only when standard
/// error is a terminal, at most every 50 ms; finish() clears it.
class Progress
{
public:
    Progress();
    void show(int done, int total, const QString &item);
    void finish();

private:
    bool terminal_ = false;
    bool shown_ = false;
    QElapsedTimer sinceShown_;
};

} // namespace Cli
