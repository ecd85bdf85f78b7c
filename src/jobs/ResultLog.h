#pragma once
// The result log of the rename job: a tree of nodes (one branch per file and per album
// output), the warning, error and renamed counts, the summary line and the destination folder.
// Plain data: a window follows it through the change listener and mirrors it in its tree view.

#include <QList>
#include <QStringList>
#include <QString>
#include <functional>

class ResultLog
{
public:
    /// What a node stands for; each kind has its own picture key.
    enum class Kind {
        FileEntry, ///< a renamed file, titled with the track title
        FileInfo, ///< "File Info" under a file entry
        TagInfo, ///< "ID3 Tag Info" under a file entry
        WarningTop, ///< "Warning and error" under a file entry
        Info, ///< an info line
        Tag, ///< a tag line
        Warning, ///< a warning line
        Error, ///< an error line
        Playlist, ///< the "Playlist" output node
        Cover, ///< the "Cover" output node
        HtmlPage, ///< the "HTML page" output node
        Folders, ///< the "Folders" node: what the job did in the folders beside the files
    };

    struct Node
    {
        int parent = -1; ///< index of the parent node, -1 for a root node
        Kind kind = Kind::Info;
        QString text;
        QString picture; ///< key of the node's picture in the window's image list
        bool expanded = false;
        bool madeVisible = false; ///< the job asked for the node to be scrolled into view
        QList<int> children;
    };

    /// The four nodes made for one file: the entry and its three children.
    struct FileNodes
    {
        int entry = -1;
        int fileInfo = -1;
        int tagInfo = -1;
        int warnings = -1;
    };

    /// What changed, for a window that mirrors the log live.
    enum class Change { Cleared, NodeAdded, NodeExpanded, NodeMadeVisible, SummaryChanged, DestinationChanged };
    /// Receives each change; `node` is the node concerned, or -1.
    using Listener = std::function<void(Change change, int node)>;

    /// Sets the function told of every change (one listener; empty removes it).
    void setListener(Listener listener) { listener_ = std::move(listener); }

    /// Empties the tree, the counts, the summary line and the destination folder.
    void clear();

    /// Adds a file entry titled `title` as the last root node with its three children.
    FileNodes addFileEntry(const QString &title);
    /// Adds a line of the given kind (Info, Tag, Warning or Error) as the last child of `parent`.
    int addLine(int parent, Kind kind, const QString &text);
    /// Adds a root node "Playlist", "Cover" or "Folders" (kind Playlist, Cover or Folders).
    int addOutputNode(Kind kind);

    /// Expands one node.
    void expand(int node);
    /// Scrolls a node into view: marks it and expands every ancestor.
    void makeVisible(int node);

    /// Adds an info line and returns its index.
    int info(int parent, const QString &text) { return addLine(parent, Kind::Info, text); }
    /// Adds a tag line and returns its index.
    int tag(int parent, const QString &text) { return addLine(parent, Kind::Tag, text); }
    /// Adds a warning line, counts it, makes it visible and returns its index.
    int warning(int parent, const QString &text);
    /// Adds an error line, counts it, makes it visible and returns its index.
    int error(int parent, const QString &text);

    [[nodiscard]] int size() const { return int(nodes_.size()); }
    [[nodiscard]] const Node &node(int index) const { return nodes_.at(index); }
    [[nodiscard]] const QList<Node> &nodes() const { return nodes_; }
    /// The root nodes in order.
    [[nodiscard]] QList<int> roots() const;
    /// The first root node with exactly this text, or -1.
    [[nodiscard]] int findRoot(const QString &text) const;
    /// The first child of `parent` with exactly this text, or -1.
    [[nodiscard]] int findChild(int parent, const QString &text) const;
    /// The texts of the children of `parent`, in order.
    [[nodiscard]] QStringList childTexts(int parent) const;

    [[nodiscard]] int warningCount() const { return warnings_; }
    [[nodiscard]] int errorCount() const { return errors_; }
    [[nodiscard]] int renamedCount() const { return renamed_; }
    /// Counts a warning or an error that has no line of its own.
    void countWarning() { ++warnings_; }
    void countError() { ++errors_; }
    void countRenamed() { ++renamed_; }

    /// The number of rows of the job (the "/ N" of the summary).
    void setRowCount(int rows) { rows_ = rows; }
    [[nodiscard]] int rowCount() const { return rows_; }

    /// Rewrites the summary line from the current counts and tells the listener.
    void refreshSummary();
    /// The summary line as last refreshed (empty after clear()).
    [[nodiscard]] const QString &summary() const { return summary_; }
    /// "Files renamed : 11 / 12   -   0 warning   -   1 error": singular for 0 and 1, plural from 2.
    [[nodiscard]] static QString summaryLine(int renamed, int rows, int warnings, int errors);

    /// The destination folder shown beside the log (with one trailing separator).
    void setDestinationFolder(const QString &folder);
    [[nodiscard]] const QString &destinationFolder() const { return destination_; }

    /// The picture key of a kind: "FileIcon", "file", "tag", "errorTop", "info", ...
    [[nodiscard]] static QString pictureOf(Kind kind);
    /// The whole tree as indented text (two spaces per level), one node a line, control characters escaped.
    [[nodiscard]] QString toText() const;

private:
    int append(int parent, Kind kind, const QString &text);
    void notify(Change change, int node) const;

    QList<Node> nodes_;
    int warnings_ = 0;
    int errors_ = 0;
    int renamed_ = 0;
    int rows_ = 0;
    QString summary_;
    QString destination_;
    Listener listener_;
};
