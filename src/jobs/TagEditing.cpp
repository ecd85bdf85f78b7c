#include "jobs/TagEditing.h"

#include "audio/ID3.h"
#include "audio/SafeFileRewrite.h"
#include "audio/TagAccess.h"
#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "album/DirectoryListing.h"
#include "album/Mp3InfoText.h"
#include "jobs/RenameJobFiles.h"
#include "jobs/TagWrite.h"

#include <QFile>
#include <QFileInfo>

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

/// The texts of one command for a file it cannot work on.
struct FileTexts
{
    QString notFound;
    QString readOnly;
};

const FileTexts saveTexts{u"Can't save ID3 Tag informations. File not found."_s,
                          u"Can't save ID3 Tag informations. Read-only media or not enough rights."_s};

const QString v2SaveFailed = u"Can't save ID3v2 Tag informations."_s;
const QString v1SaveFailed = u"Error. Can't save ID3v1 Tag informations."_s;

/// Adds the failure text of a write, with its cause when another program moved or replaced the
/// file while it was rewritten; false when the write failed.
bool checkWrite(ID3Edit::Result result, TagFileResult &out, const QString &text)
{
    if (result == ID3Edit::Ok)
        return true;
    out.messages << (result == ID3Edit::Replaced
                         ? text + u" The file was moved or replaced by another program meanwhile."_s
                         : text);
    return false;
}

/// Why the file cannot be worked on, or nothing: missing, or read-only and not to be made writable.
std::optional<QString> fileProblem(const QString &path, const FileTexts &texts)
{
    if (!Common::fileExists(path))
        return texts.notFound;
    if (SafeFileRewrite::isReadOnlyFile(path)
        && !(RenameJobFiles::clearReadOnly(path) && !SafeFileRewrite::isReadOnlyFile(path)))
        return texts.readOnly;
    return std::nullopt;
}

/// The tag state of the file as it is now on disk (one small read).
void readFlags(const QString &path, TagFileResult &result)
{
    const QFileInfo info(path);
    const ListedFile listed = readListedFile(info.path(), info.fileName(), false);
    result.hasV1 = listed.hasV1;
    result.hasV2 = listed.hasV2;
}

TagFileResult failed(const QString &message)
{
    TagFileResult result;
    result.messages << message;
    return result;
}

using TextField = QString TagEditorValues::*;

/// One version-2 field of the editor: its box, its name and the tag object's members.
struct EditorV2Field
{
    TextField field;
    const char16_t *name;
    void (ID3Edit::*write)(const QString &);
    QString (ID3Edit::*read)() const;
};

/// The version-2 fields the editor writes.
const QList<EditorV2Field> &v2Fields()
{
    static const QList<EditorV2Field> fields = {
        {&TagEditorValues::title, u"Title", &ID3Edit::setTitle, &ID3Edit::Title},
        {&TagEditorValues::artist, u"Artist", &ID3Edit::setArtist, &ID3Edit::Artist},
        {&TagEditorValues::album, u"Album", &ID3Edit::setAlbum, &ID3Edit::Album},
        {&TagEditorValues::year, u"Year", &ID3Edit::setYear, &ID3Edit::Year},
        {&TagEditorValues::comment, u"Comment", &ID3Edit::setComment, &ID3Edit::Comment},
        {&TagEditorValues::track, u"Track", &ID3Edit::setTrack, &ID3Edit::Track},
        {&TagEditorValues::genre, u"Genre", &ID3Edit::setGenre, &ID3Edit::Genre},
        {&TagEditorValues::composer, u"Composer", &ID3Edit::setComposer, &ID3Edit::Composer},
        {&TagEditorValues::originalArtist, u"Original artist", &ID3Edit::setOriginalArtist, &ID3Edit::OriginalArtist},
        {&TagEditorValues::encodedBy, u"Encoded by", &ID3Edit::setEncodedBy, &ID3Edit::EncodedBy},
        {&TagEditorValues::userUrl, u"URL", &ID3Edit::setUserUrl, &ID3Edit::UserUrl},
        {&TagEditorValues::userText, u"User text", &ID3Edit::setUserText, &ID3Edit::UserText},
        {&TagEditorValues::artistUrl, u"Artist URL", &ID3Edit::setArtistUrl, &ID3Edit::ArtistUrl},
        {&TagEditorValues::preference, u"Preference", &ID3Edit::setPreference, &ID3Edit::Preference},
        {&TagEditorValues::tempo, u"Tempo", &ID3Edit::setTempo, &ID3Edit::Tempo},
        {&TagEditorValues::mood, u"Mood", &ID3Edit::setMood, &ID3Edit::Mood},
        {&TagEditorValues::situation, u"Situation", &ID3Edit::setSituation, &ID3Edit::Situation},
        {&TagEditorValues::copyright, u"Copyright", &ID3Edit::setCopyright, &ID3Edit::Copyright},
        {&TagEditorValues::lyrics, u"Lyrics", &ID3Edit::setLyrics, &ID3Edit::Lyrics},
    };
    return fields;
}

