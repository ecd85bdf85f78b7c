#include "jobs/TagEditing.h"

#include "audio/ID3.h"
#include "audio/SafeFileRewrite.h"
#include "audio/TagAccess.h"
#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "album/DirectoryListing.h"
#include "album/Mp3InfoText.h"
#include "jobs/RenameJobFiles.h"

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
using V2Setter = void (ID3Edit::*)(const QString &);

/// The version-2 fields the editor writes, with the component's setter of each.
const QList<std::pair<TextField, V2Setter>> &v2Fields()
{
    static const QList<std::pair<TextField, V2Setter>> fields = {
        {&TagEditorValues::title, &ID3Edit::setTitle},
        {&TagEditorValues::artist, &ID3Edit::setArtist},
        {&TagEditorValues::album, &ID3Edit::setAlbum},
        {&TagEditorValues::year, &ID3Edit::setYear},
        {&TagEditorValues::comment, &ID3Edit::setComment},
        {&TagEditorValues::track, &ID3Edit::setTrack},
        {&TagEditorValues::genre, &ID3Edit::setGenre},
        {&TagEditorValues::composer, &ID3Edit::setComposer},
        {&TagEditorValues::originalArtist, &ID3Edit::setOriginalArtist},
        {&TagEditorValues::encodedBy, &ID3Edit::setEncodedBy},
        {&TagEditorValues::userUrl, &ID3Edit::setUserUrl},
        {&TagEditorValues::userText, &ID3Edit::setUserText},
        {&TagEditorValues::artistUrl, &ID3Edit::setArtistUrl},
        {&TagEditorValues::preference, &ID3Edit::setPreference},
        {&TagEditorValues::tempo, &ID3Edit::setTempo},
        {&TagEditorValues::mood, &ID3Edit::setMood},
        {&TagEditorValues::situation, &ID3Edit::setSituation},
        {&TagEditorValues::copyright, &ID3Edit::setCopyright},
        {&TagEditorValues::lyrics, &ID3Edit::setLyrics},
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

/// Sets the version-1 fields of the object by the editor's rules.
void setV1Fields(ID3Edit &tags, const TagEditorValues &values)
{
    tags.setV1Title(values.v1Title);
    tags.setV1Artist(values.v1Artist);
    tags.setV1Album(values.v1Album);
    tags.setV1Comment(values.v1Comment);
    tags.setV1Year(Basic::isNumeric(values.v1Year) ? Basic::trim(values.v1Year) : QString());
    const double track = Basic::val(values.v1Track);
    tags.setV1Track(Basic::isNumeric(values.v1Track) && track >= 1 && track <= 254 ? quint8(track) : quint8(0));
    const bool genreKnown = values.v1Genre >= 0 && values.v1Genre < ID3Edit::genreNames().size();
    tags.setV1Genre(genreKnown ? quint8(values.v1Genre) : quint8(NoGenreItem));
}

/// The editor's save of a file whose tags `tags` holds (loaded, showing `before`) with the
/// values `after`; the file was checked for presence and write access.
TagFileResult saveLoaded(const QString &path, ID3Edit &tags, const TagEditorValues &before,
                         const TagEditorValues &after, TagVersions mode, bool removeEmptyV1Allowed,
                         ID3v2Version version)
{
    TagFileResult result;
    tags.setV2Version(version);
    if (usesV2(mode)) {
        const bool newPicture = after.picture != before.picture;
        if (newPicture && !after.picture.isNull()) {
            if (const QString problem = pictureProblem(after.picture.data); !problem.isEmpty()) {
                result.messages << problem;
                readFlags(path, result);
                return result;
            }
        }
        bool changed = false;
        for (const auto &[field, setter] : v2Fields()) {
            if (after.*field != before.*field) {
                (tags.*setter)(after.*field);
                changed = true;
            }
        }
        if (newPicture) {
            tags.setPicture(after.picture);
            changed = true;
        }
        // The component writes only what was set and never the trailer: in mode 2 the
        // version-1 tag stays byte for byte what it was.
        if (changed)
            checkWrite(tags.SaveV2(path), result, v2SaveFailed);
    }
    if (usesV1(mode)) {
        if (removeEmptyV1Allowed && allV1Empty(after)) {
            if (tags.HasV1())
                checkWrite(tags.RemoveV1(path), result, v1SaveFailed);
        } else {
            setV1Fields(tags, after);
            checkWrite(tags.SaveV1(path), result, v1SaveFailed);
        }
    }
    result.done = result.messages.isEmpty();
    readFlags(path, result);
    return result;
}

/// Loads the file and saves it with its own values changed by `change`.
template <typename Change>
TagFileResult loadChangeSave(const QString &path, TagVersions mode, bool removeEmptyV1Allowed, ID3v2Version version,
                             Change &&change)
{
    if (const auto problem = fileProblem(path, saveTexts))
        return failed(*problem);
    ID3Edit tags;
    tags.Load(path);
    const TagEditorValues before = valuesOf(tags);
    TagEditorValues after = before;
    change(after);
    return saveLoaded(path, tags, before, after, mode, removeEmptyV1Allowed, version);
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
                                  bool removeEmptyV1Allowed, ID3v2Version version)
{
    return loadChangeSave(path, mode, removeEmptyV1Allowed, version, [&values](TagEditorValues &after) {
        const QString uniqueKey = after.uniqueKey;
        after = values;
        after.uniqueKey = uniqueKey;
    });
}

TagFileResult fillTags(const QString &path, const FillSwitches &switches, const TagEditorValues &source,
                       TagVersions mode, bool removeEmptyV1Allowed, ID3v2Version version)
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
    return loadChangeSave(path, mode, removeEmptyV1Allowed, version, [&](TagEditorValues &after) {
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
                          bool removeEmptyV1Allowed, ID3v2Version version)
{
    return loadChangeSave(path, mode, removeEmptyV1Allowed, version, [&](TagEditorValues &after) {
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

TagFileResult copyTagsV1ToV2(const QString &path, bool removeEmptyV1Allowed, ID3v2Version version)
{
    return loadChangeSave(path, TagVersions::V2Only, removeEmptyV1Allowed, version, copyV1FieldsToV2);
}

TagFileResult copyTagsV2ToV1(const QString &path, bool removeEmptyV1Allowed)
{
    // Only the version-1 trailer is written: the revision of the ID3v2 tag plays no part.
    return loadChangeSave(path, TagVersions::V1Only, removeEmptyV1Allowed, ID3v2Version::V3, copyV2FieldsToV1);
}

TagFileResult removeTags(const QString &path, TagVersions mode, RemovalScope scope)
{
    const FileTexts texts = scope == RemovalScope::OneFile
        ? FileTexts{u"Can't delete file. File not found."_s,
                    u"Can't delete file. Read-only media or not enough rights."_s}
        : FileTexts{u"Can't delete ID3 Tag. File not found."_s,
                    u"Can't delete ID3 Tag. Read-only media or not enough rights."_s};
    if (const auto problem = fileProblem(path, texts))
        return failed(*problem);
    TagFileResult result;
    readFlags(path, result);
    ID3Edit tags;
    if (usesV1(mode) && result.hasV1)
        checkWrite(tags.RemoveV1(path), result, u"Can't delete ID3v1 Tag informations."_s);
    if (usesV2(mode) && result.hasV2)
        checkWrite(tags.RemoveV2(path), result, u"Can't delete ID3v2 Tag informations."_s);
    result.done = result.messages.isEmpty();
    readFlags(path, result);
    return result;
}

TagFileResult setCoverPicture(const QString &path, const ID3Picture &picture, ID3v2Version version)
{
    if (!picture.isNull()) {
        if (const QString problem = pictureProblem(picture.data); !problem.isEmpty())
            return failed(problem);
    }
    if (const auto problem = fileProblem(path, saveTexts))
        return failed(*problem);
    ID3Edit tags;
    tags.setV2Version(version);
    tags.setPicture(picture);
    TagFileResult result;
    checkWrite(tags.SaveV2(path), result, v2SaveFailed);
    result.done = result.messages.isEmpty();
    readFlags(path, result);
    return result;
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
