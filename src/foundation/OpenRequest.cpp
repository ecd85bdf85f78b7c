#include "OpenRequest.h"

#include "PrintableText.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

OpenRequest openRequestFor(const QStringList &paths)
{
    OpenRequest request;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (path.trimmed().isEmpty() || !info.exists()) {
            request.missing << path;
            continue;
        }
        const QString folder = QDir::cleanPath(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
        if (request.folder.isEmpty())
            request.folder = QDir::toNativeSeparators(folder);
        else if (QDir::toNativeSeparators(folder) != request.folder || info.isDir())
            continue;
        if (!info.isDir() && !request.fileNames.contains(info.fileName()))
            request.fileNames << info.fileName();
    }
    return request;
}

bool isOpenablePath(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() || (info.isFile() && info.fileName().endsWith(u".mp3"_s, Qt::CaseInsensitive));
}

QString missingPathMessage(const OpenRequest &request)
{
    const QString path = request.missing.isEmpty() ? QString() : request.missing.first();
    return u"The folder or file \""_s + printableText(path) + u"\" does not exist."_s;
}
