#include "audio/ID3Edit.h"

#include "audio/ID3.h"
#include "audio/ID3EditFrames.h"
#include "audio/Mp3FileBytes.h"
#include "audio/Mp3FileView.h"
#include "audio/SafeFileRewrite.h"
#include "audio/XAnalyzer.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cerrno>
#include <bitset>
#include <new>

#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/mpegfile.h>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace ID3EditFrames;

namespace {

// What the first bytes of a file say about an ID3v2 tag at its start.
enum class LeadingTag { None, Present, Damaged };

// `head` holds the first ten bytes of a file (or fewer) of `fileSize` bytes.
LeadingTag leadingTagState(const QByteArray &head, qint64 fileSize)
{
    if (head.size() < 10 || !head.startsWith("ID3"))
        return LeadingTag::None;
    const auto byte = [&head](int i) { return quint8(head.at(i)); };
    // Header: "ID3", major version, revision, flags, then the body size as four 7-bit bytes.
    if (byte(3) < 2 || byte(3) > 4 || byte(4) == 0xFF)
        return LeadingTag::Damaged;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i) {
        if (byte(i) & 0x80)
            return LeadingTag::Damaged;
        size = (size << 7) | byte(i);
    }
    const bool footer = byte(3) == 4 && (byte(5) & 0x10);
    if (10 + size + (footer ? 10 : 0) > fileSize)
        return LeadingTag::Damaged;
    return LeadingTag::Present;
}

LeadingTag leadingTagState(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LeadingTag::None;
    return leadingTagState(file.read(10), file.size());
}

// The complete size of the file's ID3v2 tag (header, body, footer), 0 without one.
qint64 tagSpace(TagLib::MPEG::File &file)
{
    if (!file.hasID3v2Tag())
        return 0;
    return file.ID3v2Tag()->header()->completeTagSize();
}

// TagLib looks for a frame (and, lacking one at the start, for an ID3v2 tag) through the whole
// file, which takes minutes on a huge file that is no MP3. Frames are looked for here only where
// they can be, within the bounded window of the stream analyzer.
qint64 firstAudioFrame(Mp3FileBytes &bytes)
{
    XAnalyzer::StreamInfo info;
    const XAnalyzer::Status status = XAnalyzer::analyse(bytes, info);
    return status == XAnalyzer::Ok || status == XAnalyzer::Warning ? info.firstFrameOffset : -1;
}

qint64 firstAudioFrame(const QString &path)
{
    Mp3FileBytes bytes(path);
    return firstAudioFrame(bytes);
}

bool holdsMpegAudio(const QString &path)
{
    return firstAudioFrame(path) >= 0;
}

// Whether TagLib would write (or strip) the tag over bytes that are not the leading tag: it also
// finds a tag further into the file when none stands at the start, and it takes an "ID3" right
// after the tag for a duplicate tag whose space it writes over. Where that reaches into the first
// audio frame (bytes that only start like a tag), the write would destroy the audio.
bool tagLibWouldWriteOverAudio(TagLib::MPEG::File &file, LeadingTag leading, qint64 audio)
{
    if (!file.hasID3v2Tag())
        return false;
    if (leading != LeadingTag::Present)
        return true;
    const qint64 space = tagSpace(file);
    return space > audio || space > qint64(file.length());
}

ID3Edit::Result checkWritable(const QString &path, LeadingTag leading)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return ID3Edit::Result::FileNotFound;
    if (SafeFileRewrite::isReadOnlyFile(path))
        return ID3Edit::Result::ReadOnly;
    if (leading == LeadingTag::Damaged)
        return ID3Edit::Result::DamagedTag;
    return ID3Edit::Result::Ok;
}

ID3Edit::Result checkWritable(const QString &path)
{
    return checkWritable(path, leadingTagState(path));
}