/// The editor's values of a loaded tag object.
TagEditorValues valuesOf(const ID3Edit &tags)
{
    // The version-1 record the object read; no second read of the trailer.
    ID3Tag theTag;
    ID3::ID3v1Record record;
    record.exists = tags.HasV1();
    record.title = tags.V1Title();
    record.artist = tags.V1Artist();
    record.album = tags.V1Album();
    record.year = tags.V1Year();
    record.comment = tags.V1Comment();
    record.genre = tags.V1Genre();
    record.track = tags.V1Track() == 0 ? qint16(-1) : qint16(tags.V1Track());
    theTag.setRecord(record);
    const TagKeywords::TagSources sources{theTag, tags};
    const auto v1 = [&](const QString &keyword) { return TagKeywords::getTagValue(keyword, u"v1"_s, sources).value; };

    TagEditorValues values;
    values.v1Title = v1(u"Title"_s);
    values.v1Artist = v1(u"Artist"_s);
    values.v1Album = v1(u"Album"_s);
    values.v1Year = v1(u"Year"_s);
    values.v1Comment = v1(u"Comment"_s);
    values.v1Track = v1(u"Track"_s);
    const QString genre = v1(u"Genre"_s);
    values.v1Genre = genre.isEmpty() ? NoGenreItem : genre.toInt();

    values.title = tags.Title();
    values.artist = tags.Artist();
    values.album = tags.Album();
    values.year = tags.Year();
    values.comment = tags.Comment();
    values.track = tags.Track();
    values.genre = tags.Genre();
    values.composer = tags.Composer();
    values.originalArtist = tags.OriginalArtist();
    values.encodedBy = tags.EncodedBy();
    values.userUrl = tags.UserUrl();
    values.userText = tags.UserText();
    values.artistUrl = tags.ArtistUrl();
    values.preference = tags.Preference();
    values.tempo = tags.Tempo();
    values.mood = tags.Mood();
    values.situation = tags.Situation();
    values.copyright = tags.Copyright();
    values.lyrics = tags.Lyrics();
    values.picture = tags.Picture();
    return values;
}

bool allV1Empty(const TagEditorValues &values)
{
    for (const QString *text : {&values.v1Title, &values.v1Artist, &values.v1Album, &values.v1Year, &values.v1Comment,
                                &values.v1Track}) {
        if (!Basic::trim(*text).isEmpty())
            return false;
    }
    return values.v1Genre < 0 || values.v1Genre >= ID3Edit::genreNames().size();
}

/// The version-1 fields by the editor's rules.
V1Values editorV1(const TagEditorValues &values)
{
    return V1Values {values.v1Title,
                     values.v1Artist,
                     values.v1Album,
                     V1Rules::editorYear(values.v1Year),
                     values.v1Comment,
                     V1Rules::editorTrack(values.v1Track),
                     V1Rules::genreOfEntry(values.v1Genre)};
}

/// Carries out one file's change through its journal slot and puts the outcome into the words
/// of the command (`v2Failed`, `v1Failed` for a failed write or removal).
TagFileResult writeChange(const QString &path, ID3Edit &tags, const TagChange &change, TagJournalSlot slot,
                          const QString &v2Failed, const QString &v1Failed)
{
    TagFileResult result;
    const TagWriteOutcome outcome = writeTagChange(path, tags, change, *slot.journal, slot.fileNumber);
    if (outcome.journalFailed) {
        result.messages << TagBatch::journalFailureText(slot.journal->error());
    } else {
        checkWrite(outcome.v2, result, v2Failed);
        checkWrite(outcome.v1, result, v1Failed);
        if (!outcome.differences.isEmpty()) {
            const QString what = u"The file does not hold what was written ("_s + outcome.differences.join(u"; "_s) + u")."_s;
            result.messages << (outcome.putBack ? QString(what + u" It was put back as it was before."_s)
                                                : QString(what + u" It could not be put back as it was before: "_s
                                                          + outcome.putBackFailure));
        }
    }
    result.done = result.messages.isEmpty();
    readFlags(path, result);
    return result;
}

