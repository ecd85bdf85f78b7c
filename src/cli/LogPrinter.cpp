#include "cli/LogPrinter.h"

#include "foundation/PrintableText.h"

using namespace Qt::StringLiterals;

QString logKindWord(ResultLog::Kind kind)
{
    switch (kind) {
    case ResultLog::Kind::FileEntry:
        return u"[file]"_s;
    case ResultLog::Kind::FileInfo:
        return u"[file-info]"_s;
    case ResultLog::Kind::TagInfo:
        return u"[tag-info]"_s;
    case ResultLog::Kind::WarningTop:
        return u"[warnings]"_s;
    case ResultLog::Kind::Info:
        return u"[info]"_s;
    case ResultLog::Kind::Tag:
        return u"[tag]"_s;
    case ResultLog::Kind::Warning:
        return u"[warning]"_s;
    case ResultLog::Kind::Error:
        return u"[error]"_s;
    case ResultLog::Kind::Playlist:
        return u"[playlist]"_s;
    case ResultLog::Kind::Cover:
        return u"[cover]"_s;
    case ResultLog::Kind::HtmlPage:
        return u"[html]"_s;
    case ResultLog::Kind::Folders:
        return u"[folders]"_s;
    }
    return u"[?]"_s;
}

namespace {
void appendNode(const ResultLog &log, int index, int depth, QString &text)
{
    const ResultLog::Node &node = log.node(index);
    text += QString(depth * 2, u' ') + logKindWord(node.kind) + u' ' + printableText(node.text) + u'\n';
    for (int child : node.children)
        appendNode(log, child, depth + 1, text);
}
} // namespace

QString preflightAsText(const AlbumRenamePlan &plan, const QList<PreflightProblem> &problems, bool withPlan,
                        const QList<PreflightProblem> &warnings)
{
    const auto line = [](ResultLog::Kind kind, const QString &text) -> QString {
        return u"  "_s + logKindWord(kind) + u' ' + printableText(text) + u'\n';
    };
    const qsizetype count = problems.size();
    QString text = u"[preflight] Pre-flight check of %1 file(s): %2\n"_s.arg(plan.rows.size())
                       .arg((count == 0 ? u"no problem"_s : count == 1 ? u"1 problem"_s : u"%1 problems"_s.arg(count))
                            + (warnings.isEmpty()      ? QString()
                               : warnings.size() == 1 ? u", 1 warning"_s
                                                      : u", %1 warnings"_s.arg(warnings.size())));
    if (withPlan) {
        QStringList folders;
        for (const PlannedRename &row : plan.rows) {
            // The plan's verdict where the row is no plain move; a refused row is a problem below.
            QString verdict;
            if (row.verdict.action == RowVerdict::Action::InPlace)
                verdict = u" (already in place)"_s;
            else if (row.verdict.action == RowVerdict::Action::FinishMove)
                verdict = u" (finishes an interrupted move)"_s;
            text += line(ResultLog::Kind::Info,
                         u"File %1 : %2 -> %3"_s.arg(row.fileNumber).arg(row.source, row.destination) + verdict);
            // Only a file that moves makes its folder.
            if (row.verdict.action != RowVerdict::Action::Move)
                continue;
            for (const QString &folder : row.foldersToCreate)
                if (!folders.contains(folder))
                    folders.append(folder);
        }
        for (const QString &folder : std::as_const(folders))
            text += line(ResultLog::Kind::Info, u"Folder to create : "_s + folder);
    }
    for (const PreflightProblem &problem : problems)
        text += line(ResultLog::Kind::Error, problem.text);
    for (const PreflightProblem &warning : warnings)
        text += line(ResultLog::Kind::Warning, warning.text);
    return text;
}

QString logAsText(const ResultLog &log)
{
    QString text;
    const QList<int> roots = log.roots();
    for (int root : roots)
        appendNode(log, root, 0, text);
    return text;
}
