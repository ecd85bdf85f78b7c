#include "jobs/AlbumRenameJob.h"

#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "audio/TagAccess.h"
#include "audio/TagWriteCheck.h"
#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "foundation/FolderLock.h"
#include "foundation/TemporaryFiles.h"
#include "jobs/AlbumHtmlPage.h"
#include "jobs/CrashLeftovers.h"
#include "jobs/JobJournal.h"
#include "jobs/RenameJobFiles.h"
#include "jobs/RenamePlan.h"
#include "jobs/TagWrite.h"
#include "naming/NameBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

using namespace Qt::StringLiterals;
using Common::MoveResult;

quint8 versionOneGenreByte(const QString &genreText)
{
    return V1Rules::genreOfText(genreText);
}

QString versionTwoTrack(const QString &trackText, bool withTotal, const QString &totalText)
{
    const QString track = QString::number(qint64(Basic::val(trackText)));
    const qint64 total = qint64(Basic::val(totalText));
    if (withTotal && total > 0)
        return track + u'/' + QString::number(total);
    return track;
}

QList<TagWriteCheck::V2Field> rowV2Fields(const RenameJobInput &in, const RenameRow &row)
{
    QList<TagWriteCheck::V2Field> fields {
        {u"Track"_s, versionTwoTrack(row.trackText, in.totalTracks, in.totalTrackText), &ID3Edit::setTrack,
         &ID3Edit::Track},
        {u"Title"_s, row.title, &ID3Edit::setTitle, &ID3Edit::Title},
        {u"Artist"_s, in.album.artist, &ID3Edit::setArtist, &ID3Edit::Artist},
        {u"Genre"_s, in.album.genre, &ID3Edit::setGenre, &ID3Edit::Genre},
        {u"Album"_s, in.album.album, &ID3Edit::setAlbum, &ID3Edit::Album},
        {u"Comment"_s, in.album.comment, &ID3Edit::setComment, &ID3Edit::Comment},
    };
    // Most players read version 2 first: a year the user gave must be there too. An empty
    // field leaves the file's own version-2 year as it is.
    if (!Basic::trim(in.album.year).isEmpty())
        fields.append({u"Year"_s, in.album.year, &ID3Edit::setYear, &ID3Edit::Year});
    return fields;
}

void setRowV2Fields(ID3Edit &tagger, const RenameJobInput &in, const RenameRow &row)
{
    for (const TagWriteCheck::V2Field &field : rowV2Fields(in, row))
        (tagger.*field.write)(field.value);
}