/// Runs `work` with the slot of the file: the batch's, or a journal of the file's own, as a change
/// of `kind`. The journal is begun before anything is looked at, so the record keeps the file as
/// it was, its permissions too.
template <typename Work>
TagFileResult journalled(const QString &path, ChangeKind kind, TagJournalSlot slot, Work &&work)
{
    TagBatch own;
    if (!slot.journal) {
        if (!own.begin(kind, QFileInfo(path).absolutePath(), {path}))
            return failed(TagBatch::journalFailureText(own.error()));
        slot = own.slot(1);
    }
    return work(slot);
}

/// The editor's save of a file whose tags `tags` holds (loaded, showing `before`) with the
/// values `after`; the file was checked for presence and write access.
TagFileResult saveLoaded(const QString &path, ID3Edit &tags, const TagEditorValues &before,
                         const TagEditorValues &after, TagVersions mode, bool removeEmptyV1Allowed,
                         ID3v2Version version, TagJournalSlot slot)
{
    TagChange change;
    change.version = version;
    if (usesV2(mode)) {
        const bool newPicture = after.picture != before.picture;
        if (newPicture && !after.picture.isNull()) {
            if (const QString problem = pictureProblem(after.picture.data); !problem.isEmpty()) {
                TagFileResult result = failed(problem);
                readFlags(path, result);
                return result;
            }
        }
        // Only what differs from the file is written: everything else it holds stays.
        for (const EditorV2Field &f : v2Fields())
            if (after.*f.field != before.*f.field)
                change.v2.append({QString::fromUtf16(f.name), after.*f.field, f.write, f.read});
        if (newPicture)
            change.picture = after.picture;
    }
    if (usesV1(mode)) {
        if (removeEmptyV1Allowed && allV1Empty(after))
            change.removeV1 = tags.HasV1();
        else
            change.v1 = editorV1(after);
    }
    // The version-1 trailer is never touched by the version-2 write: in mode 2 it stays byte
    // for byte what it was.
    return writeChange(path, tags, change, slot, v2SaveFailed, v1SaveFailed);
}

/// Loads the file and saves it with its own values changed by `change`.
template <typename Change>
TagFileResult loadChangeSave(const QString &path, ChangeKind kind, TagJournalSlot slot, TagVersions mode,
                             bool removeEmptyV1Allowed, ID3v2Version version, Change &&change)
{
    return journalled(path, kind, slot, [&](TagJournalSlot in) {
        if (const auto problem = fileProblem(path, saveTexts))
            return failed(*problem);
        ID3Edit tags;
        tags.Load(path);
        const TagEditorValues before = valuesOf(tags);
        TagEditorValues after = before;
        change(after);
        return saveLoaded(path, tags, before, after, mode, removeEmptyV1Allowed, version, in);
    });
}

