#include "audio/ID3EditFrames.h"

#include "audio/ID3CompressedFrames.h"

#include <QFile>
#include <QStringList>

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/generalencapsulatedobjectframe.h>
#include <taglib/ownershipframe.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unknownframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/urllinkframe.h>

#include <type_traits>

using namespace TagLib;

namespace ID3EditFrames {

namespace {

const ByteVector English("eng", 3);

// Frames of the plain text fields; the others need a description or a frame class of their own.
const char *textFrameId(Field field)
{
    switch (field) {
    case Title:
        return "TIT2";
    case Artist:
        return "TPE1";
    case Album:
        return "TALB";
    case OriginalArtist:
        return "TOPE";
    case Composer:
        return "TCOM";
    case EncodedBy:
        return "TENC";
    case Copyright:
        return "TCOP";
    case Track:
        return "TRCK";
    // TagLib holds the year as TDRC in memory and writes it as TYER into a v2.3 tag.
    case Year:
        return "TDRC";
    case Genre:
        return "TCON";
    case Tempo:
        return "TBPM";
    default:
        return nullptr;
    }
}

// The user text frames' descriptions; UserText is the frame without one.
QString userTextDescription(Field field)
{
    switch (field) {
    case Mood:
        return QStringLiteral("MOOD");
    case Situation:
        return QStringLiteral("SITUATION");
    case Preference:
        return QStringLiteral("PREFERENCE");
    default:
        return QString();
    }
}

String::Type encodingFor(const QString &text, ID3v2Version version)
{
    if (version == ID3v2Version::V4)
        return String::UTF8;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return String::UTF16;
    }
    return String::Latin1;
}

// The values of a user text frame: its fields after the description. TagLib drops empty fields
// when it parses a frame, then gives a frame with one field an empty value: a frame written
// with an empty description reads back as that frame's text taken for a description, with no
// value. A described frame without a value means nothing, so that shape is the plain frame.
QStringList userTextValues(const ID3v2::UserTextIdentificationFrame &frame, bool &plain)
{
    QStringList fields;
    for (const String &field : frame.TextIdentificationFrame::fieldList())
        fields.append(fromTagLib(field));
    plain = fields.size() <= 2 && (fields.value(0).isEmpty() || fields.value(1).isEmpty());
    if (plain)
        return { fields.value(0).isEmpty() ? fields.value(1) : fields.value(0) };
    return fields.mid(1);
}

// The user text frame with the description (compared without letter case); an empty
// description finds the frame without one.
ID3v2::UserTextIdentificationFrame *findUserText(
    const ID3v2::Tag &tag, const QString &description, QString *value = nullptr)
{
    for (ID3v2::Frame *frame : tag.frameList("TXXX")) {
        auto *text = dynamic_cast<ID3v2::UserTextIdentificationFrame *>(frame);
        if (!text)
            continue;
        bool plain = false;
        const QStringList values = userTextValues(*text, plain);
        const bool match = description.isEmpty()
            ? plain
            : !plain && fromTagLib(text->description()).compare(description, Qt::CaseInsensitive) == 0;
        if (match) {
            if (value)
                *value = values.join(QLatin1Char(' '));
            return text;
        }
    }
    return nullptr;
}

// Taggers leave their own bookkeeping in comment frames with descriptions ("iTunNORM", ...):
// the comment field is the frame without a description, else the first that is not such a note.
ID3v2::CommentsFrame *findComment(const ID3v2::Tag &tag)
{
    ID3v2::CommentsFrame *described = nullptr;
    for (ID3v2::Frame *frame : tag.frameList("COMM")) {
        auto *comment = dynamic_cast<ID3v2::CommentsFrame *>(frame);
        if (!comment)
            continue;
        if (comment->description().isEmpty())
            return comment;
        if (!described && !fromTagLib(comment->description()).startsWith(QLatin1String("iTun")))
            described = comment;
    }
    return described;
}

template <typename FrameType> FrameType *findPlainOrFirst(const ID3v2::Tag &tag, const char *id)
{
    FrameType *first = nullptr;
    for (ID3v2::Frame *frame : tag.frameList(id)) {
        auto *typed = dynamic_cast<FrameType *>(frame);
        if (!typed)
            continue;
        if (typed->description().isEmpty())
            return typed;
        if (!first)
            first = typed;
    }
    return first;
}

ID3v2::AttachedPictureFrame *findCover(const ID3v2::Tag &tag)
{
    ID3v2::AttachedPictureFrame *first = nullptr;
    for (ID3v2::Frame *frame : tag.frameList("APIC")) {
        auto *picture = dynamic_cast<ID3v2::AttachedPictureFrame *>(frame);
        if (!picture)
            continue;
        if (picture->type() == ID3v2::AttachedPictureFrame::FrontCover)
            return picture;
        if (!first)
            first = picture;
    }
    return first;
}

} // namespace

