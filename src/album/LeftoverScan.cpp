#include "album/LeftoverScan.h"

#include "foundation/Common.h"
#include "foundation/TemporaryFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

const QString &caseRenameSuffix()
{
    static const QString suffix = QString::fromUtf16(Common::CaseRenameSuffix);
    return suffix;
}

QString leftoverName(const QString &path)
{
    return QFileInfo(path).fileName();
}

QList<CrashLeftover> findCrashLeftovers(const QString &folder)
{
    QList<CrashLeftover> found;
    const QDir dir(folder);
    if (!dir.exists())
        return found;
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : TemporaryFiles::inFolder(folder)) {
        CrashLeftover leftover{CrashLeftover::Kind::TemporaryCopy, dir.filePath(name), {}};
        for (const QString &real : files) {
            if (TemporaryFiles::belongsTo(name, real)) {
                leftover.realPath = dir.filePath(real);
                break;
            }
        }
        found.append(leftover);
    }
    // Copies named by earlier versions of the tag rewrite: "." + the file's name + 6 characters.
    static const QRegularExpression earlierCopy(u"^\\.(.+\\.mp3)\\.[A-Za-z0-9]{6}$"_s,
                                                QRegularExpression::CaseInsensitiveOption);
    for (const QString &name : files) {
        const QRegularExpressionMatch m = earlierCopy.match(name);
        if (m.hasMatch() && files.contains(m.captured(1)))
            found.append({CrashLeftover::Kind::TemporaryCopy, dir.filePath(name), dir.filePath(m.captured(1))});
    }
    const QStringList scratch = dir.entryList({u"*"_s + caseRenameSuffix()}, QDir::AllEntries | QDir::Hidden | QDir::System
                                                                            | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : scratch) {
        const QString path = dir.filePath(name);
        const bool isFolder = QFileInfo(path).isDir();
        QString original = path;
        original.chop(caseRenameSuffix().size());
        // A scratch name must have had a name in front of it.
        if (leftoverName(original).isEmpty())
            continue;
        found.append({isFolder ? CrashLeftover::Kind::CaseRenamedFolder : CrashLeftover::Kind::CaseRenamedFile, path,
                      original});
    }
    return found;
}

QString leftoverWarningText(const CrashLeftover &leftover)
{
    switch (leftover.kind) {
    case CrashLeftover::Kind::TemporaryCopy:
        return u"Temporary copy left by an interrupted run: "_s + leftoverName(leftover.path)
            + (leftover.realPath.isEmpty() ? QString() : u" (of "_s + leftoverName(leftover.realPath) + u')');
    case CrashLeftover::Kind::CaseRenamedFile:
        return u"File left under a temporary name by an interrupted rename: "_s + leftoverName(leftover.path);
    case CrashLeftover::Kind::CaseRenamedFolder:
        return u"Folder left under a temporary name by an interrupted rename: "_s + leftoverName(leftover.path);
    }
    return {};
}