/// The picture type of the bytes by their signature, empty when they are none of the four.
QString pictureMimeType(const QByteArray &bytes)
{
    if (bytes.size() >= 4 && bytes.startsWith("\xFF\xD8\xFF"))
        return u"image/jpeg"_s;
    // PNG: the signature, then the IHDR chunk first.
    if (bytes.size() >= 16 && bytes.startsWith("\x89PNG\r\n\x1A\n") && bytes.mid(12, 4) == "IHDR")
        return u"image/png"_s;
    if (bytes.size() >= 13 && (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a")))
        return u"image/gif"_s;
    // BMP: "BM", then after the file header one of the known info header sizes.
    if (bytes.size() >= 26 && bytes.startsWith("BM")) {
        const auto byte = [&bytes](int i) { return quint32(quint8(bytes.at(i))); };
        const quint32 infoSize = byte(14) | byte(15) << 8 | byte(16) << 16 | byte(17) << 24;
        if (infoSize == 12 || infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 64
            || infoSize == 108 || infoSize == 124)
            return u"image/bmp"_s;
    }
    return {};
}

QString tooLargeText()
{
    return u"The picture is too large: a tag takes pictures of up to 16 MiB."_s;
}

} // namespace

TagEditorFile loadTagEditorValues(const QString &path)
{
    TagEditorFile file;
    if (!Common::fileExists(path))
        return file;
    ID3Edit tags;
    tags.Load(path);
    file.found = true;
    file.values = valuesOf(tags);
    file.hasV1 = tags.HasV1();
    file.hasV2 = tags.HasV2();
    return file;
}

QStringList tagEditorInfoLines(const QString &path, const TagEditorFile &file)
{
    return mp3InfoLines(path, !file.values.picture.isNull(), file.hasV1, file.hasV2);
}

QString tagReadNotFoundText()
{
    return u"Can't read ID3 tag informations. File not found."_s;
}

TagFileResult saveTagEditorValues(const QString &path, const TagEditorValues &values, TagVersions mode,
                                  bool removeEmptyV1Allowed, ID3v2Version version, TagJournalSlot slot)
{
    return loadChangeSave(path, ChangeKind::EditorSave, slot, mode, removeEmptyV1Allowed, version, [&values](TagEditorValues &after) {
        const QString uniqueKey = after.uniqueKey;
        after = values;
        after.uniqueKey = uniqueKey;
    });
}

TagFileResult fillTags(const QString &path, const FillSwitches &switches, const TagEditorValues &source,
                       TagVersions mode, bool removeEmptyV1Allowed, ID3v2Version version, TagJournalSlot slot)
{
    static const QList<std::pair<FillField, TextField>> textFields = {
        {FillField::Artist, &TagEditorValues::v1Artist},
        {FillField::Album, &TagEditorValues::v1Album},
        {FillField::Year, &TagEditorValues::v1Year},
        {FillField::Comment, &TagEditorValues::v1Comment},
        {FillField::Track, &TagEditorValues::v1Track},
        {FillField::Artist2, &TagEditorValues::artist},
        {FillField::Album2, &TagEditorValues::album},
        {FillField::Year2, &TagEditorValues::year},
        {FillField::Comment2, &TagEditorValues::comment},
        {FillField::Track2, &TagEditorValues::track},
        {FillField::Genre2, &TagEditorValues::genre},
        {FillField::Composer, &TagEditorValues::composer},
        {FillField::OriginalArtist, &TagEditorValues::originalArtist},
        {FillField::EncodedBy, &TagEditorValues::encodedBy},
        {FillField::UserUrl, &TagEditorValues::userUrl},
        {FillField::UserText, &TagEditorValues::userText},
        {FillField::ArtistUrl, &TagEditorValues::artistUrl},
        {FillField::Preference, &TagEditorValues::preference},
        {FillField::Tempo, &TagEditorValues::tempo},
        {FillField::Mood, &TagEditorValues::mood},
        {FillField::Situation, &TagEditorValues::situation},
        {FillField::Copyright, &TagEditorValues::copyright},
    };
    // A refused picture stops the fill before the file is touched.
    if (switches.isTicked(FillField::CoverArt) && usesV2(mode) && !source.picture.isNull()) {
        if (const QString problem = pictureProblem(source.picture.data); !problem.isEmpty())
            return failed(problem);
    }
    return loadChangeSave(path, ChangeKind::Fill, slot, mode, removeEmptyV1Allowed, version, [&](TagEditorValues &after) {
        for (const auto &[fill, field] : textFields) {
            if (switches.isTicked(fill))
                after.*field = source.*field;
        }
        if (switches.isTicked(FillField::Genre))
            after.v1Genre = source.v1Genre;
        if (switches.isTicked(FillField::CoverArt))
            after.picture = source.picture;
    });
}

QString numberedTrack(int k, int n, bool withTotal)
{
    return withTotal ? u"%1/%2"_s.arg(k).arg(n) : QString::number(k);
}

TagFileResult numberTrack(const QString &path, int k, int n, bool withTotal, TagVersions mode,
                          bool removeEmptyV1Allowed, ID3v2Version version, TagJournalSlot slot)
{
    return loadChangeSave(path, ChangeKind::Numbering, slot, mode, removeEmptyV1Allowed, version, [&](TagEditorValues &after) {
        after.v1Track = QString::number(k);
        after.track = numberedTrack(k, n, withTotal);
    });
}

void copyV1FieldsToV2(TagEditorValues &values)
{
    values.title = values.v1Title;
    values.artist = values.v1Artist;
    values.album = values.v1Album;
    values.comment = values.v1Comment;
    values.year = values.v1Year;
    values.track = values.v1Track;
    const QStringList &names = ID3Edit::genreNames();
    values.genre = values.v1Genre >= 0 && values.v1Genre < names.size() ? names.at(values.v1Genre) : QString();
}

void copyV2FieldsToV1(TagEditorValues &values)
{
    values.v1Title = values.title;
    values.v1Artist = values.artist;
    values.v1Album = values.album;
    values.v1Comment = values.comment;
    values.v1Year = values.year;
    // A version-2 track may carry the total ("6/6"); the version-1 byte holds the track alone.
    values.v1Track = Basic::trim(values.track.section(u'/', 0, 0));
    // The entry of that name whatever its letter case, as the rename job finds it: a genre
    // written as a site spells it ("rock") is the list's "Rock".
    const QString wanted = Basic::trim(values.genre);
    const QStringList &names = ID3Edit::genreNames();
    values.v1Genre = NoGenreItem;
    for (qsizetype i = 0; i < names.size() && !wanted.isEmpty(); ++i) {
        if (names.at(i).compare(wanted, Qt::CaseInsensitive) == 0) {
            values.v1Genre = int(i);
            break;
        }
    }
}

TagFileResult copyTagsV1ToV2(const QString &path, bool removeEmptyV1Allowed, ID3v2Version version,
                             TagJournalSlot slot)
{
    return loadChangeSave(path, ChangeKind::CopyV1ToV2, slot, TagVersions::V2Only, removeEmptyV1Allowed, version, copyV1FieldsToV2);
}

TagFileResult copyTagsV2ToV1(const QString &path, bool removeEmptyV1Allowed, TagJournalSlot slot)
{
    // Only the version-1 trailer is written: the revision of the ID3v2 tag plays no part.
    return loadChangeSave(path, ChangeKind::CopyV2ToV1, slot, TagVersions::V1Only, removeEmptyV1Allowed, ID3v2Version::V3, copyV2FieldsToV1);
}

TagFileResult removeTags(const QString &path, TagVersions mode, RemovalScope scope, TagJournalSlot slot)
{
    const FileTexts texts = scope == RemovalScope::OneFile
        ? FileTexts{u"Can't delete file. File not found."_s,
                    u"Can't delete file. Read-only media or not enough rights."_s}
        : FileTexts{u"Can't delete ID3 Tag. File not found."_s,
                    u"Can't delete ID3 Tag. Read-only media or not enough rights."_s};
    return journalled(path, ChangeKind::RemoveTags, slot, [&](TagJournalSlot in) {
        if (const auto problem = fileProblem(path, texts))
            return failed(*problem);
        ID3Edit tags;
        tags.Load(path);
        TagChange change;
        change.removeV1 = usesV1(mode) && tags.HasV1();
        change.removeV2 = usesV2(mode) && tags.HasV2();
        return writeChange(path, tags, change, in, u"Can't delete ID3v2 Tag informations."_s,
                           u"Can't delete ID3v1 Tag informations."_s);
    });
}

TagFileResult setCoverPicture(const QString &path, const ID3Picture &picture, ID3v2Version version,
                              TagJournalSlot slot)
{
    if (!picture.isNull()) {
        if (const QString problem = pictureProblem(picture.data); !problem.isEmpty())
            return failed(problem);
    }
    return journalled(path, ChangeKind::Picture, slot, [&](TagJournalSlot in) {
        if (const auto problem = fileProblem(path, saveTexts))
            return failed(*problem);
        ID3Edit tags;
        tags.Load(path);
        TagChange change;
        change.version = version;
        change.picture = picture;
        return writeChange(path, tags, change, in, v2SaveFailed, v1SaveFailed);
    });
}

QString damagedPictureText()
{
    return u"The picture is damaged or incomplete: it cannot be read."_s;
}

QString pictureProblem(const QByteArray &bytes)
{
    if (bytes.size() > MaxPictureBytes)
        return tooLargeText();
    if (pictureMimeType(bytes).isEmpty())
        return u"The file is not a picture: a tag takes JPEG, PNG, GIF or BMP pictures."_s;
    return {};
}

namespace {
PictureDecodeCheck &decodeCheck()
{
    static PictureDecodeCheck check;
    return check;
}
} // namespace

PictureDecodeCheck setPictureDecodeCheck(PictureDecodeCheck check)
{
    return std::exchange(decodeCheck(), std::move(check));
}

PictureFile readPictureFile(const QString &file)
{
    PictureFile result;
    const QFileInfo info(file);
    if (!info.isFile()) {
        result.problem = u"Picture file not found."_s;
        return result;
    }
    if (info.size() > MaxPictureBytes) {
        result.problem = tooLargeText();
        return result;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        result.problem = u"Can't read the picture file."_s;
        return result;
    }
    const QByteArray bytes = in.read(MaxPictureBytes + 1);
    result.problem = pictureProblem(bytes);
    // Decoded too where the program can, so a damaged file that only starts like a picture
    // never reaches a tag.
    if (result.problem.isEmpty() && decodeCheck() && !decodeCheck()(bytes))
        result.problem = damagedPictureText();
    if (result.problem.isEmpty())
        result.picture = ID3Picture{bytes, pictureMimeType(bytes)};
    return result;
}
