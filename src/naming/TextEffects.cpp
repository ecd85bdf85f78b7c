#include "naming/TextEffects.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

bool startsWord(char32_t c)
{
    return c == U' ' || c == U'.' || c == U'\\' || c == U'-' || c == U'/';
}

// Case changes go code point by code point so that letters outside the basic plane keep both
// halves together, and through the locale so that every accented letter changes too.
QString upperOf(char32_t c)
{
    return QLocale().toUpper(QString::fromUcs4(&c, 1));
}

} // namespace

QStringList textEffectItems()
{
    return {u"abC def -> Abc Def"_s, u"Abc def -> aBc DeF"_s, u"ABc Def -> abc def"_s, u"AbC Def -> ABC DEF"_s};
}

QStringList replaceSpacesItems()
{
    return {u"Underscores"_s, u"Points"_s, u"Nothing"_s};
}

QString toCapitals(const QString &text)
{
    const QList<uint> chars = QLocale().toLower(text).toUcs4();
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        if (i == 0 || startsWord(chars[i - 1]))
            result += upperOf(c);
        else
            result += QString::fromUcs4(&c, 1);
    }
    return result;
}

QString AltCaps(const QString &text)
{
    QList<uint> chars = text.toUcs4();
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const uint c = chars[i];
        const bool upper = c >= 'A' && c <= 'Z';
        const bool lower = c >= 'a' && c <= 'z';
        if (!upper && !lower)
            continue;
        const bool evenPosition = (i + 1) % 2 == 0;
        if (evenPosition && lower)
            chars[i] = c - 'a' + 'A';
        else if (!evenPosition && upper)
            chars[i] = c - 'A' + 'a';
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(chars.constData()), chars.size());
}

QString applyTextEffect(const QString &text, TextEffect effect)
{
    switch (effect) {
    case TextEffect::WordCapitals:
        return toCapitals(text);
    case TextEffect::AlternatingCapitals:
        return AltCaps(text);
    case TextEffect::LowerCase:
        return QLocale().toLower(text);
    case TextEffect::UpperCase:
        return QLocale().toUpper(text);
    }
    return text;
}

QString spaceReplacement(SpaceReplacement replacement)
{
    switch (replacement) {
    case SpaceReplacement::Underscores:
        return u"_"_s;
    case SpaceReplacement::Points:
        return u"."_s;
    case SpaceReplacement::Nothing:
        break;
    }
    return {};
}

std::optional<TextEffect> textEffectAt(int position)
{
    if (position < 0 || position > int(TextEffect::UpperCase))
        return std::nullopt;
    return TextEffect(position);
}

SpaceReplacement spaceReplacementAt(int position)
{
    if (position < 0 || position > int(SpaceReplacement::Nothing))
        return SpaceReplacement::Nothing;
    return SpaceReplacement(position);
}
