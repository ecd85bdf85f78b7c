#include "jobs/ResultLog.h"

#include "foundation/PrintableText.h"

using namespace Qt::StringLiterals;

void ResultLog::clear()
{
    nodes_.clear();
    warnings_ = errors_ = renamed_ = rows_ = 0;
    summary_.clear();
    destination_.clear();
    notify(Change::Cleared, -1);
}

int ResultLog::append(int parent, Kind kind, const QString &text)
{
    Node n;
    n.parent = parent;
    n.kind = kind;
    n.text = text;
    n.picture = pictureOf(kind);
    const int index = int(nodes_.size());
    nodes_.append(n);
    if (parent >= 0)
        nodes_[parent].children.append(index);
    notify(Change::NodeAdded, index);
    return index;
}

ResultLog::FileNodes ResultLog::addFileEntry(const QString &title)
{
    FileNodes f;
    f.entry = append(-1, Kind::FileEntry, title);
    // The three children always come together and in this order, right after the entry.
    f.fileInfo = append(f.entry, Kind::FileInfo, u"File Info"_s);
    f.tagInfo = append(f.entry, Kind::TagInfo, u"ID3 Tag Info"_s);
    f.warnings = append(f.entry, Kind::WarningTop, u"Warning and error"_s);
    return f;
}

int ResultLog::addLine(int parent, Kind kind, const QString &text)
{
    Q_ASSERT(kind == Kind::Info || kind == Kind::Tag || kind == Kind::Warning || kind == Kind::Error);
    Q_ASSERT(parent >= 0 && parent < size());
    return append(parent, kind, text);
}

int ResultLog::addOutputNode(Kind kind)
{
    Q_ASSERT(kind == Kind::Playlist || kind == Kind::Cover || kind == Kind::HtmlPage || kind == Kind::Folders);
    switch (kind) {
    case Kind::Playlist: return append(-1, kind, u"Playlist"_s);
    case Kind::Cover: return append(-1, kind, u"Cover"_s);
    case Kind::HtmlPage: return append(-1, kind, u"HTML page"_s);
    default: return append(-1, kind, u"Folders"_s);
    }
}

int ResultLog::warning(int parent, const QString &text)
{
    const int line = addLine(parent, Kind::Warning, text);
    ++warnings_;
    makeVisible(line);
    return line;
}

int ResultLog::error(int parent, const QString &text)
{
    const int line = addLine(parent, Kind::Error, text);
    ++errors_;
    makeVisible(line);
    return line;
}

void ResultLog::expand(int node)
{
    if (node < 0 || node >= size())
        return;
    nodes_[node].expanded = true;
    notify(Change::NodeExpanded, node);
}

void ResultLog::makeVisible(int node)
{
    if (node < 0 || node >= size())
        return;
    for (int p = nodes_[node].parent; p >= 0; p = nodes_[p].parent) {
        if (!nodes_[p].expanded) {
            nodes_[p].expanded = true;
            notify(Change::NodeExpanded, p);
        }
    }
    nodes_[node].madeVisible = true;
    notify(Change::NodeMadeVisible, node);
}

QList<int> ResultLog::roots() const
{
    QList<int> r;
    for (int i = 0; i < size(); ++i)
        if (nodes_[i].parent < 0)
            r.append(i);
    return r;
}

int ResultLog::findRoot(const QString &text) const
{
    for (int i = 0; i < size(); ++i)
        if (nodes_[i].parent < 0 && nodes_[i].text == text)
            return i;
    return -1;
}

int ResultLog::findChild(int parent, const QString &text) const
{
    if (parent < 0 || parent >= size())
        return -1;
    for (int c : nodes_[parent].children)
        if (nodes_[c].text == text)
            return c;
    return -1;
}

QStringList ResultLog::childTexts(int parent) const
{
    QStringList texts;
    if (parent >= 0 && parent < size())
        for (int c : nodes_[parent].children)
            texts.append(nodes_[c].text);
    return texts;
}

void ResultLog::refreshSummary()
{
    summary_ = summaryLine(renamed_, rows_, warnings_, errors_);
    notify(Change::SummaryChanged, -1);
}

QString ResultLog::summaryLine(int renamed, int rows, int warnings, int errors)
{
    return u"Files renamed : "_s + QString::number(renamed) + u" / "_s + QString::number(rows) + u"   -   "_s
        + QString::number(warnings) + (warnings > 1 ? u" warning(s)"_s : u" warning"_s) + u"   -   "_s
        + QString::number(errors) + (errors > 1 ? u" error(s)"_s : u" error"_s);
}

void ResultLog::setDestinationFolder(const QString &folder)
{
    destination_ = folder;
    notify(Change::DestinationChanged, -1);
}

QString ResultLog::pictureOf(Kind kind)
{
    switch (kind) {
    case Kind::FileEntry: return u"FileIcon"_s;
    case Kind::FileInfo: return u"file"_s;
    case Kind::TagInfo: return u"tag"_s;
    case Kind::WarningTop: return u"errorTop"_s;
    case Kind::Info: return u"info"_s;
    case Kind::Tag: return u"taginfo"_s;
    case Kind::Warning: return u"warning"_s;
    case Kind::Error: return u"error"_s;
    case Kind::Playlist: return u"playlist"_s;
    case Kind::Cover: return u"cover"_s;
    case Kind::HtmlPage: return u"page"_s;
    case Kind::Folders: return u"errorTop"_s;
    }
    return {};
}

QString ResultLog::toText() const
{
    QString out;
    std::function<void(int, int)> walk = [&](int node, int depth) {
        out += QString(depth * 2, u' ') + printableText(nodes_[node].text) + u'\n';
        for (int c : nodes_[node].children)
            walk(c, depth + 1);
    };
    for (int r : roots())
        walk(r, 0);
    return out;
}

void ResultLog::notify(Change change, int node) const
{
    if (listener_)
        listener_(change, node);
}
