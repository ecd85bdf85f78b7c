#include "jobs/CrashLeftovers.h"

#include <algorithm>

#include "audio/XAnalyzer.h"
#include "foundation/Common.h"
#include "foundation/TemporaryFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

const QString &caseSuffix()
{
    static const QString suffix = QString::fromUtf16(Common::CaseRenameSuffix);
    return suffix;
}

// Complete: an MP3 still holds MPEG audio where it starts; any other output is a readable file
// with content.
bool verifiedComplete(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0 || !QFile(path).open(QIODevice::ReadOnly))
        return false;
    if (!path.endsWith(u".mp3"_s, Qt::CaseInsensitive))
        return true;
    XAnalyzer::StreamInfo stream;
    const XAnalyzer::Status status = XAnalyzer::processFile(path, stream);
    return status == XAnalyzer::Ok || status == XAnalyzer::Warning;
}

QString nameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

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
    const QStringList scratch = dir.entryList({u"*"_s + caseSuffix()}, QDir::AllEntries | QDir::Hidden | QDir::System
                                                                            | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : scratch) {
        const QString path = dir.filePath(name);
        const bool isFolder = QFileInfo(path).isDir();
        QString original = path;
        original.chop(caseSuffix().size());
        // A scratch name must have had a name in front of it.
        if (nameOf(original).isEmpty())
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
        return u"Temporary copy left by an interrupted run: "_s + nameOf(leftover.path)
            + (leftover.realPath.isEmpty() ? QString() : u" (of "_s + nameOf(leftover.realPath) + u')');
    case CrashLeftover::Kind::CaseRenamedFile:
        return u"File left under a temporary name by an interrupted rename: "_s + nameOf(leftover.path);
    case CrashLeftover::Kind::CaseRenamedFolder:
        return u"Folder left under a temporary name by an interrupted rename: "_s + nameOf(leftover.path);
    }
    return {};
}

QList<FolderStep> cleanCrashLeftovers(const QString &folder, bool foldersOnly)
{
    QList<FolderStep> steps;
    for (const CrashLeftover &leftover : findCrashLeftovers(folder)) {
        if (foldersOnly && leftover.kind != CrashLeftover::Kind::CaseRenamedFolder)
            continue;
        const QString name = nameOf(leftover.path);
        if (leftover.kind == CrashLeftover::Kind::TemporaryCopy) {
            // Without its file here it may be a move's copy whose source lies elsewhere: it
            // goes when that file is moved here again (dropCopiesMadeFor).
            if (leftover.realPath.isEmpty()) {
                continue;
            } else if (!verifiedComplete(leftover.realPath)) {
                steps.append({u"Temporary copy left by an interrupted run kept: "_s + nameOf(leftover.realPath)
                                  + u" is not complete: "_s + name,
                              true});
            } else if (QFile::remove(leftover.path)) {
                steps.append({u"Temporary copy left by an interrupted run deleted ("_s + nameOf(leftover.realPath)
                                  + u" is complete): "_s + name,
                              false});
            } else {
                steps.append({u"Unable to delete the temporary copy left by an interrupted run: "_s + name, true});
            }
            continue;
        }
        // The new spelling is not known any more: the original name comes back, when it is free.
        const QString original = leftover.realPath;
        const bool free = !QFileInfo::exists(original);
        if (free && QDir().rename(leftover.path, original)) {
            steps.append({u"Interrupted rename rolled back: "_s + name + u" is again "_s + nameOf(original), false});
        } else {
            steps.append({u"Left by an interrupted rename and kept: "_s + name
                              + (free ? QString() : u" ("_s + nameOf(original) + u" exists)"_s),
                          true});
        }
    }
    return steps;
}

QList<FolderStep> dropCopiesMadeFor(const QString &destination, const QString &source, QStringList &listed)
{
    QList<FolderStep> steps;
    const QFileInfo target(destination);
    const auto made = [&](const QString &name) { return TemporaryFiles::belongsTo(name, target.fileName()); };
    if (std::none_of(listed.cbegin(), listed.cend(), made) || QFileInfo::exists(destination)
        || !verifiedComplete(source))
        return steps;
    for (auto it = listed.begin(); it != listed.end();) {
        if (!made(*it) || !QFile::remove(target.dir().filePath(*it))) {
            ++it;
            continue;
        }
        steps.append({u"Temporary copy left by an interrupted move deleted ("_s + nameOf(source)
                          + u" is complete): "_s + *it,
                      false});
        it = listed.erase(it);
    }
    return steps;
}
