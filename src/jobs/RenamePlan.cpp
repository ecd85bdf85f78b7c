#include "jobs/RenamePlan.h"

#include "foundation/Common.h"
#include "jobs/OutputPath.h"
#include "jobs/RenameJobFiles.h"
#include "naming/NameBuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

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
    const QStringList missing = missingFolderLevels(Common::getFolderPath(planned.destination));
    planned.foldersToCreate = QStringList(missing.crbegin(), missing.crend());
    return planned;
}

void planOutputs(AlbumRenamePlan &plan)
{
    const RenameJobInput &in = plan.input;
    const AlbumOutputOptions &asked = in.outputs;
    const QString name = albumOutputName(in.album, in.naming);
    const QString last = plan.rows.last().builtPath;
    const auto add = [&](PlannedOutput::Kind kind, OutputFolder where, const QString &extension) {
        const QString path = albumOutputPath(albumOutputFolder(last, where), name, extension, in.joliet);
        plan.outputs.append({kind, path,
                             Common::fileExists(path) ? PlannedOutput::Verdict::Replace : PlannedOutput::Verdict::Write});
    };
    if (asked.playlist)
        add(PlannedOutput::Kind::Playlist, asked.playlistDir, u".pls"_s);
    // Without a downloaded picture shown there is no cover to copy.
    if (asked.cover && asked.coverShown)
        add(PlannedOutput::Kind::Cover, asked.coverDir, u".jpg"_s);
    if (asked.html)
        add(PlannedOutput::Kind::Page, asked.htmlDir, u".htm"_s);
    plan.outputs.append({PlannedOutput::Kind::OldFolder, plan.sourceFolder,
                         oldFolderStays(plan.sourceFolder, plan.firstDestinationFolder) ? PlannedOutput::Verdict::Stays
                                                                                          : PlannedOutput::Verdict::Tidy});
}

} // namespace

const PlannedOutput *AlbumRenamePlan::output(PlannedOutput::Kind kind) const
{
    for (const PlannedOutput &step : outputs)
        if (step.kind == kind)
            return &step;
    return nullptr;
}

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
    plan.firstDestinationMissing = missingFolderLevels(plan.firstDestinationFolder);

    QHash<QString, int> byDestination;
    // The paths that earlier rows' files will have left by the current row's turn.
    QSet<QString> leaving;
    const bool foldCase = RenameJobFiles::fileNameCase() == Qt::CaseInsensitive;
    const auto keyOf = [foldCase](const QString &path) {
        return QDir::cleanPath(foldCase ? path.toCaseFolded() : path);
    };
    for (int position = 1; position <= input.rows.size(); ++position) {
        PlannedRename planned = planRow(input, plan.sourceFolder, parentExists, position);
        const QString key = keyOf(planned.destination);
        planned.sameDestinationAs = byDestination.value(key, -1);
        if (planned.sameDestinationAs < 0)
            byDestination.insert(key, position - 1);

        RowContext context;
        context.destinationLeaves = leaving.contains(key);
        if (planned.sameDestinationAs >= 0) {
            const PlannedRename &first = plan.rows.at(planned.sameDestinationAs);
            context.sameDestinationNumber = first.fileNumber;
            context.sameDestinationName = first.row.fileName;
        }
        planned.verdict = decideRow(planned.row.fileName, planned.source, planned.destination, context);
        using Action = RowVerdict::Action;
        if (planned.verdict.action == Action::Move || planned.verdict.action == Action::FinishMove) {
            leaving.insert(keyOf(planned.source));
            leaving.remove(key); // a file arrives there
        }
        plan.rows.append(planned);
    }
    planOutputs(plan);
    return plan;
}