NativeName::NativeName(const QString &path)
    : path_(path)
    , encoded_(QFile::encodeName(path))
{
}

TagLib::FileName NativeName::name() const
{
#ifdef Q_OS_WIN
    return reinterpret_cast<const wchar_t *>(path_.utf16());
#else
    return encoded_.constData();
#endif
}

String toTagLib(const QString &text)
{
    return String(text.toUtf8().toStdString(), String::UTF8);
}

QString fromTagLib(const String &text)
{
    return QString::fromUtf8(text.toCString(true));
}

QString readField(const ID3v2::Tag &tag, Field field)
{
    switch (field) {
    case Genre:
        // genre() turns the numeric references of older tags ("(17)") into names.
        return fromTagLib(tag.genre());
    case Comment:
        if (const auto *frame = findComment(tag))
            return fromTagLib(frame->text());
        return {};
    case Lyrics:
        if (const auto *frame = findPlainOrFirst<ID3v2::UnsynchronizedLyricsFrame>(tag, "USLT"))
            return fromTagLib(frame->text());
        return {};
    case ArtistUrl:
        if (!tag.frameList("WOAR").isEmpty())
            if (const auto *frame = dynamic_cast<ID3v2::UrlLinkFrame *>(tag.frameList("WOAR").front()))
                return fromTagLib(frame->url());
        return {};
    case UserUrl:
        if (const auto *frame = findPlainOrFirst<ID3v2::UserUrlLinkFrame>(tag, "WXXX"))
            return fromTagLib(frame->url());
        return {};
    case UserText:
    case Mood:
    case Situation:
    case Preference: {
        QString value;
        findUserText(tag, userTextDescription(field), &value);
        return value;
    }
    case Year: {
        // A version-2.4 tag may carry the version-2.3 frame, which TagLib leaves as it is.
        const TagLib::ID3v2::FrameList &years = tag.frameList("TDRC");
        const QString year = years.isEmpty() ? QString() : fromTagLib(years.front()->toString());
        if (year.isEmpty() && !tag.frameList("TYER").isEmpty())
            return fromTagLib(tag.frameList("TYER").front()->toString());
        return year;
    }
    default:
        break;
    }
    const char *id = textFrameId(field);
    if (!id || tag.frameList(id).isEmpty())
        return {};
    return fromTagLib(tag.frameList(id).front()->toString());
}

namespace {

// A field read from one frame among several of its kind (the comment, the lyrics, the user
// link) is written into that very frame, where the next read finds it; a new frame is added
// only when there is none. Cleared, the field loses that frame and every one that would be read
// in its place. Removed and added anew, the written frame came after the others and a hidden
// one of them was read instead.
template <typename Find, typename Fill>
void setReadFrame(ID3v2::Tag &tag, Field field, const QString &value, Find find, Fill fill)
{
    using FrameType = std::remove_pointer_t<decltype(find(tag))>;
    if (value.isEmpty()) {
        if (auto *frame = find(tag))
            tag.removeFrame(frame);
        while (!readField(tag, field).isEmpty()) {
            auto *frame = find(tag);
            if (!frame)
                break;
            tag.removeFrame(frame);
        }
        return;
    }
    FrameType *frame = find(tag);
    if (!frame) {
        frame = new FrameType();
        tag.addFrame(frame);
    }
    fill(*frame);
}

} // namespace

