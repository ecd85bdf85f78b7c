// Path strings: taking paths apart and finding their roots. Pure text work, no file system.

#include "foundation/Common.h"

#include "foundation/Basic.h"

namespace Common {

PathStyle resolvedStyle(PathStyle style)
{
    if (style != PathStyle::Native)
        return style;
#ifdef Q_OS_WIN
    return PathStyle::Windows;
#else
    return PathStyle::Posix;
#endif
}

QChar separator(PathStyle style)
{
    return resolvedStyle(style) == PathStyle::Windows ? QLatin1Char('\\') : QLatin1Char('/');
}

QString addBackslash(const QString &path, PathStyle style)
{
    const QString trimmed = Basic::trim(path);
    if (trimmed.isEmpty())
        return path;
    const QChar sep = separator(style);
    return trimmed.endsWith(sep) ? trimmed : trimmed + sep;
}

QString getFileName(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? path : path.mid(cut + 1);
}

QString getFileTitle(const QString &path)
{
    const QString name = getFileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString getFolderPath(const QString &path, PathStyle style)
{
    const qsizetype cut = path.lastIndexOf(separator(style));
    return cut < 0 ? QString() : path.left(cut + 1);
}

QString getParentFolder(const QString &path, PathStyle style)
{
    const QChar sep = separator(style);
    // The separator that ends a folder path does not count; lastIndexOf(-1) would search from
    // the end again, so a path that is only a separator has no parent.
    const qsizetype from = path.endsWith(sep) ? path.size() - 2 : path.size() - 1;
    if (from < 0)
        return QString();
    const qsizetype cut = path.lastIndexOf(sep, from);
    if (cut < 0)
        return QString();
    // "/a" lives in the root "/": an empty text would read as "no parent".
    if (cut == 0 && resolvedStyle(style) == PathStyle::Posix)
        return QString(sep);
    return path.left(cut);
}

QString getLastPathPart(const QString &path, PathStyle style)
{
    const qsizetype cut = path.lastIndexOf(separator(style));
    return cut < 0 ? path : path.mid(cut + 1);
}

QString getPathRoot(const QString &path, PathStyle style)
{
    const QString text = Basic::trim(path);
    if (resolvedStyle(style) == PathStyle::Posix)
        return text.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();

    if (text.size() <= 2)
        return QString();
    const QChar bs = QLatin1Char('\\');
    if (text.at(1) == QLatin1Char(':'))
        return text.at(2) == bs ? text.left(3) : QString();
    if (text.startsWith(QLatin1String("\\\\"))) {
        // \\server\share\ : neither the server nor the share name may be empty.
        const qsizetype afterServer = text.indexOf(bs, 2);
        if (afterServer < 0 || afterServer == 2)
            return QString();
        const qsizetype afterShare = text.indexOf(bs, afterServer + 1);
        if (afterShare < 0 || afterShare == afterServer + 1)
            return QString();
        return text.left(afterShare + 1);
    }
    return QString();
}

QString replaceText(const QString &text, const QString &find, const QString &replacement,
                    Qt::CaseSensitivity mode)
{
    if (text.isEmpty() || find.isEmpty())
        return text;
    // One pass over the text into a new one: replacing in place would move the rest of the text
    // at every occurrence, which grows with the square of a long text. The search goes on in the
    // original text, so inserted text is never searched again.
    qsizetype at = text.indexOf(find, 0, mode);
    if (at < 0)
        return text;
    QString result;
    result.reserve(text.size());
    qsizetype from = 0;
    while (at >= 0) {
        result.append(QStringView(text).mid(from, at - from));
        result.append(replacement);
        from = at + find.size();
        at = text.indexOf(find, from, mode);
    }
    result.append(QStringView(text).mid(from));
    return result;
}

} // namespace Common