namespace {

QString moveErrorText(MoveResult result)
{
    switch (result) {
    case MoveResult::SourceMissing: return u"Source file not found"_s;
    case MoveResult::FolderMissing: return u"Path creation error. Read-only media or not enough rights."_s;
    case MoveResult::MoveFailed:
        // A full disk is named as such: nothing is wrong with the medium or the rights then.
        if (Common::lastMoveFoundNoSpace())
            return u"File move error: "_s + Common::lastMoveError();
        return u"File move error. Read-only media, not enough rights or file in use"_s;
    case MoveResult::NotThere:
        if (Common::lastMoveFoundNoSpace())
            return u"File creation error: "_s + Common::lastMoveError();
        return u"File creation error. Read-only media, not enough rights."_s;
    default: return u"Unknow error"_s;
    }
}

/// The log text of a failed tag write: the real cause where the result code names one, the
/// general text for the write failures themselves.
QString tagWriteErrorText(ID3Edit::Result result)
{
    const QString head = u"Unable to write new tag information. "_s;
    switch (result) {
    case ID3Edit::NotMpeg: return head + u"The file holds no MPEG audio"_s;
    case ID3Edit::DamagedTag: return head + u"The file's ID3v2 tag is damaged"_s;
    case ID3Edit::BadValue: return head + u"A value cannot be stored in the tag"_s;
    case ID3Edit::FileNotFound: return head + u"File not found"_s;
    case ID3Edit::Unreadable: return head + u"The file cannot be read"_s;
    case ID3Edit::Replaced: return head + u"The file was moved or replaced by another program meanwhile"_s;
    default: return head + u"Read-only media, not enough rights or file in use"_s;
    }
}

/// The folder part of a path with exactly one trailing separator.
QString folderWithOneSeparator(const QString &path)
{
    QString folder = Common::getFolderPath(path);
    const QChar sep = Common::separator();
    while (folder.size() > 1 && folder.endsWith(sep) && folder.at(folder.size() - 2) == sep)
        folder.chop(1);
    return folder;
}

/// The message of a job stopped because its undo journal cannot be written.
Msg::Message journalFailure(const JobJournal &journal)
{
    return Msg::Message {u"Unable to write the undo journal. Disk full, read-only media or not enough rights."_s
                             + u'\n' + JobJournal::folder() + u'\n' + journal.error() + u'\n'
                             + u"Impossible to rename files."_s,
                         u"Undo journal error"_s, Msg::Icon::Critical, Msg::Buttons::Ok, std::nullopt};
}

/// The message of a job stopped because the cover to embed cannot be used.
Msg::Message coverFailure(const QString &file, const QString &problem)
{
    return Msg::Message {u"Unable to embed the cover in the files. "_s + problem + u'\n' + file + u'\n'
                             + u"Impossible to rename files."_s,
                         u"Cover error"_s, Msg::Icon::Critical, Msg::Buttons::Ok, std::nullopt};
}

/// The levels of a folder that do not exist now, top level first, out of the planned ones.
QStringList stillMissing(const QStringList &levels)
{
    QStringList missing;
    for (const QString &level : levels)
        if (!Common::folderExists(level))
            missing.append(level);
    return missing;
}

/// The folders the job may change, for its journal: the listed folder, the destination the
/// names are built under, and the folders of the playlist, the cover and the HTML page.
QStringList journalRoots(const AlbumRenamePlan &plan)
{
    const RenameJobInput &in = plan.input;
    QStringList roots {in.currentDirectory,
                       destinationPrefix(in.naming.destination, in.currentDirectory,
                                         parentFolderExists(in.currentDirectory))};
    if (!plan.rows.isEmpty()) {
        const QString last = plan.rows.last().builtPath;
        if (in.outputs.playlist)
            roots.append(albumOutputFolder(last, in.outputs.playlistDir));
        if (in.outputs.cover)
            roots.append(albumOutputFolder(last, in.outputs.coverDir));
        if (in.outputs.html)
            roots.append(albumOutputFolder(last, in.outputs.htmlDir));
    }
    for (QString &root : roots)
        root = RenameJobFiles::withoutTrailingSeparator(root);
    roots.removeDuplicates();
    return roots;
}

/// The message of a job refused because another holds its folder.
Msg::Message busyFailure()
{
    return Msg::Message {FolderLock::busyText() + u'\n' + u"Impossible to rename files."_s, u"Folder in use"_s,
                         Msg::Icon::Exclamation, Msg::Buttons::Ok, std::nullopt};
}

/// One run of the job: the state the rows share.
class Run
{
public:
    Run(const AlbumRenamePlan &plan, ResultLog &log, const RenameProgress &progress)
        : plan_(plan), in_(plan.input), log_(log), progress_(progress)
    {
    }

    RenameJobOutcome execute();

private:
    // Ends the job before anything is touched, with the reason it gives.
    RenameJobOutcome failBeforeStart(const Msg::Message &failure);
    void renameRows();
    bool prepareDestination();
    /// Records every file of the job ahead and flushes the journal once; false (with the
    /// failure) when the journal refused.
    bool recordAhead();
    void renameRow(const PlannedRename &planned);
    /// Moves the row's file as its verdict says (decided again when the disk changed since the
    /// plan); returns where the file is now, or empty when it stays.
    QString moveRow(const ResultLog::FileNodes &nodes, const PlannedRename &planned, const QString &oldPath);
    /// Carries out one verdict; an act that finds the disk changed decides again once when
    /// mayDecideAgain.
    QString actOn(const ResultLog::FileNodes &nodes, const PlannedRename &planned, const QString &oldPath,
                  const RowVerdict &verdict, bool mayDecideAgain);
    /// Journals the row's file before its first change unless it is recorded already; false
    /// (the job stopped) when the journal refused.
    bool recordRow(const ResultLog::FileNodes &nodes, const PlannedRename &planned, const QString &oldPath);
    /// Logs that the journal broke under the row and stops the job there.
    void stopForJournal(int node);
    [[nodiscard]] TagChange rowChange(const RenameRow &row) const;
    void logTagWrite(const ResultLog::FileNodes &nodes, const TagWriteOutcome &outcome);
    void finish();
    /// The album page in `folder`; coverPath: the cover file this run wrote, or empty.
    /// journalled: the guard that journals an output of these bytes' hash before it is written.
    void writePage(const QString &folder, const QString &outputName, const QString &coverPath,
                   const std::function<OutputGuard(const QByteArray &)> &journalled);
    void logFolderSteps(const QList<FolderStep> &steps);

