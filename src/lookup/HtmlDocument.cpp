#include "lookup/HtmlDocument.h"

#include "foundation/Basic.h"

using namespace Qt::StringLiterals;

QStringList HtmlDocument::textTags()
{
    // Titles are bold elements (freedb) and links (the other sites); the freedb heading is an H2.
    return {u"A"_s, u"B"_s, u"H2"_s};
}

QStringList HtmlDocument::trackListTextTags()
{
    return textTags() + QStringList{u"H1"_s, u"H3"_s, u"H4"_s, u"H5"_s, u"H6"_s, u"TD"_s, u"TH"_s,
                                    u"LI"_s, u"CAPTION"_s, u"DT"_s, u"DD"_s};
}

QString HtmlDocument::tooDeepText()
{
    return u"The page is nested more than %1 levels deep: what lies deeper was not read."_s.arg(MaxDepth);
}

QStringList HtmlDocument::outerHtmlTags()
{
    // Outer HTML of every element can be many times the page's size: only fields are needed.
    return {u"INPUT"_s, u"BUTTON"_s, u"SELECT"_s};
}

ElementAction ElementAction::setAttribute(const HtmlDocument &doc, int element, const QString &name,
                                          const QString &value)
{
    return {Kind::SetAttribute, element, doc.elements.at(element).tagName, name, value};
}

ElementAction ElementAction::click(const HtmlDocument &doc, int element)
{
    return {Kind::Click, element, doc.elements.at(element).tagName, {}, {}};
}

namespace PageText {

bool containsNoCase(const QString &text, const QString &part)
{
    return text.contains(part, Qt::CaseInsensitive);
}

QString labelValue(const QString &bodyText, const QString &label)
{
    const qsizetype at = bodyText.indexOf(label, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    const qsizetype lineEnd = bodyText.indexOf(u"\r\n"_s, at);
    const qsizetype start = at + label.size();
    if (lineEnd < start)
        return {};
    return Basic::trim(bodyText.mid(start, lineEnd - start));
}

} // namespace PageText
