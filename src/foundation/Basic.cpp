#include "Basic.h"

#include <QLocale>
#include <cmath>

namespace Basic {

double val(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    QString number;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        number += text[i++];
    bool dot = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128)
            number += c;
        else if (c == u'.' && !dot) {
            dot = true;
            number += c;
        } else
            break;
    }
    bool ok = false;
    const double v = number.toDouble(&ok);
    return ok ? v : 0.0;
}

bool isNumeric(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    // toDouble also reads "inf" and "nan", which are words, not numbers.
    return ok && std::isfinite(v);
}

long long roundEven(double value)
{
    return static_cast<long long>(std::nearbyint(value)); // default rounding mode: halves to even
}

QString ltrim(const QString &text)
{
    int i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    return text.mid(i);
}

QString rtrim(const QString &text)
{
    auto n = text.size();
    while (n > 0 && text[n - 1] == u' ')
        --n;
    return text.left(n);
}

QString trim(const QString &text)
{
    return ltrim(rtrim(text));
}

QString formatThousands(long long value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(value);
}

QString formatDigits(long long value, int digits)
{
    const bool negative = value < 0;
    QString s = QString::number(negative ? -value : value).rightJustified(digits, u'0');
    return negative ? u'-' + s : s;
}

} // namespace Basic