    const AlbumRenamePlan &plan_;
    const RenameJobInput &in_;
    ResultLog &log_;
    const RenameProgress &progress_;
    RenameJobOutcome out_;
    QString sourceFolder_; ///< where the listed files are (after a letter-case rename of the folder)
    QStringList outputsWritten_;
    QStringList createdLevels_; ///< folder levels the job made for the first destination, deepest first
    PlaylistBuilder playlist_;
    /// The rows that arrived, with where they are now, for the album page.
    QList<std::pair<const PlannedRename *, QString>> pageRows_;
    ID3Edit tagger_;
    /// The picture every file gets as its front cover; null when none is embedded.
    ID3Picture embeddedCover_;
    ID3Tag theTag_;
    quint8 genreByte_ = 254;
    int foldersNode_ = -1; ///< the "Folders" node, made with its first line
    /// Written ahead of every change; when it cannot be, the job stops before that change.
    JobJournal journal_;
    bool journalBroken_ = false;
    bool recordedAhead_ = false;
    /// The temporary files of each destination folder, listed once for the whole job.
    QHash<QString, QStringList> temporaries_;
};

void Run::stopForJournal(int node)
{
    log_.error(node, u"Unable to write the undo journal: "_s + journal_.error()
                         + u". The job stops here; this file is left as it was."_s);
    log_.makeVisible(node);
    journalBroken_ = true;
    out_.failure = journalFailure(journal_);
}

void Run::logFolderSteps(const QList<FolderStep> &steps)
{
    for (const FolderStep &step : steps) {
        if (foldersNode_ < 0)
            foldersNode_ = log_.addOutputNode(ResultLog::Kind::Folders);
        if (step.problem)
            log_.warning(foldersNode_, step.text);
        else
            log_.info(foldersNode_, step.text);
        log_.makeVisible(foldersNode_);
    }
}

RenameJobOutcome Run::failBeforeStart(const Msg::Message &failure)
{
    out_.failure = failure;
    log_.countError();
    log_.refreshSummary();
    return out_;
}

void Run::renameRows()
{
    for (const PlannedRename &planned : plan_.rows) {
        if (journalBroken_)
            break;
        renameRow(planned);
        log_.refreshSummary();
        if (progress_)
            progress_(planned.fileNumber, int(plan_.rows.size()));
        // Stopped between two files: the one under way was finished, every file is whole.
        if (in_.stopRequested && &planned != &plan_.rows.last() && in_.stopRequested()) {
            out_.stopped = true;
            break;
        }
    }
}

RenameJobOutcome Run::execute()
{
    log_.clear();
    log_.setRowCount(int(in_.rows.size()));
    out_.newPaths = QStringList(in_.rows.size(), QString());
    // Without rows there is nothing to move: no folder is made or removed.
    if (in_.rows.isEmpty()) {
        log_.refreshSummary();
        return out_;
    }

    // One job at a time changes a folder: another (a tag batch, an undo, a second rename) that
    // holds the listed folder or the destination stops this one before anything is touched.
    const FolderLock lock(QStringList {in_.currentDirectory, plan_.firstDestinationFolder});
    if (!lock.isHeld())
        return failBeforeStart(busyFailure());

    // A cover that cannot be embedded stops the job while nothing is touched yet.
    if (in_.embedCover.on && usesV2(in_.tagVersions)) {
        const CoverForTags cover = coverForTags(in_.embedCover.file, in_.embedCover.fit);
        if (!cover.problem.isEmpty())
            return failBeforeStart(coverFailure(in_.embedCover.file, cover.problem));
        embeddedCover_ = cover.picture;
    }

    // The job never runs without its undo record: without a journal nothing is touched. The
    // records of the job, its folders and every file go to the disk together, with one flush,
    // before the first change they cover (recordAhead).
    journal_.hold();
    if (!journal_.begin(in_.currentDirectory, plan_.firstDestinationFolder, int(in_.rows.size()),
                        journalRoots(plan_)))
        return failBeforeStart(journalFailure(journal_));
    out_.journalId = journal_.id();

    // What an interrupted run left where this one works is put right first, so a file left
    // under a scratch name is there again for its row.
    const QString parent = Common::getParentFolder(in_.currentDirectory);
    if (!parent.isEmpty())
        logFolderSteps(cleanCrashLeftovers(parent, true));
    logFolderSteps(cleanCrashLeftovers(in_.currentDirectory));

    if (!prepareDestination() || !recordAhead()) {
        log_.countError();
        log_.refreshSummary();
        journal_.finish();
        return out_;
    }
    out_.started = true;
    if (!RenameJobFiles::sameFolder(out_.firstDestinationFolder, sourceFolder_))
        logFolderSteps(cleanCrashLeftovers(out_.firstDestinationFolder));
    genreByte_ = versionOneGenreByte(in_.album.genre);

    renameRows();
    if (out_.stopped) {
        if (foldersNode_ < 0)
            foldersNode_ = log_.addOutputNode(ResultLog::Kind::Folders);
        log_.warning(foldersNode_, u"Stopped by the user."_s);
        log_.refreshSummary();
        journal_.finish();
        return out_;
    }
    finish();
    journal_.finish();
    return out_;
}

bool Run::prepareDestination()
{
    sourceFolder_ = plan_.sourceFolder;
    const QString firstDest = plan_.firstDestinationFolder;
    out_.firstDestinationFolder = firstDest;
    QString scratch = sourceFolder_;
    scratch.chop(1);
    scratch += Common::CaseRenameSuffix + Common::separator();

    // A mask that only changes the letter case of the current folder renames the folder itself
    // (through a scratch name, as a case-insensitive file system needs), so everything else in
    // it moves along. A different folder of that spelling (case-sensitive systems) is used as it is.
    if (renamesFolderCase(sourceFolder_, firstDest)) {
        if (!journal_.recordCaseFolder(sourceFolder_, scratch, firstDest) || !journal_.commit()) {
            out_.failure = journalFailure(journal_);
            return false;
        }
        journal_.hold();
        sourceFolder_ = RenameJobFiles::renameFolderCase(sourceFolder_, scratch, firstDest);
        return true;
    }
    if (Common::folderExists(firstDest))
        return true;
    createdLevels_ = plan_.firstDestinationMissing;
    const QStringList levels = stillMissing(QStringList(createdLevels_.crbegin(), createdLevels_.crend()));
    if (!journal_.recordMakeFolders(levels) || !recordAhead()) {
        out_.failure = journalFailure(journal_);
        return false;
    }
    if (Common::createFolderPath(firstDest))
        return true;
    out_.failure = Msg::Message {u"Path creation error. Read-only media or not enough rights."_s + u'\n' + firstDest
                                     + u'\n' + u"Impossible to rename files."_s,
                                 u"Path creation error"_s, Msg::Icon::Critical, Msg::Buttons::Ok, std::nullopt};
    return false;
}

bool Run::recordAhead()
{
    if (recordedAhead_)
        return true;
    recordedAhead_ = true;
    // Every file that is there to move, where it is now and where it goes. Whether another
    // file holds its destination is told at its move (noteTaken): an earlier row may free it.
    for (const PlannedRename &planned : plan_.rows) {
        const QString &name = planned.row.fileName;
        const QString oldPath = sourceFolder_ + name;
        if (name.isEmpty() || name.contains(u'/') || name.contains(Common::separator()) || !Common::fileExists(oldPath))
            continue;
        if (!journal_.recordFile(planned.fileNumber, oldPath, planned.destination, false)) {
            out_.failure = journalFailure(journal_);
            return false;
        }
    }
    if (!journal_.commit()) {
        out_.failure = journalFailure(journal_);
        return false;
    }
    // What follows (each file's notes, its folders, the outputs) is written before its change
    // and flushed with the end.
    journal_.hold();
    return true;
}

void Run::renameRow(const PlannedRename &planned)
{
    const RenameRow &row = planned.row;
    const int position = planned.fileNumber;
    const ResultLog::FileNodes nodes = log_.addFileEntry(row.title);
    // The listed folder may have been given another letter case by now.
    const QString oldPath = sourceFolder_ + row.fileName;
    const QString &newPath = planned.destination;

    if (log_.destinationFolder().isEmpty())
        log_.setDestinationFolder(folderWithOneSeparator(planned.builtPath));

    for (const QString &note : planned.notes)
        log_.warning(nodes.warnings, note);
    if (!planned.notes.isEmpty()) {
        log_.expand(nodes.fileInfo);
        log_.expand(nodes.warnings);
        log_.expand(nodes.entry);
    }
    log_.info(nodes.fileInfo, u"Old file name : "_s + oldPath);
    log_.info(nodes.fileInfo, u"New file name : "_s + newPath);

    const QString path = moveRow(nodes, planned, oldPath);
    if (path.isEmpty())
        return;

    if (!RenameJobFiles::clearReadOnly(path)) {
        log_.error(nodes.warnings, u"Read-only file : "_s + path);
        return;
    }
    out_.newPaths[position - 1] = path;
    // The file's own tags are loaded first: the fields the change sets replace theirs and
    // everything else the file carries (year, pictures, lyrics, other frames) stays.
    tagger_.Load(path);
    const TagWriteOutcome outcome =
        writeTagChange(path, tagger_, rowChange(row), journal_, position, {in_.keptBytes, in_.afterTagWrite});
    if (outcome.journalFailed) {
        stopForJournal(nodes.warnings);
        return;
    }
    logTagWrite(nodes, outcome);
    log_.makeVisible(nodes.entry);
    if (in_.outputs.playlist)
        playlist_.addEntry(position, path, in_.outputs.playlistDir);
    if (in_.outputs.html)
        pageRows_.append({&planned, path});
    log_.countRenamed();
}

QString Run::moveRow(const ResultLog::FileNodes &nodes, const PlannedRename &planned, const QString &oldPath)
{
    // The plan decided the row. Only a disk that changed since (an earlier row's file arrived or
    // stayed, the clean-up of a crash's leftovers, another program) is decided again, by the
    // same rule.
    const QString &newPath = planned.destination;
    if (stampOf(oldPath) == planned.verdict.source && stampOf(newPath) == planned.verdict.destination)
        return actOn(nodes, planned, oldPath, planned.verdict, true);
    return actOn(nodes, planned, oldPath, decideRow(planned.row.fileName, oldPath, newPath), true);
}

bool Run::recordRow(const ResultLog::FileNodes &nodes, const PlannedRename &planned, const QString &oldPath)
{
    // A file that turned up after the records were written is recorded now.
    if (Common::fileExists(oldPath) && !journal_.hasRecord(planned.fileNumber)
        && !journal_.recordFile(planned.fileNumber, oldPath, planned.destination)) {
        stopForJournal(nodes.warnings);
        return false;
    }
    return true;
}

QString Run::actOn(const ResultLog::FileNodes &nodes, const PlannedRename &planned, const QString &oldPath,
                   const RowVerdict &verdict, bool mayDecideAgain)
{
    using Action = RowVerdict::Action;
    const QString &newPath = planned.destination;
    switch (verdict.action) {
    case Action::Refused:
        // The other file keeps the destination: the undo must not take it for this one.
        if ((verdict.refusal == RowVerdict::Refusal::DestinationTaken
             || verdict.refusal == RowVerdict::Refusal::SameDestination)
            && journal_.hasRecord(planned.fileNumber))
            journal_.noteTaken(planned.fileNumber);
        if (verdict.warningOnly)
            log_.warning(nodes.warnings, verdict.logText);
        else
            log_.error(nodes.warnings, verdict.logText);
        return {};
    case Action::InPlace:
        if (!recordRow(nodes, planned, oldPath))
            return {};
        log_.info(nodes.warnings, verdict.logText);
        return newPath;
    case Action::FinishMove:
        if (!recordRow(nodes, planned, oldPath))
            return {};
        if (Common::finishInterruptedMove(oldPath, newPath)) {
            log_.info(nodes.warnings, verdict.logText);
            return newPath;
        }
        break;
    case Action::Move: {
        // Rows whose folder differs from the first destination (a mask with per-track folder
        // levels) get their folder here.
        const QString folder = Common::getFolderPath(newPath);
        if (!Common::folderExists(folder)) {
            const QStringList missing = missingFolderLevels(folder);
            if (!journal_.recordMakeFolders(QStringList(missing.crbegin(), missing.crend()))) {
                stopForJournal(nodes.warnings);
                return {};
            }
            (void)Common::createFolderPath(folder);
        }
        // A copy that a crash stopped on its way to this destination goes, now that the file is
        // about to be copied there again.
        auto listed = temporaries_.find(folder);
        if (listed == temporaries_.end())
            listed = temporaries_.insert(folder, TemporaryFiles::inFolder(folder));
        for (const FolderStep &step : dropCopiesMadeFor(newPath, oldPath, *listed))
            log_.info(nodes.warnings, step.text);
        if (!recordRow(nodes, planned, oldPath))
            return {};
        const MoveResult result = Common::moveFile(oldPath, newPath);
        if (result == MoveResult::Moved) {
            journal_.noteMoved(planned.fileNumber, newPath);
            return newPath;
        }
        if (result != MoveResult::DestinationExists) {
            log_.error(nodes.warnings, moveErrorText(result));
            return {};
        }
        break;
    }
    }
    // The disk changed between the look and the act: what is there now decides.
    if (mayDecideAgain)
        return actOn(nodes, planned, oldPath, decideRow(planned.row.fileName, oldPath, newPath), false);
    if (journal_.hasRecord(planned.fileNumber))
        journal_.noteTaken(planned.fileNumber);
    log_.error(nodes.warnings, u"Destination file already exists"_s + u". It changed while the job was running."_s);
    return {};
}

TagChange Run::rowChange(const RenameRow &row) const
{
    TagChange change;
    change.version = in_.id3v2Version;
    if (usesV2(in_.tagVersions)) {
        change.v2 = rowV2Fields(in_, row);
        change.writeV2 = true;
        if (!embeddedCover_.isNull())
            change.frontCover = embeddedCover_;
    }
    if (usesV1(in_.tagVersions))
        change.v1 = V1Values {row.title,         in_.album.artist, in_.album.album, in_.album.year,
                              in_.album.comment, V1Rules::jobTrack(row.trackText), genreByte_};
    return change;
}

void Run::logTagWrite(const ResultLog::FileNodes &nodes, const TagWriteOutcome &outcome)
{
    if (outcome.v2 != ID3Edit::Ok)
        log_.error(nodes.warnings, tagWriteErrorText(outcome.v2));
    if (outcome.v1 != ID3Edit::Ok)
        log_.error(nodes.warnings, tagWriteErrorText(outcome.v1));
    if (!outcome.differences.isEmpty()) {
        log_.error(nodes.warnings, u"Verification failed: "_s + outcome.differences.join(u"; "_s));
        if (outcome.putBack)
            log_.info(nodes.warnings, u"The file was put back as it was before the job."_s);
        else
            log_.error(nodes.warnings, u"The file could not be put back as it was before the job: "_s
                                           + outcome.putBackFailure);
    }
    // The lines below show what the file really holds: the write read the tags back fresh.
    theTag_.setRecord(outcome.v1After);
    const TagKeywords::TagSources sources {theTag_, tagger_};
    for (const QString &key : {u"Title"_s, u"Artist"_s, u"Album"_s, u"Year"_s, u"Genre"_s, u"Comment"_s, u"Track"_s})
        log_.tag(nodes.tagInfo, key + u" : "_s + TagKeywords::getTagValue(key, u"v1v2"_s, sources).value);
}

void Run::writePage(const QString &folder, const QString &outputName, const QString &coverPath,
                    const std::function<OutputGuard(const QByteArray &)> &journalled)
{
    AlbumPageContent page;
    page.album = in_.album;
    for (const auto &[planned, path] : std::as_const(pageRows_)) {
        const qint64 number = qint64(Basic::val(planned->row.trackText));
        page.tracks.append({QString::number(number > 0 ? number : planned->fileNumber), planned->row.title,
                            trackSeconds(path), relativeAddress(folder, path)});
    }
    // Without a cover file of this run the page holds the downloaded picture itself.
    if (!coverPath.isEmpty()) {
        page.coverAddress = relativeAddress(folder, coverPath);
    } else if (in_.outputs.coverShown && !in_.outputs.coverDownloadFileName.isEmpty()) {
        QFile picture(in_.outputs.coverDownloadFileName);
        if (picture.size() <= MaxEmbeddedPictureBytes && picture.open(QIODevice::ReadOnly))
            page.coverAddress = embeddedPictureAddress(picture.read(MaxEmbeddedPictureBytes + 1));
    }
    const QByteArray bytes = albumPageBytes(page);
    outputsWritten_.append(
        writeAlbumPage(log_, bytes, folder, outputName, in_.joliet, journalled(JobJournal::hashBytes(bytes))));
}

void Run::finish()
{
    const QString outputName = albumOutputName(in_.album, in_.naming);
    // Each output is journalled (with the file it replaces) just before it is written.
    const auto journalled = [this](const QByteArray &newHash) {
        return [this, newHash](const QString &path, int node) {
            if (journal_.recordOutput(path, newHash))
                return true;
            stopForJournal(node);
            return false;
        };
    };
    using Kind = PlannedOutput::Kind;
    // Every output goes where the plan put it: beside the last row.
    const auto folderOf = [this](Kind kind) { return Common::getFolderPath(plan_.output(kind)->path); };
    if (plan_.output(Kind::Playlist) && !journalBroken_) {
        const QString folder = folderOf(Kind::Playlist);
        const QByteArray hash = JobJournal::hashBytes(Common::textFileBytes(playlist_.finalText()));
        outputsWritten_.append(writePlaylist(log_, playlist_, folder, outputName, in_.joliet, journalled(hash)));
    }
    QString coverPath;
    if (plan_.output(Kind::Cover) && !journalBroken_) {
        const QString folder = folderOf(Kind::Cover);
        const QByteArray hash = JobJournal::hashFile(in_.outputs.coverDownloadFileName);
        outputsWritten_.append(copyCover(log_, in_.outputs.coverDownloadFileName, folder, outputName, in_.joliet,
                                         journalled(hash)));
        // The page links the cover only when the file there really is this album's picture.
        if (!hash.isEmpty() && JobJournal::hashFile(outputsWritten_.last()) == hash)
            coverPath = outputsWritten_.last();
    }
    if (plan_.output(Kind::Page) && !journalBroken_)
        writePage(folderOf(Kind::Page), outputName, coverPath, journalled);
    // The old folder goes only when it really is another folder than the destination, as the
    // file system sees it: the plan's verdict is decided again on the folder as it is now (after
    // a letter-case rename both spellings name one folder).
    const PlannedOutput *oldFolder = plan_.output(Kind::OldFolder);
    bool tidy = oldFolder && !journalBroken_ && Common::folderExists(sourceFolder_)
        && !oldFolderStays(sourceFolder_, out_.firstDestinationFolder);
    if (tidy && !journal_.recordOldFolder(sourceFolder_, log_.destinationFolder())) {
        if (foldersNode_ < 0)
            foldersNode_ = log_.addOutputNode(ResultLog::Kind::Folders);
        stopForJournal(foldersNode_);
        tidy = false;
    }
    if (tidy)
    {
        QStringList albumNames;
        for (int i = 0; i < in_.rows.size(); ++i)
            albumNames << in_.rows.at(i).fileName << Common::getFileName(out_.newPaths.value(i));
        albumNames.removeAll(QString());
        const RenameJobFiles::FolderTidying tidied = RenameJobFiles::tidyOldFolder(
            sourceFolder_, log_.destinationFolder(), albumNames, outputsWritten_);
        logFolderSteps(tidied.steps);
        out_.oldFolderRemoved = tidied.removed;
    }
    // The first destination is built without the track's own values: with a folder level made
    // of "%filenumber" it names a folder no row goes to. What the job made for it and left
    // empty goes again; the folder shown as the destination always stays.
    for (const QString &level : std::as_const(createdLevels_)) {
        if (RenameJobFiles::sameFolder(level, log_.destinationFolder()) || !QDir().rmdir(level))
            break;
    }
    log_.refreshSummary();
}

} // namespace

RenameJobOutcome executeRenamePlan(const AlbumRenamePlan &plan, ResultLog &log, const RenameProgress &progress)
{
    Run run(plan, log, progress);
    return run.execute();
}

RenameJobOutcome runAlbumRenameJob(const RenameJobInput &input, ResultLog &log, const RenameProgress &progress)
{
    return executeRenamePlan(planAlbumRename(input), log, progress);
}
