#include "ChangeUndo.h"

#include "foundation/MessageGateway.h"
#include "jobs/RenameUndo.h"

#include <QApplication>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

/// The first lines of a list, then how many more there are, so a big album fits on the screen.
QString shortList(const QStringList &lines)
{
    constexpr int Shown = 15;
    QString text = lines.mid(0, Shown).join(u'\n');
    if (lines.size() > Shown)
        text += u"\n... and %1 more"_s.arg(lines.size() - Shown);
    return text;
}

QString titleFor(const JournalContents &change)
{
    return u"Undo "_s + RenameUndo::captionOf(change);
}

} // namespace

bool ChangeUndo::run()
{
    const std::optional<JournalContents> next = RenameUndo::nextToUndo();
    if (!next) {
        Msg::ask(u"Nothing to undo: every recorded change was undone."_s, u"Undo"_s, Msg::Icon::Information);
        return false;
    }
    return run(*next);
}

bool ChangeUndo::run(const JournalContents &change)
{
    const QString title = titleFor(change);
    const QString description = RenameUndo::descriptionOf(change);
    const QString question = u"Undo this change?\n%1\nmade on %2\n"
                             u"Every file goes back to its old name, folder and tags; a file changed since "
                             u"then is left as it is."_s
                                 .arg(description, QLocale().toString(change.date, QLocale::ShortFormat));
    if (Msg::ask(question, title, Msg::Icon::Question, Msg::Buttons::YesNo, Msg::Answer::No) != Msg::Answer::Yes)
        return false;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const UndoReport report = RenameUndo::undoJob(JobJournal::read(change.path));
    QApplication::restoreOverrideCursor();
    if (report.refused || report.nothingToUndo) {
        Msg::ask(report.why, title, Msg::Icon::Exclamation);
        return false;
    }

    QString text = (report.complete() ? u"This change was undone:\n"_s : u"This change was undone in part:\n"_s)
        + description;
    // Each line says what was done ("Restored: ...", "Removed: ..."): the heading names neither.
    if (!report.restored.isEmpty())
        text += u"\n\nUndone:\n"_s + shortList(report.restored);
    if (!report.left.isEmpty())
        text += u"\n\nLeft as they are:\n"_s + shortList(report.left);
    if (!report.notRecorded.isEmpty())
        text += u"\n\nThe outcome cannot be recorded in the journal: "_s + report.notRecorded;
    const bool clean = report.complete() && report.notRecorded.isEmpty();
    Msg::ask(text, title, clean ? Msg::Icon::Information : Msg::Icon::Exclamation);
    return true;
}

QString ChangeUndo::menuCaption(const std::optional<JournalContents> &next)
{
    if (!next)
        return u"&Undo"_s;
    // A "&" in a caption would be taken for an access key.
    QString caption = RenameUndo::captionOf(*next);
    caption.replace(u"&"_s, u"&&"_s);
    return u"&Undo %1 (%2)"_s.arg(caption, next->fileCount == 1 ? u"1 file"_s : u"%1 files"_s.arg(next->fileCount));
}
