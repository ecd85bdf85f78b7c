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

QString logAsText(const ResultLog &log)
{
    QString text;
    const QList<int> roots = log.roots();
    for (int root : roots)
        appendNode(log, root, 0, text);
    return text;
}
