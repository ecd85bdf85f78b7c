#include "naming/NamingText.h"

#include "foundation/Basic.h"

#include <array>

using namespace Qt::StringLiterals;

QString removeForbiddenCharacters(const QString &value)
{
    static const std::array<std::pair<QString, QString>, 9> replacements = {{
        {u"\\"_s, u"-"_s},
        {u"/"_s, u"-"_s},
        {u":"_s, u"-"_s},
        {u"*"_s, u"-"_s},
        {u"?"_s, u"-"_s},
        {u"\""_s, u"'"_s},
        {u"<"_s, u"-"_s},
        {u">"_s, u"-"_s},
        {u"|"_s, u"-"_s},
    }};
    QString text = value;
    for (const auto &[find, replacement] : replacements)
        text = Common::replaceText(text, find, replacement);
    return text;
}

QString findForbiddenCharacter(const QString &text, bool allowBackslash)
{
    static const QString order = u"\\/:*?\"<>|"_s;
    QString found;
    for (const QChar c : order) {
        if (c == u'\\' && allowBackslash)
            continue;
        if (text.contains(c))
            found = c;
    }
    return found;
}

QString normalizeForCompare(const QString &text)
{
    static const QString blanks = u"_-[]().,:;/\\*{}!?=|><'%+@#&$`\""_s;
    static const std::array<std::pair<QString, QString>, 6> accents = {{
        {u"e"_s, u"éèêëÉÈÊ"_s},
        {u"a"_s, u"àâäÀÂÄ"_s},
        {u"i"_s, u"ïîìÏÎÌ"_s},
        {u"o"_s, u"ôöòÔÖÒ"_s},
        {u"u"_s, u"ûüùÛÜÙ"_s},
        {u"c"_s, u"çÇ"_s},
    }};
    QString result = text;
    for (const QChar c : blanks)
        result.replace(c, u' ');
    for (const auto &[plain, letters] : accents)
        for (const QChar c : letters)
            result.replace(c, plain.front());
    return result;
}

QString searchTextFromFolder(const QString &folderPath, bool wholeName, Common::PathStyle style)
{
    const QChar sep = Common::separator(style);
    QString t = folderPath;
    if (t.endsWith(sep))
        t.chop(1);
    if (t.endsWith(u']') && t.size() >= 6 && t[t.size() - 6] == u'[')
        t = Basic::trim(t.left(t.size() - 6));
    t = Common::replaceText(t, u"_"_s, u" "_s);
    t = Common::replaceText(t, u"."_s, u" "_s);

    const qsizetype start = t.lastIndexOf(sep) + 1;
    if (!wholeName) {
        const qsizetype dashAfter = t.indexOf(u" -"_s, start);
        const qsizetype dashBefore = t.indexOf(u"- "_s, start);
        qsizetype i = -1;
        if (dashAfter >= 0 && dashBefore >= 0)
            i = std::min(dashAfter, dashBefore);
        else
            i = std::max(dashAfter, dashBefore);
        if (i >= 0)
            return Basic::trim(t.mid(i + 2));
    }
    return Basic::trim(t.mid(start));
}

QString removeControlCharacters(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control)
            result += c;
    }
    return result;
}

QString replaceFolderSeparators(const QString &value, Common::PathStyle style)
{
    QString text = Common::replaceText(value, u"/"_s, u"-"_s);
    if (Common::resolvedStyle(style) == Common::PathStyle::Windows)
        text = Common::replaceText(text, u"\\"_s, u"-"_s);
    return text;
}

QString makeLevelSafe(const QString &level)
{
    if (!level.contains(u'.'))
        return level;
    for (const QChar c : level) {
        if (c != u'.' && c != u' ')
            return level;
    }
    QString safe = level;
    safe.replace(u'.', u'_');
    return safe;
}
