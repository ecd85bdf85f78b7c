#pragma once
// Builds page snapshots by hand for the reader tests: exactly the elements, links, images and
// body text a test names.

#include "lookup/HtmlDocument.h"

#include <QString>

class PageBuilder
{
public:
    explicit PageBuilder(const QString &url) { doc_.url = url; }

    /// Any element; an "A" with an address is a link, an "IMG" with one an image.
    PageBuilder &element(const QString &tag, const QString &text = {}, const QString &address = {})
    {
        HtmlElement e;
        e.tagName = tag;
        e.innerText = text;
        e.address = address;
        add(e);
        return *this;
    }
    PageBuilder &link(const QString &address, const QString &text = {}) { return element(QStringLiteral("A"), text, address); }
    PageBuilder &image(const QString &address) { return element(QStringLiteral("IMG"), {}, address); }
    /// A form field with its outer HTML (`<INPUT type=text name=q>`); textEditing as the browser says.
    PageBuilder &field(const QString &tag, const QString &outerHtml, bool textEditing = false,
                       const QString &id = {}, const QString &value = {})
    {
        HtmlElement e;
        e.tagName = tag;
        e.outerHtml = outerHtml;
        e.textEditing = textEditing;
        e.id = id;
        e.value = value;
        add(e);
        return *this;
    }
    PageBuilder &body(const QString &text)
    {
        doc_.bodyText = text;
        doc_.hasBody = true;
        return *this;
    }
    [[nodiscard]] const HtmlDocument &doc() const { return doc_; }
    [[nodiscard]] int lastIndex() const { return int(doc_.elements.size()) - 1; }

private:
    void add(const HtmlElement &e)
    {
        const int index = int(doc_.elements.size());
        doc_.elements.append(e);
        if (e.tagName == QStringLiteral("A") && !e.address.isEmpty())
            doc_.links.append(index);
        if (e.tagName == QStringLiteral("IMG"))
            doc_.images.append(index);
    }

    HtmlDocument doc_;
};
