#include "foundation/UpdateFile.h"

#include <QStringDecoder>

namespace UpdateFile {

std::optional<QString> announcedVersion(const QByteArray &read)
{
    const QByteArray bytes = read.left(MaxFileSize);
    // Only the first line counts, and nothing after it is looked at.
    const qsizetype end = bytes.indexOf('\n');
    QByteArray line = end < 0 ? bytes : bytes.left(end);
    if (line.endsWith('\r'))
        line.chop(1);
    if ((end < 0 && bytes.size() >= MaxFileSize) || line.contains('\0') || line.isEmpty())
        return std::nullopt;
    // Stateless: a sequence cut off at the line's end is an error, not bytes kept for later.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(line);
    if (utf8.hasError() || text.isEmpty())
        text = QString::fromLatin1(line);
    return text;
}

} // namespace UpdateFile
