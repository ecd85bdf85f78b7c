#include "jobs/RenamePlan.h"

#include "foundation/Common.h"
#include "jobs/RenameJobFiles.h"
#include "naming/NameBuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

using namespace Qt::StringLiterals;

namespace {

/// The levels of a folder path that do not exist yet, deepest first.
QStringList missingLevels(const QString &folder)
{
    QStringList levels;
    QString level = QDir::cleanPath(folder);
    while (!level.isEmpty() && !Common::folderExists(level)) {
        levels.append(level);
        const QString parent = QFileInfo(level).path();
        if (parent == level)
            break;
        level = parent;
    }
    return levels;
}

PlannedRename planRow(const RenameJobInput &in, const QString &sourceFolder, bool parentExists, int position)
{
    PlannedRename planned;
    planned.row = in.rows.at(position - 1);
    planned.fileNumber = position;
    planned.source = sourceFolder + planned.row.fileName;
    planned.builtPath = buildNewFileName(in.album, in.naming, in.currentDirectory,
                                         TrackInput {planned.row.title, position, planned.row.fileName,
                                                     planned.row.trackText},
                                         parentExists);
    planned.destination = planned.builtPath;
    if (in.joliet) {
        const QString longName = Common::getFileName(planned.builtPath);
        const QString shortName = Joliet::limitName(longName, u".mp3"_s);
        if (shortName != longName) {
            planned.destination = Common::getFolderPath(planned.builtPath) + shortName;
            planned.notes.append(u"Joliet error. The length of the file name is more than 64 caracters : "_s
                                 + longName);
        }
    }
    const QStringList missing = missingLevels(Common::getFolderPath(planned.destination));
    planned.foldersToCreate = QStringList(missing.crbegin(), missing.crend());
    return planned;
}

} // namespace

AlbumRenamePlan planAlbumRename(const RenameJobInput &input)
{
    AlbumRenamePlan plan;
    plan.input = input;
    plan.sourceFolder = Common::addBackslash(input.currentDirectory);
    if (input.rows.isEmpty())
        return plan;

    // The one look at the disk the names depend on, taken once for the whole album.
    const bool parentExists = parentFolderExists(input.currentDirectory);
    plan.firstDestinationFolder = Common::getFolderPath(buildNewFileName(
        input.album, input.naming, input.currentDirectory, TrackInput {input.rows.first().title, 0, {}, {}},
        parentExists));
    plan.firstDestinationMissing = missingLevels(plan.firstDestinationFolder);

    QHash<QString, int> byDestination;
    const bool foldCase = RenameJobFiles::fileNameCase() == Qt::CaseInsensitive;
    for (int position = 1; position <= input.rows.size(); ++position) {
        PlannedRename planned = planRow(input, plan.sourceFolder, parentExists, position);
        const QString key = QDir::cleanPath(foldCase ? planned.destination.toCaseFolded() : planned.destination);
        planned.sameDestinationAs = byDestination.value(key, -1);
        if (planned.sameDestinationAs < 0)
            byDestination.insert(key, position - 1);
        plan.rows.append(planned);
    }
    return plan;
}
