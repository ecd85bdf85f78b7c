#pragma once
// A plain snapshot of a web page as the site readers see it, and the actions they ask for in
// return. The browser bridge takes the snapshot from the live page and carries the actions out;
// the readers know nothing of the browser.

#include <QList>
#include <QString>
#include <QStringList>

/// One element of the page, in document order.
struct HtmlElement
{
    /// The tag name in upper case ("INPUT", "A").
    QString tagName;
    QString id;
    /// The attribute "value" as the page gives it (empty when the element has none).
    QString value;
    /// The text content without markup, line breaks as CR LF; taken only for the tags in
    /// HtmlDocument::textTags(), at most HtmlDocument::MaxValueLength characters.
    QString innerText;
    /// True for an element the user types text into (a text input, a text area).
    bool textEditing = false;
    /// The absolute address of a link or an image; empty for other elements.
    QString address;
    /// The element's start tag written as the older document model wrote it (upper-case tag,
    /// attribute values bare unless they hold blanks, quotes or "<>"), e.g.
    /// `<INPUT type=text name=words>`; taken only for form fields (HtmlDocument::outerHtmlTags()).
    QString outerHtml;
    /// The index of the parent element (-1 for the root, or when the snapshot did not take it)
    /// and the attribute "class": taken by the track-list snapshot only.
    int parent = -1;
    QString className;
};

/// The page: its address, title, elements, links, images and body text.
struct HtmlDocument
{
    /// The page's address and title.
    QString url;
    QString title;
    /// Every element in document order (HTML, HEAD and BODY included).
    QList<HtmlElement> elements;
    /// The element index of each link (an "A" or "AREA" with an address), in document order.
    QList<int> links;
    /// The element index of each image, in document order.
    QList<int> images;
    /// The body's plain text with CR LF line breaks.
    QString bodyText;
    /// False when the page has no body (no text range can be made over it).
    bool hasBody = false;
    /// The text the user selected on the page, line breaks as LF (track-list snapshot only).
    QString selection;
    /// True when the page held more than MaxElements elements or a longer body text than
    /// MaxBodyText: only the first ones were taken.
    bool truncated = false;

    /// True when elements of the page stood deeper than MaxDepth levels: only their tag names
    /// were taken, no text, address or start tag.
    bool tooDeep = false;

    /// Limits of a snapshot: a hostile page never makes one unbounded.
    static constexpr int MaxElements = 50000;
    static constexpr int MaxBodyText = 1000000;
    static constexpr int MaxValueLength = 1000;
    /// The engine's own parser nests no deeper than 512 levels; only a page's scripts go deeper.
    static constexpr int MaxDepth = 512;

    /// What a lookup says of a page with elements deeper than MaxDepth.
    [[nodiscard]] static QString tooDeepText();

    /// The tags whose inner text the snapshot takes (the readers read no other).
    [[nodiscard]] static QStringList textTags();
    /// The tags whose inner text the track-list snapshot takes: the site readers' tags and those
    /// of tables, lists and headings.
    [[nodiscard]] static QStringList trackListTextTags();
    /// The tags whose outer HTML the snapshot takes.
    [[nodiscard]] static QStringList outerHtmlTags();

    [[nodiscard]] const HtmlElement &link(int index) const { return elements.at(links.at(index)); }
    [[nodiscard]] const HtmlElement &image(int index) const { return elements.at(images.at(index)); }
};

/// An action on one element of the page the snapshot was taken from, addressed by its index.
/// The bridge carries it out only when that element still has the same tag name.
struct ElementAction
{
    enum class Kind { SetAttribute, Click };
    Kind kind = Kind::Click;
    int element = -1;
    QString tagName;
    /// For SetAttribute: the attribute's name and value ("value" sets the field's text too).
    QString name;
    QString value;

    [[nodiscard]] static ElementAction setAttribute(const HtmlDocument &doc, int element, const QString &name,
                                                    const QString &value);
    [[nodiscard]] static ElementAction click(const HtmlDocument &doc, int element);

    friend bool operator==(const ElementAction &, const ElementAction &) = default;
};

using ElementActions = QList<ElementAction>;

namespace PageText {

/// True when text contains part, ignoring letter case.
[[nodiscard]] bool containsNoCase(const QString &text, const QString &part);

/// The value after a label in the body text: the text between the end of the label's first
/// occurrence (letter case ignored) and the first CR LF at or after the label, trimmed of
/// spaces; empty when the label or its line end is missing.
[[nodiscard]] QString labelValue(const QString &bodyText, const QString &label);

} // namespace PageText
