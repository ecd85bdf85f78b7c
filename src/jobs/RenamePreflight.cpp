#include "jobs/RenamePreflight.h"

#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "jobs/AlbumHtmlPage.h"
#include "foundation/Common.h"
#include "foundation/PrintableText.h"
#include "jobs/RenameJobFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QStorageInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

/// The deepest level of a folder path that exists.
QString nearestExisting(const QString &folder)
{
    QString level = QDir::cleanPath(folder);
    while (!level.isEmpty() && !Common::folderExists(level)) {
        const QString parent = QFileInfo(level).path();
        if (parent == level)
            break;
        level = parent;
    }
    return level;
}

QString sizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

/// What the rows and outputs will need on one file system.
struct SpaceNeed
{
    QString folder; ///< the first existing folder met there, named in the message
    qint64 lasting = 0; ///< bytes that stay: grown tags, files arriving from elsewhere, outputs
    qint64 largestCopy = 0; ///< the largest file rewritten through a copy (one at a time)
};

class Preflight
{
public:
    Preflight(const AlbumRenamePlan &plan, const FreeSpaceProbe &freeSpace) : plan_(plan), freeSpace_(freeSpace) {}

    QList<PreflightProblem> run();

private:
    std::optional<PreflightProblem> firstFolderProblem() const;
    void addSpaceOf(const PlannedRename &planned);
    void addOutputs(const QList<int> &goodRows);
    SpaceNeed &needAt(const QString &existingFolder);
    QString volumeOf(const QString &existingFolder);

    const AlbumRenamePlan &plan_;
    const FreeSpaceProbe &freeSpace_;
    QHash<QString, QString> volumes_; ///< existing folder -> the root of its file system
    QHash<QString, SpaceNeed> needs_; ///< by file system root, in the order first met
    QStringList volumeOrder_;
    ID3Edit tagger_;
};

QString Preflight::volumeOf(const QString &existingFolder)
{
    auto it = volumes_.find(existingFolder);
    if (it == volumes_.end())
        it = volumes_.insert(existingFolder, QStorageInfo(existingFolder).rootPath());
    return *it;
}

SpaceNeed &Preflight::needAt(const QString &existingFolder)
{
    const QString volume = volumeOf(existingFolder);
    if (!needs_.contains(volume)) {
        needs_.insert(volume, SpaceNeed {existingFolder, 0, 0});
        volumeOrder_.append(volume);
    }
    return needs_[volume];
}

