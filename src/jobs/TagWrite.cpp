#include "jobs/TagWrite.h"

#include <QScopeGuard>

#include "foundation/Basic.h"
#include "jobs/JobJournal.h"

using namespace Qt::StringLiterals;

namespace {

void setV1(ID3Edit &tagger, const V1Values &v1)
{
    tagger.setV1Title(v1.title);
    tagger.setV1Artist(v1.artist);
    tagger.setV1Album(v1.album);
    tagger.setV1Year(v1.year);
    tagger.setV1Comment(v1.comment);
    tagger.setV1Track(v1.track);
    tagger.setV1Genre(v1.genre);
}

/// Gives the file its bytes from before the write: the journal's tags around its audio, or,
/// when the audio itself changed, the bytes read before the write.
void putBack(const QString &path, const JobJournal &journal, int fileNumber,
             const TagWriteCheck::FileBefore &before, TagWriteOutcome &out)
{
    const FileRestore restored = journal.restoreFile(fileNumber);
    out.putBack = restored.ok || (before.bytes && TagWriteCheck::putBack(path, *before.bytes));
    if (!out.putBack)
        out.putBackFailure = restored.message.isEmpty() ? u"Unknown error"_s : restored.message;
}

// The tag object filled from the bytes of the file's digest, which was just read from the disk.
void reload(ID3Edit &tagger, const QString &path, const FileDigest &digest)
{
    if (digest.ok)
        tagger.LoadRead(path, digest.tagRegion, digest.trailer, digest.size);
    else
        tagger.Load(path);
}

} // namespace

TagWriteOutcome writeTagChange(const QString &path, ID3Edit &tagger, const TagChange &change, JobJournal &journal,
                               int fileNumber, const TagWriteOptions &options)
{
    TagWriteOutcome out;
    // Nothing is written that the journal could not undo.
    if (!journal.hasRecord(fileNumber) || !journal.recordTagWrite(fileNumber)) {
        out.journalFailed = true;
        return out;
    }
    // The bytes that put the file back when the write went wrong, and the audio hash the
    // check compares with (read with the journal's record when that read is still true).
    TagWriteCheck::FileBefore before = TagWriteCheck::readBefore(path, options.keptBytes);

    TagWriteCheck::WrittenTags written;
    written.audioHash = before.audioHash;
    // A file written anew is synced with the others of the change, when the journal ends.
    tagger.setSyncGroup(&journal.syncGroup());
    const auto ungroup = qScopeGuard([&tagger] { tagger.setSyncGroup(nullptr); });
    if (change.removeV2) {
        out.v2 = tagger.RemoveV2(path);
    } else if (change.writesV2()) {
        for (const TagWriteCheck::V2Field &field : change.v2)
            (tagger.*field.write)(field.value);
        tagger.setV2Version(change.version);
        if (change.picture)
            tagger.setPicture(*change.picture);
        if (change.frontCover)
            tagger.setFrontCover(*change.frontCover);
        out.v2 = tagger.SaveV2(path);
        if (out.v2 == ID3Edit::Ok) {
            written.v2 = TagWriteCheck::storedForms(tagger, change.v2);
            written.picture = tagger.Picture();
        }
    }
    if (change.removeV1) {
        out.v1 = tagger.RemoveV1(path);
    } else if (change.v1) {
        setV1(tagger, *change.v1);
        out.v1 = tagger.SaveV1(path);
        if (out.v1 == ID3Edit::Ok)
            written.v1 = tagger.v1Record();
    }
    if (options.afterWrite)
        options.afterWrite(path);

    // Read fresh from the disk once: the hashes, and the tags the check compares.
    FileDigest now = JobJournal::digestFile(path);
    reload(tagger, path, now);
    out.v1After = now.trailer.size() == ID3::TrailerSize ? ID3::decodeTrailer(now.trailer) : ID3::ID3v1Record {};
    const QByteArray audioNow = now.ok ? now.audioHash : QByteArray("unreadable");
    if (!written.audioHash.isEmpty() && audioNow != written.audioHash)
        out.differences.append(u"the audio data changed"_s);
    written.audioHash.clear();
    out.differences += TagWriteCheck::differences(written, path, tagger, out.v1After);
    if (change.removeV1 && out.v1 == ID3Edit::Ok && out.v1After.exists)
        out.differences.append(u"the ID3v1 tag is still there"_s);
    if (change.removeV2 && out.v2 == ID3Edit::Ok && tagger.HasV2())
        out.differences.append(u"the ID3v2 tag is still there"_s);

    if (!out.differences.isEmpty()) {
        putBack(path, journal, fileNumber, before, out);
        now = JobJournal::digestFile(path);
        reload(tagger, path, now);
        out.v1After = now.trailer.size() == ID3::TrailerSize ? ID3::decodeTrailer(now.trailer) : ID3::ID3v1Record {};
    }
    journal.noteTaggedHash(fileNumber, now.ok ? now.hash : QByteArray());
    return out;
}

namespace V1Rules {

quint8 jobTrack(const QString &trackText)
{
    const qint64 track = qint64(Basic::val(trackText));
    return track >= 0 && track <= 255 ? quint8(track) : quint8(0);
}

quint8 editorTrack(const QString &trackText)
{
    const double track = Basic::val(trackText);
    return Basic::isNumeric(trackText) && track >= 1 && track <= 254 ? quint8(track) : quint8(0);
}

QString editorYear(const QString &yearText)
{
    return Basic::isNumeric(yearText) ? Basic::trim(yearText) : QString();
}

quint8 genreOfText(const QString &genreText)
{
    const QString wanted = Basic::trim(genreText).toLower();
    if (wanted.isEmpty())
        return 254;
    const QStringList &names = ID3Edit::genreNames();
    for (qsizetype i = 0; i < names.size(); ++i)
        if (Basic::trim(names.at(i)).toLower() == wanted)
            return quint8(i);
    return quint8(names.indexOf(u"Other"_s));
}

quint8 genreOfEntry(int item)
{
    return item >= 0 && item < ID3Edit::genreNames().size() ? quint8(item) : quint8(254);
}

} // namespace V1Rules
