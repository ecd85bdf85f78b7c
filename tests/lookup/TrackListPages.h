#pragma once
// Builds track-list snapshots by hand as the browser takes them: nested elements with parent,
// class and inner text, and the body text the page's layout gives (cells joined by tabs).

#include "lookup/HtmlDocument.h"

#include <QString>

class TreeBuilder
{
public:
    explicit TreeBuilder(const QString &url = QStringLiteral("http://127.0.0.1/page"), const QString &title = {})
    {
        doc_.url = url;
        doc_.title = title;
        doc_.hasBody = true;
        open(QStringLiteral("BODY"));
    }

    /// Opens an element; the next ones are its children until close().
    TreeBuilder &open(const QString &tag, const QString &className = {})
    {
        add(tag, {}, className);
        stack_.append(int(doc_.elements.size()) - 1);
        return *this;
    }
    TreeBuilder &close()
    {
        stack_.removeLast();
        return *this;
    }
    /// An element with text and no children; its text also goes into the body text.
    TreeBuilder &leaf(const QString &tag, const QString &text, const QString &className = {})
    {
        add(tag, text, className);
        if (tag != QStringLiteral("TD") && tag != QStringLiteral("TH"))
            line(text);
        return *this;
    }
    /// A table row of cells: each a TD, the body text one line of tab-separated cells.
    TreeBuilder &row(const QStringList &cells, const QString &cellTag = QStringLiteral("TD"))
    {
        open(QStringLiteral("TR"));
        for (const QString &cell : cells)
            add(cellTag, cell, {});
        close();
        line(cells.join(QLatin1Char('\t')));
        return *this;
    }
    /// A list of items.
    TreeBuilder &list(const QString &tag, const QStringList &items, const QString &className = {})
    {
        open(tag, className);
        for (const QString &item : items)
            leaf(QStringLiteral("LI"), item);
        return close();
    }
    /// Text of the body that stands in no element the reader takes (a paragraph).
    TreeBuilder &line(const QString &text)
    {
        doc_.bodyText += text + QStringLiteral("\r\n");
        return *this;
    }
    [[nodiscard]] const HtmlDocument &doc() const { return doc_; }

private:
    void add(const QString &tag, const QString &text, const QString &className)
    {
        HtmlElement e;
        e.tagName = tag;
        e.innerText = text;
        e.className = className;
        e.parent = stack_.isEmpty() ? -1 : stack_.last();
        doc_.elements.append(e);
    }

    HtmlDocument doc_;
    QList<int> stack_;
};