std::optional<PreflightProblem> Preflight::firstFolderProblem() const
{
    // The job makes the first row's folder, built without the row's own values, before any file
    // moves, and stops when it cannot. Where a row goes there, that row tells it already; a
    // folder of the current one's name in another letter case is the current one renamed.
    const QString first = QDir::cleanPath(plan_.firstDestinationFolder);
    if (first.compare(QDir::cleanPath(plan_.sourceFolder), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    for (const PlannedRename &planned : plan_.rows)
        if (RenameJobFiles::sameFolder(Common::getFolderPath(planned.destination), first))
            return std::nullopt;
    const QStringList &missing = plan_.firstDestinationMissing;
    const QString problem = folderCreationProblem(first, QStringList(missing.crbegin(), missing.crend()));
    if (problem.isEmpty())
        return std::nullopt;
    return PreflightProblem {-1, PreflightProblem::Kind::FolderNotWritable,
                             u"No file can be renamed: "_s + problem};
}

std::optional<PreflightProblem::Kind> problemKind(RowVerdict::Refusal refusal)
{
    using Kind = PreflightProblem::Kind;
    switch (refusal) {
    case RowVerdict::Refusal::None: return std::nullopt;
    case RowVerdict::Refusal::SourceUnusable: return Kind::SourceUnusable;
    case RowVerdict::Refusal::NameTooLong: return Kind::NameTooLong;
    case RowVerdict::Refusal::SameDestination: return Kind::SameDestination;
    case RowVerdict::Refusal::DestinationTaken: return Kind::DestinationTaken;
    case RowVerdict::Refusal::FolderNotWritable: return Kind::FolderNotWritable;
    }
    return std::nullopt;
}

void Preflight::addSpaceOf(const PlannedRename &planned)
{
    const RenameJobInput &in = plan_.input;
    const QString target = nearestExisting(Common::getFolderPath(planned.destination));
    SpaceNeed &need = needAt(target);
    const qint64 size = QFileInfo(planned.source).size();
    // A file from another file system is copied there whole (an interrupted move's copy is there).
    if (planned.verdict.action == RowVerdict::Action::Move && volumeOf(nearestExisting(Common::getFolderPath(planned.source))) != volumeOf(target))
        need.lasting += size;
    if (usesV2(in.tagVersions)) {
        setRowV2Fields(tagger_, in, planned.row);
        tagger_.setV2Version(in.id3v2Version);
        ID3Edit::V2Space space = tagger_.PlanSaveV2(planned.source);
        // An embedded cover takes at most the picture file's bytes (scaling only shrinks it).
        if (in.embedCover.on)
            space.after += std::min<qint64>(QFileInfo(in.embedCover.file).size(), 16 * 1024 * 1024);
        // A tag that does not fit its old space is written into a whole new copy of the file,
        // which replaces the file only once it is complete.
        if (space.after != space.before) {
            need.lasting += std::max<qint64>(0, space.after - space.before);
            need.largestCopy = std::max(need.largestCopy, size - space.before + space.after);
        }
    }
    if (usesV1(in.tagVersions) && !ID3::hasID3v1Tag(planned.source))
        need.lasting += 128;
}

void Preflight::addOutputs(const QList<int> &goodRows)
{
    using Kind = PlannedOutput::Kind;
    const AlbumOutputOptions &outputs = plan_.input.outputs;
    // The outputs go where the plan puts them; each is written whole before it replaces an
    // earlier one.
    if (const PlannedOutput *step = plan_.output(Kind::Playlist)) {
        PlaylistBuilder playlist;
        for (int index : goodRows)
            playlist.addEntry(plan_.rows.at(index).fileNumber, plan_.rows.at(index).destination, outputs.playlistDir);
        const QString folder = nearestExisting(Common::getFolderPath(step->path));
        needAt(folder).lasting += playlist.finalText().toUtf8().size() + 2;
    }
    if (const PlannedOutput *step = plan_.output(Kind::Cover)) {
        const QString folder = nearestExisting(Common::getFolderPath(step->path));
        needAt(folder).lasting += std::max<qint64>(0, QFileInfo(outputs.coverDownloadFileName).size());
    }
    if (const PlannedOutput *step = plan_.output(Kind::Page)) {
        // The page as it will be but for the lengths, and a picture it may hold inside itself.
        const QString pageFolder = Common::getFolderPath(step->path);
        AlbumPageContent page;
        page.album = plan_.input.album;
        for (int index : goodRows)
            page.tracks.append({u"000"_s, plan_.rows.at(index).row.title, 0,
                                relativeAddress(pageFolder, plan_.rows.at(index).destination)});
        qint64 bytes = albumPageBytes(page).size() + 16 * qint64(goodRows.size());
        if (outputs.coverShown && !outputs.cover)
            bytes += std::clamp<qint64>(QFileInfo(outputs.coverDownloadFileName).size(), 0, MaxEmbeddedPictureBytes) * 4 / 3 + 64;
        needAt(nearestExisting(pageFolder)).lasting += bytes;
    }
}

QList<PreflightProblem> Preflight::run()
{
    QList<PreflightProblem> problems;
    if (plan_.rows.isEmpty())
        return problems;
    if (const auto first = firstFolderProblem())
        problems.append(*first);
    QList<int> goodRows;
    for (int index = 0; index < plan_.rows.size(); ++index) {
        // The plan has decided every row as the job will meet it: the refused ones are the problems.
        const PlannedRename &planned = plan_.rows.at(index);
        if (const auto kind = problemKind(planned.verdict.refusal); planned.verdict.refused() && kind) {
            problems.append({index, *kind, u"File %1 (%2): %3"_s.arg(planned.fileNumber)
                                               .arg(planned.row.fileName, planned.verdict.detail)});
            continue;
        }
        goodRows.append(index);
        addSpaceOf(planned);
    }
    addOutputs(goodRows);

    for (const QString &volume : std::as_const(volumeOrder_)) {
        const SpaceNeed &need = needs_.value(volume);
        const qint64 needed = need.lasting + need.largestCopy;
        if (needed == 0)
            continue;
        const std::optional<qint64> free = freeSpace_ ? freeSpace_(need.folder) : [&]() -> std::optional<qint64> {
            const QStorageInfo storage(need.folder);
            return storage.isValid() ? std::optional(storage.bytesAvailable()) : std::nullopt;
        }();
        if (free && *free < needed)
            problems.append({-1, PreflightProblem::Kind::NotEnoughSpace,
                             u"Not enough free space in %1: about %2 needed for the rewritten tags, the playlist "
                             u"and the cover, %3 free"_s.arg(need.folder, sizeText(needed), sizeText(*free))});
    }
    return problems;
}

} // namespace

QList<PreflightProblem> preflightRenamePlan(const AlbumRenamePlan &plan, const FreeSpaceProbe &freeSpace)
{
    return Preflight(plan, freeSpace).run();
}

Msg::Message preflightQuestion(const QList<PreflightProblem> &problems, const QList<PreflightProblem> &warnings)
{
    // A box taller than the screen helps nobody: the first lines, then how many more. The
    // problems come first; the warnings share what is left.
    constexpr qsizetype ShownLines = 15;
    const auto listed = [](const QList<PreflightProblem> &items, qsizetype room) {
        QStringList lines;
        for (const PreflightProblem &item : items.first(std::min(items.size(), room)))
            lines.append(printableText(item.text)); // a file name cannot break the list's lines
        if (items.size() > room)
            lines.append(u"... and %1 more"_s.arg(items.size() - room));
        return lines.join(u'\n');
    };
    const qsizetype warningRoom = std::max<qsizetype>(ShownLines - problems.size(), std::min<qsizetype>(3, warnings.size()));
    if (problems.isEmpty())
        return Msg::Message {u"The album may not be what you expect:\n\n"_s + listed(warnings, warningRoom)
                                 + u"\n\nRename and tag anyway? Every file is renamed and tagged as planned."_s,
                             u"Rename and tag warnings"_s, Msg::Icon::Exclamation, Msg::Buttons::YesNo,
                             Msg::Answer::Yes};
    QString text = u"Some files cannot be renamed as planned:\n\n"_s + listed(problems, ShownLines);
    if (!warnings.isEmpty())
        text += u"\n\nThe album may not be what you expect either:\n\n"_s + listed(warnings, warningRoom);
    text += u"\n\nGo on anyway? The files with problems are left as they are, the others are renamed and tagged."_s;
    return Msg::Message {text, u"Rename and tag problems"_s, Msg::Icon::Exclamation, Msg::Buttons::YesNo,
                         Msg::Answer::No};
}