// The same checks on a file already open, from the status it was opened with.
ID3Edit::Result checkWritable(const QString &path, const Mp3FileBytes &bytes, LeadingTag leading)
{
    if (!bytes.isOpen())
        return checkWritable(path, leading);
    if (!bytes.ownerMayWrite() || ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return ID3Edit::Result::ReadOnly;
    if (leading == LeadingTag::Damaged)
        return ID3Edit::Result::DamagedTag;
    return ID3Edit::Result::Ok;
}

// A file read once for a tag write: its bytes, what its first bytes say of a leading tag, its
// tags in memory, and TagLib's view of it (TagLib never opens the file itself).
struct WriteSource
{
    Mp3FileBytes bytes;
    LeadingTag leading = LeadingTag::None;
    Mp3FileView view;
    TagLib::MPEG::File file;

    explicit WriteSource(const QString &path)
        : bytes(path)
        , leading(leadingTagOf(bytes))
        , view(bytes, tagBytesOf(bytes))
        , file(&view, TagLib::ID3v2::FrameFactory::instance(), false)
    {
    }

    // Why the file cannot take a write of its leading tag, or Ok.
    ID3Edit::Result refusal(const QString &path)
    {
        if (const ID3Edit::Result check = checkWritable(path, bytes, leading); check != ID3Edit::Result::Ok)
            return check;
        const qint64 audio = firstAudioFrame(bytes);
        if (audio < 0)
            return ID3Edit::Result::NotMpeg;
        if (!file.isOpen())
            return ID3Edit::Result::FileNotFound;
        if (tagLibWouldWriteOverAudio(file, leading, audio))
            return ID3Edit::Result::DamagedTag;
        return ID3Edit::Result::Ok;
    }

private:
    static LeadingTag leadingTagOf(Mp3FileBytes &bytes)
    {
        QByteArray header(std::min<qint64>(bytes.size(), 10), Qt::Uninitialized);
        return bytes.isOpen() && bytes.readExactly(0, header.data(), header.size())
            ? leadingTagState(header, bytes.size())
            : LeadingTag::None;
    }
    static QByteArray tagBytesOf(Mp3FileBytes &bytes)
    {
        QByteArray tags(bytes.audioStart(), Qt::Uninitialized);
        return bytes.isOpen() && bytes.readExactly(0, tags.data(), tags.size()) ? tags : QByteArray();
    }
};

// TagLib writes a tag that takes the old one's space over it where it stands: so does this, on
// the very file that was read.
ID3Edit::Result writeTagInPlace(const QString &path, const Mp3FileBytes &bytes, const TagLib::ByteVector &tag)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == EACCES || errno == EROFS || errno == EPERM ? ID3Edit::Result::ReadOnly
                                                                  : ID3Edit::Result::WriteFailed;
    if (!bytes.isSameFile(fd)) {
        ::close(fd);
        return ID3Edit::Result::Replaced;
    }
    qint64 done = 0;
    while (done < qint64(tag.size())) {
        const ssize_t n = ::pwrite(fd, tag.data() + done, size_t(qint64(tag.size()) - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    const bool closed = ::close(fd) == 0;
    return done == qint64(tag.size()) && closed ? ID3Edit::Result::Ok : ID3Edit::Result::WriteFailed;
}

ID3Edit::Result fromRewrite(SafeFileRewrite::Outcome outcome)
{
    switch (outcome) {
    case SafeFileRewrite::Outcome::Ok:
        return ID3Edit::Result::Ok;
    case SafeFileRewrite::Outcome::CannotCreate:
        return ID3Edit::Result::ReadOnly;
    case SafeFileRewrite::Outcome::Replaced:
        return ID3Edit::Result::Replaced;
    default:
        return ID3Edit::Result::WriteFailed;
    }
}

// The edited copy must hold MPEG audio and, after its new tag, exactly the bytes that followed
// the old tag in the original: the audio, the ID3v1 trailer and anything else behind it.
bool copyKeepsAudio(const QString &original, qint64 oldTagSpace, const QString &copy)
{
    const NativeName name(copy);
    TagLib::MPEG::File file(name.name(), false);
    if (!file.isOpen() || file.firstFrameOffset() < 0)
        return false;
    return SafeFileRewrite::sameTail(original, oldTagSpace, copy, tagSpace(file));
}

} // namespace

struct ID3Edit::Private {
    SafeFileRewrite::SyncGroup *syncGroup = nullptr;
    ID3v2Version version = ID3v2Version::V3;
    int loadedRevision = 0;
    bool frontCoverOnly = false;
    QString loadedFile;
    bool hasV1 = false;
    bool hasV2 = false;
    ID3::ID3v1Record loadedV1; // the trailer as Load read it, before any change

    QString v1Title, v1Artist, v1Album, v1Year, v1Comment;
    quint8 v1Track = 0;
    quint8 v1Genre = 255;

    std::array<QString, FieldCount> fields;
    std::bitset<FieldCount> changed;
    ID3Picture picture;
    bool pictureChanged = false;

    // The revision to write is a choice of the caller, not something read from a file.
    void reset()
    {
        const ID3v2Version keep = version;
        SafeFileRewrite::SyncGroup *const group = syncGroup;
        *this = Private();
        version = keep;
        syncGroup = group;
    }

    [[nodiscard]] TagLib::ID3v2::Version taglibVersion() const
    {
        return version == ID3v2Version::V4 ? TagLib::ID3v2::v4 : TagLib::ID3v2::v3;
    }

    void set(Field field, const QString &value)
    {
        fields[field] = value;
        changed.set(field);
    }

    void applyTo(TagLib::ID3v2::Tag &tag) const
    {
        repairFrames(tag);
        for (int field = 0; field < FieldCount; ++field) {
            if (changed.test(field))
                writeField(tag, Field(field), fields[field], version);
        }
        if (pictureChanged)
            writePicture(tag, picture, frontCoverOnly);
    }

    void readTag(const TagLib::ID3v2::Tag &tag);
    ID3Edit::Result saveV2(const QString &path);
    ID3Edit::V2Space planSaveV2(const QString &path);
    ID3Edit::Result removeV2(const QString &path);
    ID3Edit::Result load(Mp3FileBytes &bytes, const QString &path);
    ID3Edit::Result loadRead(const QString &path, const QByteArray &head, const QByteArray &trailer, qint64 fileSize);

    void takeV1(const ID3::ID3v1Record &v1)
    {
        hasV1 = v1.exists;
        if (!hasV1)
            return;
        v1Title = v1.title;
        v1Artist = v1.artist;
        v1Album = v1.album;
        v1Year = v1.year;
        v1Comment = v1.comment;
        v1Track = v1.track > 0 && v1.track <= 255 ? quint8(v1.track) : 0;
        v1Genre = v1.genre;
    }
};

ID3Edit::Result ID3Edit::Private::saveV2(const QString &path)
{
    qint64 oldSpace = 0;
    TagLib::ByteVector rendered;
    {
        WriteSource source(path);
        if (const Result refused = source.refusal(path); refused != Result::Ok)
            return refused;
        TagLib::MPEG::File &file = source.file;
        oldSpace = tagSpace(file);
        TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
        // Written back, such a frame would turn into another: the file is left as it is.
        if (holdsFramesThatCannotBeWrittenBack(*tag) || holdsUndecodableCompressedFrame(file))
            return Result::DamagedTag;
        applyTo(*tag);
        if (oldSpace == 0 && tag->isEmpty())
            return Result::Ok; // nothing to write and nothing to remove
        // Rendered with the padding TagLib's own save gives it: what fitted the old tag's space
        // is padded to it, a tag that grows gets room for the next edit.
        if (!tag->isEmpty())
            rendered = tag->render(taglibVersion());
        // A tag that takes exactly the old tag's space is overwritten where it stands.
        if (oldSpace > 0 && qint64(rendered.size()) == oldSpace)
            return writeTagInPlace(path, source.bytes, rendered);
    }
    // Anything else moves the whole audio inside the file, which a crash or a full disk would
    // leave half done: a complete new file is written (the new tag, then the original's bytes
    // after its old tag) and put in the original's place once checked.
    const auto fill = [&rendered, oldSpace](QFile &original, QFile &copy) {
        return copy.write(rendered.data(), qint64(rendered.size())) == qint64(rendered.size())
            && SafeFileRewrite::appendFrom(original, oldSpace, copy);
    };
    const auto verify = [&path, oldSpace](const QString &copy) { return copyKeepsAudio(path, oldSpace, copy); };
    return fromRewrite(SafeFileRewrite::replaceWithWrittenCopy(path, fill, verify, syncGroup));
}

ID3Edit::V2Space ID3Edit::Private::planSaveV2(const QString &path)
{
    // The same sums as saveV2, on the tag in memory only: the file is never saved.
    V2Space space;
    WriteSource source(path);
    if (source.leading == LeadingTag::Present && source.file.isOpen()) {
        space.before = tagSpace(source.file);
        TagLib::ID3v2::Tag *tag = source.file.ID3v2Tag(true);
        applyTo(*tag);
        space.after = tag->isEmpty() ? 0 : qint64(tag->render(taglibVersion()).size());
        return space;
    }
    TagLib::ID3v2::Tag tag;
    applyTo(tag);
    space.after = tag.isEmpty() ? 0 : qint64(tag.render(taglibVersion()).size());
    return space;
}

ID3Edit::Result ID3Edit::Private::removeV2(const QString &path)
{
    qint64 oldSpace = 0;
    {
        WriteSource source(path);
        if (const Result refused = source.refusal(path); refused != Result::Ok)
            return refused;
        if (!source.file.hasID3v2Tag())
            return Result::Ok;
        oldSpace = tagSpace(source.file);
    }
    // The new file is the original without its leading tag.
    const auto fill = [oldSpace](QFile &original, QFile &copy) {
        return SafeFileRewrite::appendFrom(original, oldSpace, copy);
    };
    const auto verify = [&path, oldSpace](const QString &copy) { return copyKeepsAudio(path, oldSpace, copy); };
    return fromRewrite(SafeFileRewrite::replaceWithWrittenCopy(path, fill, verify, syncGroup));
}

void ID3Edit::Private::readTag(const TagLib::ID3v2::Tag &tag)
{
    hasV2 = true;
    loadedRevision = int(tag.header()->majorVersion());
    for (int field = 0; field < FieldCount; ++field)
        fields[field] = readField(tag, Field(field));
    picture = readPicture(tag);
}

ID3Edit::Result ID3Edit::Private::load(Mp3FileBytes &bytes, const QString &path)
{
    reset();
    loadedFile = path;
    // One open serves it all: the trailer, the tag header, the tags up to the audio and the
    // search for the first audio frame.
    switch (bytes.openState()) {
    case Mp3FileBytes::OpenState::Open: break;
    case Mp3FileBytes::OpenState::NoSuchFile:
    case Mp3FileBytes::OpenState::NotAFile: return Result::FileNotFound;
    case Mp3FileBytes::OpenState::CannotOpen: return Result::Unreadable;
    }
    const qint64 size = bytes.size();
    if (bytes.hasV1()) {
        QByteArray trailer(ID3::TrailerSize, Qt::Uninitialized);
        if (bytes.readExactly(size - ID3::TrailerSize, trailer.data(), trailer.size())) {
            loadedV1 = ID3::decodeTrailer(trailer);
            takeV1(loadedV1);
        }
    }
    QByteArray header(std::min<qint64>(size, 10), Qt::Uninitialized);
    if (!bytes.readExactly(0, header.data(), header.size()))
        return Result::Unreadable;
    const LeadingTag leading = leadingTagState(header, size);
    if (leading == LeadingTag::Damaged)
        return Result::DamagedTag;
    const bool mpeg = firstAudioFrame(bytes) >= 0;
    // Only a tag at the start counts; without one TagLib is not asked (it would search the file).
    if (leading == LeadingTag::None)
        return mpeg ? Result::Ok : Result::NotMpeg;
    // TagLib reads the tags from their bytes in memory, as from the file.
    QByteArray tags(bytes.audioStart(), Qt::Uninitialized);
    if (tags.size() >= 10 && bytes.readExactly(0, tags.data(), tags.size())) {
        TagLib::ByteVectorStream memory(TagLib::ByteVector(tags.constData(), uint(tags.size())));
        TagLib::MPEG::File file(&memory, TagLib::ID3v2::FrameFactory::instance(), false);
        if (file.hasID3v2Tag())
            readTag(*file.ID3v2Tag());
        return mpeg ? Result::Ok : Result::NotMpeg;
    }
    const NativeName name(path);
    TagLib::MPEG::File file(name.name(), false);
    if (!file.isOpen())
        return Result::Unreadable;
    if (file.hasID3v2Tag())
        readTag(*file.ID3v2Tag());
    return mpeg ? Result::Ok : Result::NotMpeg;
}

ID3Edit::Result ID3Edit::Private::loadRead(const QString &path, const QByteArray &head, const QByteArray &trailer,
                                           qint64 fileSize)
{
    reset();
    loadedFile = path;
    if (trailer.size() == ID3::TrailerSize) {
        loadedV1 = ID3::decodeTrailer(trailer);
        takeV1(loadedV1);
    }
    const LeadingTag leading = leadingTagState(head.first(std::min<qsizetype>(head.size(), 10)), fileSize);
    if (leading == LeadingTag::Damaged)
        return Result::DamagedTag;
    if (leading == LeadingTag::None)
        return Result::Ok;
    // The same reader as Load's, on the bytes in memory.
    TagLib::ByteVectorStream stream(TagLib::ByteVector(head.constData(), uint(head.size())));
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (file.hasID3v2Tag())
        readTag(*file.ID3v2Tag());
    return Result::Ok;
}

ID3Edit::ID3Edit()
    : d(std::make_unique<Private>())
{
}

ID3Edit::~ID3Edit() = default;

// TagLib reports trouble through results; what could still escape is an allocation failure
// on a huge tag, and no exception may leave this class.
template <typename Operation> static ID3Edit::Result guarded(Operation &&operation)
{
    try {
        return operation();
    } catch (...) {
        return ID3Edit::Result::WriteFailed;
    }
}

void ID3Edit::loadStoredForm(const ID3Edit &source)
{
    d->reset();
    (void)guarded([&] {
        TagLib::ID3v2::Tag tag;
        source.d->applyTo(tag);
        if (tag.isEmpty())
            return Result::Ok;
        // The tag goes through the rendering SaveV2 uses and is read back by the file reader.
        d->version = source.d->version;
        TagLib::ByteVectorStream stream(tag.render(source.d->taglibVersion()));
        TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
        if (file.hasID3v2Tag())
            d->readTag(*file.ID3v2Tag());
        return Result::Ok;
    });
}

ID3Edit::Result ID3Edit::SaveV2(const QString &path)
{
    return guarded([&] { return d->saveV2(path); });
}

ID3Edit::V2Space ID3Edit::PlanSaveV2(const QString &path)
{
    try {
        return d->planSaveV2(path);
    } catch (...) {
        return {};
    }
}

ID3Edit::Result ID3Edit::SaveV1(const QString &path)
{
    return guarded([&] {
        const ID3::ID3v1Record record = v1Record();
        if (!QFileInfo(path).isFile())
            return Result::FileNotFound;
        if (SafeFileRewrite::isReadOnlyFile(path))
            return Result::ReadOnly;
        // A trailer appended to a file that holds no MPEG audio would only damage it.
        if (!holdsMpegAudio(path))
            return Result::NotMpeg;
        switch (ID3::writeTrailer(path, record, 0.0f, true)) {
        case ID3::TrailerResult::Ok:
            return Result::Ok;
        case ID3::TrailerResult::NoSuchFile:
            return Result::FileNotFound;
        case ID3::TrailerResult::CannotOpen:
            return Result::ReadOnly;
        case ID3::TrailerResult::BadTrack:
            return Result::BadValue;
        default:
            return Result::WriteFailed;
        }
    });
}

const ID3::ID3v1Record &ID3Edit::loadedV1Record() const
{
    return d->loadedV1;
}

ID3::ID3v1Record ID3Edit::v1Record() const
{
    ID3::ID3v1Record record;
    record.exists = true;
    record.title = d->v1Title;
    record.artist = d->v1Artist;
    record.album = d->v1Album;
    record.year = d->v1Year;
    record.comment = d->v1Comment;
    record.track = d->v1Track == 0 ? qint16(-1) : qint16(d->v1Track);
    // 254 is the genre lists' empty entry; in the trailer "no genre" is 255.
    record.genre = d->v1Genre == 254 ? quint8(255) : d->v1Genre;
    return record;
}

ID3Edit::Result ID3Edit::PrepareV2(const QString &path)
{
    return guarded([&] {
        if (const Result check = checkWritable(path); check != Result::Ok)
            return check;
        return holdsMpegAudio(path) ? Result::Ok : Result::NotMpeg;
    });
}

ID3Edit::Result ID3Edit::RemoveV1(const QString &path)
{
    return guarded([&] {
        if (!QFileInfo(path).isFile())
            return Result::FileNotFound;
        if (!ID3::hasID3v1Tag(path))
            return Result::Ok;
        if (SafeFileRewrite::isReadOnlyFile(path))
            return Result::ReadOnly;
        switch (ID3::removeTrailer(path)) {
        case ID3::TrailerResult::Ok:
            return Result::Ok;
        case ID3::TrailerResult::NoSuchFile:
            return Result::FileNotFound;
        case ID3::TrailerResult::CannotOpen:
            return Result::ReadOnly;
        default:
            return Result::WriteFailed;
        }
    });
}

ID3Edit::Result ID3Edit::RemoveV2(const QString &path)
{
    return guarded([&] { return d->removeV2(path); });
}

ID3Edit::Result ID3Edit::Load(const QString &path)
{
    return guarded([&] {
        Mp3FileBytes bytes(path);
        return d->load(bytes, path);
    });
}

ID3Edit::Result ID3Edit::Load(Mp3FileBytes &bytes, const QString &path)
{
    return guarded([&] { return d->load(bytes, path); });
}

void ID3Edit::setSyncGroup(SafeFileRewrite::SyncGroup *group)
{
    d->syncGroup = group;
}

ID3Edit::Result ID3Edit::LoadRead(const QString &path, const QByteArray &head, const QByteArray &trailer,
                                  qint64 fileSize)
{
    return guarded([&] { return d->loadRead(path, head, trailer, fileSize); });
}

bool ID3Edit::HasV1() const
{
    return d->hasV1;
}
QString ID3Edit::V1Title() const
{
    return d->v1Title;
}
void ID3Edit::setV1Title(const QString &text)
{
    d->v1Title = text;
}
QString ID3Edit::V1Artist() const
{
    return d->v1Artist;
}
void ID3Edit::setV1Artist(const QString &text)
{
    d->v1Artist = text;
}
QString ID3Edit::V1Album() const
{
    return d->v1Album;
}
void ID3Edit::setV1Album(const QString &text)
{
    d->v1Album = text;
}
QString ID3Edit::V1Year() const
{
    return d->v1Year;
}
void ID3Edit::setV1Year(const QString &text)
{
    d->v1Year = text;
}
QString ID3Edit::V1Comment() const
{
    return d->v1Comment;
}
void ID3Edit::setV1Comment(const QString &text)
{
    d->v1Comment = text;
}
quint8 ID3Edit::V1Track() const
{
    return d->v1Track;
}
void ID3Edit::setV1Track(quint8 track)
{
    d->v1Track = track;
}
quint8 ID3Edit::V1Genre() const
{
    return d->v1Genre;
}
void ID3Edit::setV1Genre(quint8 genre)
{
    d->v1Genre = genre;
}

QString ID3Edit::GenreList() const
{
    return ID3::publishedGenres().join(QLatin1Char('|'));
}
const QStringList &ID3Edit::genreNames()
{
    return ID3::publishedGenres();
}

bool ID3Edit::HasV2() const
{
    return d->hasV2;
}

#define VARNELT_V2_FIELD(Name)                                                                                         \
    QString ID3Edit::Name() const                                                                                      \
    {                                                                                                                  \
        return d->fields[ID3EditFrames::Name];                                                                         \
    }                                                                                                                  \
    void ID3Edit::set##Name(const QString &text)                                                                       \
    {                                                                                                                  \
        d->set(ID3EditFrames::Name, text);                                                                             \
    }

VARNELT_V2_FIELD(Title)
VARNELT_V2_FIELD(Artist)
VARNELT_V2_FIELD(ArtistUrl)
VARNELT_V2_FIELD(UserUrl)
VARNELT_V2_FIELD(Album)
VARNELT_V2_FIELD(OriginalArtist)
VARNELT_V2_FIELD(Composer)
VARNELT_V2_FIELD(EncodedBy)
VARNELT_V2_FIELD(Copyright)
VARNELT_V2_FIELD(Track)
VARNELT_V2_FIELD(Year)
VARNELT_V2_FIELD(Comment)
VARNELT_V2_FIELD(Genre)
VARNELT_V2_FIELD(UserText)
VARNELT_V2_FIELD(Lyrics)
VARNELT_V2_FIELD(Tempo)
VARNELT_V2_FIELD(Mood)
VARNELT_V2_FIELD(Situation)
VARNELT_V2_FIELD(Preference)

#undef VARNELT_V2_FIELD

ID3Picture ID3Edit::Picture() const
{
    return d->picture;
}

void ID3Edit::setPicture(const ID3Picture &picture)
{
    d->picture = picture;
    if (!picture.isNull() && d->picture.mimeType.isEmpty())
        d->picture.mimeType = guessMimeType(picture.data);
    d->pictureChanged = true;
    d->frontCoverOnly = false;
}

void ID3Edit::setFrontCover(const ID3Picture &picture)
{
    setPicture(picture);
    d->frontCoverOnly = true;
}

void ID3Edit::setV2Version(ID3v2Version version)
{
    d->version = version;
}

ID3v2Version ID3Edit::V2Version() const
{
    return d->version;
}

int ID3Edit::LoadedV2Revision() const
{
    return d->loadedRevision;
}

QString ID3Edit::loadedFile() const
{
    return d->loadedFile;
}

QString ID3Edit::describe(Result result)
{
    switch (result) {
    case Result::Ok:
        return u"Success"_s;
    case Result::FileNotFound:
        return u"File not found"_s;
    case Result::ReadOnly:
        return u"Read-only file or folder"_s;
    case Result::NotMpeg:
        return u"No MPEG audio found in the file"_s;
    case Result::DamagedTag:
        return u"The ID3v2 tag of the file is damaged"_s;
    case Result::WriteFailed:
        return u"Writing the file failed; it was left unchanged"_s;
    case Result::BadValue:
        return u"A tag value cannot be stored"_s;
    default:
        return u"Unknown error (%1)"_s.arg(int(result));
    }
}