void writeField(ID3v2::Tag &tag, Field field, const QString &value, ID3v2Version version)
{
    const String text = toTagLib(value);
    const String::Type encoding = encodingFor(value, version);
    switch (field) {
    case Comment:
        setReadFrame(tag, field, value, findComment, [&](ID3v2::CommentsFrame &frame) {
            frame.setTextEncoding(encoding);
            frame.setLanguage(English);
            frame.setDescription(String());
            frame.setText(text);
        });
        return;
    case Lyrics:
        setReadFrame(tag, field, value, [](const ID3v2::Tag &t) { return findPlainOrFirst<ID3v2::UnsynchronizedLyricsFrame>(t, "USLT"); },
                     [&](ID3v2::UnsynchronizedLyricsFrame &frame) {
                         frame.setTextEncoding(encoding);
                         frame.setLanguage(English);
                         frame.setDescription(String());
                         frame.setText(text);
                     });
        return;
    case ArtistUrl:
        tag.removeFrames("WOAR");
        if (!value.isEmpty()) {
            auto *frame = new ID3v2::UrlLinkFrame("WOAR");
            frame->setUrl(text);
            tag.addFrame(frame);
        }
        return;
    case UserUrl:
        setReadFrame(tag, field, value, [](const ID3v2::Tag &t) { return findPlainOrFirst<ID3v2::UserUrlLinkFrame>(t, "WXXX"); },
                     [&](ID3v2::UserUrlLinkFrame &frame) {
                         frame.setTextEncoding(String::Latin1);
                         frame.setDescription(String());
                         frame.setUrl(text);
                     });
        return;
    case UserText:
    case Mood:
    case Situation:
    case Preference: {
        const QString description = userTextDescription(field);
        while (auto *frame = findUserText(tag, description))
            tag.removeFrame(frame);
        if (!value.isEmpty()) {
            auto *frame = new ID3v2::UserTextIdentificationFrame(encodingFor(description + value, version));
            frame->setDescription(toTagLib(description));
            frame->setText(text);
            tag.addFrame(frame);
        }
        return;
    }
    default:
        break;
    }
    const char *id = textFrameId(field);
    if (!id)
        return;
    tag.removeFrames(id);
    // A version-2.3 year frame left in a version-2.4 tag would stand beside the new year in a
    // version-2.3 write, and be read in its place.
    if (field == Year)
        tag.removeFrames("TYER");
    if (!value.isEmpty()) {
        auto *frame = new ID3v2::TextIdentificationFrame(ByteVector(id, 4), encoding);
        frame->setText(text);
        tag.addFrame(frame);
    }
}

namespace {

// The text encoding a frame names, for the kinds that name one; Latin1 for the others.
String::Type encodingOf(const ID3v2::Frame *frame)
{
    if (const auto *f = dynamic_cast<const ID3v2::TextIdentificationFrame *>(frame))
        return f->textEncoding();
    if (const auto *f = dynamic_cast<const ID3v2::CommentsFrame *>(frame))
        return f->textEncoding();
    if (const auto *f = dynamic_cast<const ID3v2::UnsynchronizedLyricsFrame *>(frame))
        return f->textEncoding();
    if (const auto *f = dynamic_cast<const ID3v2::SynchronizedLyricsFrame *>(frame))
        return f->textEncoding();
    if (const auto *f = dynamic_cast<const ID3v2::AttachedPictureFrame *>(frame))
        return f->textEncoding();
    if (const auto *f = dynamic_cast<const ID3v2::UserUrlLinkFrame *>(frame))
        return f->textEncoding();
    if (const auto *f = dynamic_cast<const ID3v2::GeneralEncapsulatedObjectFrame *>(frame))
        return f->textEncoding();
    if (const auto *f = dynamic_cast<const ID3v2::OwnershipFrame *>(frame))
        return f->textEncoding();
    return String::Latin1;
}

} // namespace

bool holdsFramesThatCannotBeWrittenBack(const ID3v2::Tag &tag)
{
    for (const ID3v2::Frame *frame : tag.frameList()) {
        // A text encoding byte beyond the four the format knows is kept as read, and a write
        // renders such a frame as an empty one, which then hides the tag's real value.
        if (encodingOf(frame) > String::UTF8)
            return true;
        // TagLib leaves a frame of a kind it knows unparsed only when it is encrypted; its header
        // flags are not at hand, but that is what such a frame tells.
        if (!dynamic_cast<const ID3v2::UnknownFrame *>(frame))
            continue;
        // Version-2.3 date and size frames TagLib leaves unparsed on purpose and drops on a write.
        const ByteVector id = frame->frameID();
        if (id.size() != 4 || id == "TIME" || id == "TDAT" || id == "TRDA" || id == "TSIZ")
            continue;
        if (id.startsWith("T") || id.startsWith("W") || id == "COMM" || id == "USLT" || id == "APIC")
            return true;
    }
    return false;
}

