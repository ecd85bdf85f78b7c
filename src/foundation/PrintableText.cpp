#include "foundation/PrintableText.h"

using namespace Qt::StringLiterals;

QString printableText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += u"\\n"_s;
        } else if (c == u'\t') {
            out += u"\\t"_s;
        } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            out += u"\\x"_s + QString::number(c, 16).rightJustified(2, u'0');
        } else if (c == 0x2028 || c == 0x2029 || c == 0x85 || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069)) {
            out += u"\\u"_s + QString::number(c, 16).rightJustified(4, u'0');
        } else {
            out += QChar(c);
        }
    }
    return out;
}
