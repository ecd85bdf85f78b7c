// varnelt-cli tag DIR [options]
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/TagOptions.h"
#include "foundation/FolderLock.h"
#include "foundation/PrintableText.h"
#include "album/DirectoryListing.h"
#include "album/Mp3InfoText.h"
#include "jobs/TagEditing.h"
#include "jobs/TagQuestions.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

using Op = TagCommandOptions::Operation;

QString versionWords(TagVersions versions)
{
    return byTagState(usesV1(versions), usesV2(versions), u"ID3v1 + ID3v2"_s, u"ID3v1"_s, u"ID3v2"_s, {});
}

/// The question the operation asks before it starts; the CLI's copies and removals are those
/// of several files.
Msg::Message questionOf(const TagCommandOptions &options, bool onlySelected)
{
    switch (options.operation) {
    case Op::Number:
        return TagQuestions::numberTracks(onlySelected, options.mode);
    case Op::CopyV1ToV2:
        return TagQuestions::copyAll(TagCopy::V1ToV2, onlySelected);
    case Op::CopyV2ToV1:
        return TagQuestions::copyAll(TagCopy::V2ToV1, onlySelected);
    case Op::Remove:
        return TagQuestions::removeAll(onlySelected, options.mode);
    default:
        return TagQuestions::fill(onlySelected, options.mode);
    }
}

/// The tag versions the operation writes or removes.
TagVersions versionsOf(const TagCommandOptions &options)
{
    if (options.operation == Op::CopyV1ToV2)
        return TagVersions::V2Only;
    if (options.operation == Op::CopyV2ToV1)
        return TagVersions::V1Only;
    return options.mode;
}

/// The kind of change the operation is, for its journal.
ChangeKind kindOf(const TagCommandOptions &options)
{
    switch (options.operation) {
    case Op::Fill: return ChangeKind::Fill;
    case Op::Set: return ChangeKind::EditorSave;
    case Op::Number: return ChangeKind::Numbering;
    case Op::CopyV1ToV2: return ChangeKind::CopyV1ToV2;
    case Op::CopyV2ToV1: return ChangeKind::CopyV2ToV1;
    case Op::Remove:
    case Op::None: break;
    }
    return ChangeKind::RemoveTags;
}

/// File number k (from 1) of n.
TagFileResult runOnFile(const TagCommandOptions &options, const QString &path, int k, int n, TagJournalSlot slot)
{
    // The rename page's tag choice follows the mode drop-down, so it includes version 1 exactly
    // when the mode does.
    const bool removeEmptyV1 = usesV1(options.mode);
    switch (options.operation) {
    case Op::Fill:
        return fillTags(path, options.fill, options.values, options.mode, removeEmptyV1, options.id3v2Version, slot);
    case Op::Set: {
        const TagEditorFile file = loadTagEditorValues(path);
        TagEditorValues values = file.values;
        applySetFields(options, values);
        return saveTagEditorValues(path, values, options.mode, removeEmptyV1, options.id3v2Version, slot);
    }
    case Op::Number:
        return numberTrack(path, k, n, options.total, options.mode, removeEmptyV1, options.id3v2Version, slot);
    case Op::CopyV1ToV2:
        return copyTagsV1ToV2(path, removeEmptyV1, options.id3v2Version, slot);
    case Op::CopyV2ToV1:
        return copyTagsV2ToV1(path, removeEmptyV1, slot);
    case Op::Remove:
    case Op::None:
        break;
    }
    return removeTags(path, options.mode, RemovalScope::AllFiles, slot);
}

} // namespace

int runTagCommand(const QStringList &args)
{
    TagCommandOptions options;
    if (const QString problem = parseTagOptions(args, options); !problem.isEmpty())
        return Cli::fail(problem);
    if (!QFileInfo(options.folder).isDir())
        return Cli::fail(u"no such folder: %1"_s.arg(printableText(options.folder)));
    // Held from the listing to the last file: a rename of the folder meanwhile would move the
    // files away under the batch.
    const FolderLock lock(QFileInfo(options.folder).absoluteFilePath());
    if (!lock.isHeld())
        return Cli::fail(FolderLock::busyText(), Cli::JobErrors);
    const QStringList names = findMp3Files(options.folder, ListingOrder::FileName);
    if (names.isEmpty())
        return Cli::fail(u"no MP3 files in %1"_s.arg(printableText(options.folder)));
    for (const QString &only : std::as_const(options.only)) {
        if (!names.contains(only))
            return Cli::fail(u"--only: no MP3 file named '%1' in %2"_s.arg(printableText(only),
                                                                             printableText(options.folder)));
    }
    Cli::installPresenter(options.yes);

    const bool onlySelected = !options.only.isEmpty();
    QStringList used;
    for (const QString &name : names) {
        if (!onlySelected || options.only.contains(name))
            used << name;
    }
    // The editor's save of one file asks nothing; every batch asks first.
    if (options.operation != Op::Set
        && Msg::ask(questionOf(options, onlySelected)) != Msg::Answer::Yes)
        return Cli::fail(u"nothing written: the question was answered No (--yes answers Yes)"_s, Cli::JobErrors);

    const QString done = versionWords(versionsOf(options))
        + (options.operation == Op::Remove ? u" removed"_s : u" written"_s);
    const QDir folder(options.folder);
    const int n = int(used.size());
    QStringList paths;
    for (const QString &name : std::as_const(used))
        paths << folder.filePath(name);
    // Every file is recorded for the undo before the first one is written.
    TagBatch batch;
    if (!batch.begin(kindOf(options), folder.absolutePath(), paths))
        return Cli::fail(TagBatch::journalFailureText(batch.error()).replace(u'\n', u' '), Cli::JobErrors);
    Cli::Progress progress;
    bool anyFailed = false;
    for (int i = 0; i < n; ++i) {
        progress.show(i, n, used.at(i));
        const TagFileResult result = runOnFile(options, paths.at(i), i + 1, n, batch.slot(i + 1));
        anyFailed = anyFailed || !result.done;
        const QString outcome = result.done
            ? done + u" (tags now: "_s + tagVersionText(result.hasV1, result.hasV2) + u')'
            : result.text();
        progress.finish();
        Cli::out() << printableText(used.at(i)) << ": " << outcome << '\n';
    }
    Cli::out().flush();
    return anyFailed ? Cli::JobErrors : Cli::Success;
}