bool holdsUndecodableCompressedFrame(TagLib::File &file)
{
    file.seek(0);
    const ByteVector header = file.readBlock(10);
    if (header.size() < 10 || !header.startsWith("ID3"))
        return false;
    const auto byte = [&header](unsigned i) { return quint32(quint8(header[i]) & 0x7f); };
    const quint32 size = (byte(6) << 21) | (byte(7) << 14) | (byte(8) << 7) | byte(9);
    file.seek(0);
    const ByteVector tag = file.readBlock(10 + size);
    return ID3CompressedFrames::holdsUndecodableFrame(QByteArray(tag.data(), int(tag.size())));
}

void repairFrames(ID3v2::Tag &tag)
{
    // Written back as parsed, a plain user text frame would turn its text into a description.
    for (ID3v2::Frame *frame : tag.frameList("TXXX")) {
        auto *text = dynamic_cast<ID3v2::UserTextIdentificationFrame *>(frame);
        if (!text || text->description().isEmpty())
            continue;
        bool plain = false;
        const QStringList values = userTextValues(*text, plain);
        if (plain && !values.value(0).isEmpty()) {
            text->setDescription(String());
            text->setText(toTagLib(values.value(0)));
        }
    }
}

ID3Picture readPicture(const ID3v2::Tag &tag)
{
    const auto *frame = findCover(tag);
    if (!frame)
        return {};
    const ByteVector bytes = frame->picture();
    ID3Picture picture;
    picture.data = QByteArray(bytes.data(), int(bytes.size()));
    picture.mimeType = fromTagLib(frame->mimeType());
    return picture;
}

void writePicture(ID3v2::Tag &tag, const ID3Picture &picture, bool frontCoverOnly)
{
    if (frontCoverOnly && !picture.isNull()) {
        // A copy of the list: removing frames changes the tag's own.
        const ID3v2::FrameList pictures = tag.frameList("APIC");
        for (ID3v2::Frame *old : pictures) {
            const auto *cover = dynamic_cast<ID3v2::AttachedPictureFrame *>(old);
            if (cover && cover->type() == ID3v2::AttachedPictureFrame::FrontCover)
                tag.removeFrame(old);
        }
        auto *frame = new ID3v2::AttachedPictureFrame;
        frame->setType(ID3v2::AttachedPictureFrame::FrontCover);
        frame->setTextEncoding(String::Latin1);
        frame->setMimeType(toTagLib(picture.mimeType.isEmpty() ? guessMimeType(picture.data) : picture.mimeType));
        frame->setPicture(ByteVector(picture.data.constData(), static_cast<unsigned int>(picture.data.size())));
        tag.addFrame(frame);
        return;
    }
    auto *frame = findCover(tag);
    if (picture.isNull()) {
        if (frame)
            tag.removeFrame(frame);
        return;
    }
    if (!frame) {
        frame = new ID3v2::AttachedPictureFrame;
        frame->setType(ID3v2::AttachedPictureFrame::FrontCover);
        frame->setTextEncoding(String::Latin1);
        tag.addFrame(frame);
    }
    const QString mime = picture.mimeType.isEmpty() ? guessMimeType(picture.data) : picture.mimeType;
    frame->setMimeType(toTagLib(mime));
    frame->setPicture(ByteVector(picture.data.constData(), static_cast<unsigned int>(picture.data.size())));
}

QString guessMimeType(const QByteArray &data)
{
    if (data.startsWith("\x89PNG"))
        return QStringLiteral("image/png");
    if (data.startsWith("GIF8"))
        return QStringLiteral("image/gif");
    if (data.startsWith("BM"))
        return QStringLiteral("image/bmp");
    return QStringLiteral("image/jpeg");
}

} // namespace ID3EditFrames
