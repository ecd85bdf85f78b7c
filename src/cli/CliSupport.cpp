#include "cli/CliSupport.h"

#include "foundation/PrintableText.h"

#include <QRegularExpression>

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace Cli {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int fail(const QString &message, int status)
{
    out().flush();
    err() << "varnelt-cli: " << message << Qt::endl;
    return status;
}

Msg::Answer unattendedAnswer(Msg::Buttons buttons, bool yesToQuestions)
{
    switch (buttons) {
    case Msg::Buttons::Ok:
        return Msg::Answer::Ok;
    case Msg::Buttons::OkCancel:
    case Msg::Buttons::RetryCancel:
        return Msg::Answer::Cancel;
    case Msg::Buttons::YesNo:
        return yesToQuestions ? Msg::Answer::Yes : Msg::Answer::No;
    case Msg::Buttons::YesNoCancel:
        return yesToQuestions ? Msg::Answer::Yes : Msg::Answer::Cancel;
    case Msg::Buttons::AbortRetryIgnore:
        return Msg::Answer::Abort;
    }
    return Msg::Answer::Ok;
}

QString messageLine(const Msg::Message &message)
{
    static const QRegularExpression lineBreaks(u"\\s*[\\r\\n]+\\s*"_s);
    QString text = message.text;
    text.replace(lineBreaks, u" "_s);
    text = printableText(text.trimmed());
    return message.title.isEmpty() ? text : message.title + u": "_s + text;
}

namespace {
QString answerWord(Msg::Answer answer)
{
    switch (answer) {
    case Msg::Answer::Yes:
        return u"Yes"_s;
    case Msg::Answer::No:
        return u"No"_s;
    case Msg::Answer::Cancel:
        return u"Cancel"_s;
    case Msg::Answer::Abort:
        return u"Abort"_s;
    case Msg::Answer::Retry:
        return u"Retry"_s;
    case Msg::Answer::Ignore:
        return u"Ignore"_s;
    case Msg::Answer::Ok:
        return u"OK"_s;
    }
    return {};
}
} // namespace

void installPresenter(bool yesToQuestions)
{
    Msg::setPresenter([yesToQuestions](const Msg::Message &message) {
        const Msg::Answer answer = unattendedAnswer(message.buttons, yesToQuestions);
        out().flush();
        err() << "varnelt-cli: " << messageLine(message);
        // A plain message needs no answer; a question says what was answered for the user.
        if (message.buttons != Msg::Buttons::Ok)
            err() << " [answered " << answerWord(answer) << ']';
        err() << Qt::endl;
        return answer;
    });
}

Progress::Progress()
    : terminal_(isatty(fileno(stderr)) != 0)
{
}

void Progress::show(int done, int total, const QString &item)
{
    // A terminal repaints slowly compared with a fast scan: skip updates that nobody could read.
    if (!terminal_ || (shown_ && done < total && sinceShown_.elapsed() < 50))
        return;
    sinceShown_.start();
    QString line = u"[%1/%2] %3"_s.arg(done).arg(total).arg(printableText(item));
    if (line.size() > 79)
        line = line.left(76) + u"..."_s;
    err() << "\r\x1b[K" << line;
    err().flush();
    shown_ = true;
}

void Progress::finish()
{
    if (!terminal_ || !shown_)
        return;
    err() << "\r\x1b[K";
    err().flush();
    shown_ = false;
}

} // namespace Cli
