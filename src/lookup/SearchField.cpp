#include "lookup/SearchField.h"

using namespace Qt::StringLiterals;

bool isSearchField(const HtmlElement &element, const QStringList &marks)
{
    if (!element.textEditing || element.tagName != u"INPUT")
        return false;
    for (const QString &mark : marks) {
        if (element.outerHtml.contains(mark))
            return true;
    }
    return false;
}

int searchFieldIndex(const HtmlDocument &doc, const QStringList &marks, int from)
{
    for (int i = qMax(from, 0); i < doc.elements.size(); ++i) {
        if (isSearchField(doc.elements.at(i), marks))
            return i;
    }
    return -1;
}
