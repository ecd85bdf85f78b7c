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

} // namespace

QList<FolderStep> cleanCrashLeftovers(const QString &folder, bool foldersOnly)
{
    QList<FolderStep> steps;
    for (const CrashLeftover &leftover : findCrashLeftovers(folder)) {
        if (foldersOnly && leftover.kind != CrashLeftover::Kind::CaseRenamedFolder)
            continue;
        const QString name = leftoverName(leftover.path);
        if (leftover.kind == CrashLeftover::Kind::TemporaryCopy) {
            // Without its file here it may be a move's copy whose source lies elsewhere: it
            // goes when that file is moved here again (dropCopiesMadeFor).
            if (leftover.realPath.isEmpty()) {
                continue;
            } else if (!verifiedComplete(leftover.realPath)) {
                steps.append({u"Temporary copy left by an interrupted run kept: "_s + leftoverName(leftover.realPath)
                                  + u" is not complete: "_s + name,
                              true});
            } else if (QFile::remove(leftover.path)) {
                steps.append({u"Temporary copy left by an interrupted run deleted ("_s + leftoverName(leftover.realPath)
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
            steps.append({u"Interrupted rename rolled back: "_s + name + u" is again "_s + leftoverName(original), false});
        } else {
            steps.append({u"Left by an interrupted rename and kept: "_s + name
                              + (free ? QString() : u" ("_s + leftoverName(original) + u" exists)"_s),
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
        steps.append({u"Temporary copy left by an interrupted move deleted ("_s + leftoverName(source)
                          + u" is complete): "_s + *it,
                      false});
        it = listed.erase(it);
    }
    return steps;
}
