// Reading, writing and removing the ID3v1 trailer.

#include "audio/ID3.h"

#include "foundation/Basic.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace ID3 {
namespace {

// Trailer layout, offsets from the "T" of "TAG".
constexpr int TitleAt = 3;
constexpr int ArtistAt = 33;
constexpr int AlbumAt = 63;
constexpr int YearAt = 93;
constexpr int CommentAt = 97;
constexpr int ZeroByteAt = 125; // 1.1 layout: zero byte ending the 28-byte comment
constexpr int TrackAt = 126;    // 1.1 layout: track number
constexpr int GenreAt = 127;
constexpr int TextWidth = 30;
constexpr int YearWidth = 4;
constexpr int CommentWidth11 = 28;

// A field as read: up to the first zero byte, trailing spaces removed, leading ones kept.
QString fieldText(const QByteArray &trailer, int at, int width)
{
    QByteArray bytes = trailer.mid(at, width);
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    return Basic::rtrim(QString::fromLatin1(bytes));
}

// ISO-8859-1 with one "?" for every character it cannot hold (a surrogate pair is one
// character), cut to the field width.
QByteArray latin1Field(const QString &text, int width)
{
    QByteArray out;
    for (char32_t c : text.toUcs4()) {
        if (out.size() == width)
            break;
        out.append(c <= 0xFF ? char(c) : '?');
    }
    return out;
}

void putField(QByteArray &trailer, int at, int width, const QString &text)
{
    const QByteArray bytes = latin1Field(text, width);
    trailer.replace(at, bytes.size(), bytes);
}

bool startsWithTag(const QByteArray &bytes)
{
    return bytes.size() >= 3 && bytes.startsWith("TAG");
}

// Hidden files count as missing, as they do for a plain directory lookup.
bool plainFileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

// A file without its owner's write permission is read-only and is never changed, even by a
// user whom the system would let write it.
bool readOnly(const QString &path)
{
    return !QFileInfo(path).permissions().testFlag(QFileDevice::WriteOwner);
}

} // namespace

ID3v1Record decodeTrailer(const QByteArray &trailer)
{
    ID3v1Record r;
    if (trailer.size() != TrailerSize || !startsWithTag(trailer))
        return r;
    r.exists = true;
    r.title = fieldText(trailer, TitleAt, TextWidth);
    r.artist = fieldText(trailer, ArtistAt, TextWidth);
    r.album = fieldText(trailer, AlbumAt, TextWidth);
    r.year = fieldText(trailer, YearAt, YearWidth);
    r.comment = fieldText(trailer, CommentAt, TextWidth);
    r.genre = quint8(trailer.at(GenreAt));
    r.genreName = genreNameOf(r.genre);
    const quint8 zero = quint8(trailer.at(ZeroByteAt));
    const quint8 track = quint8(trailer.at(TrackAt));
    r.track = (zero == 0 && track != 0) ? qint16(track) : qint16(-1);
    return r;
}

bool hasID3v1Tag(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size < TrailerSize || !file.seek(size - TrailerSize))
        return false;
    return file.read(3) == "TAG";
}

ID3v1Record readID3v1Tag(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    if (size < TrailerSize || !file.seek(size - TrailerSize))
        return {};
    return decodeTrailer(file.read(TrailerSize));
}

QByteArray encodeTrailer(const ID3v1Record &record, float version, bool genreFromName)
{
    if (record.track < -1 || record.track > 255)
        return {};
    const bool layout10 = (version != 0.0f || record.track == -1) && version != 1.1f;

    QByteArray t(int(TrailerSize), '\0');
    t.replace(0, 3, "TAG");
    putField(t, TitleAt, TextWidth, record.title);
    putField(t, ArtistAt, TextWidth, record.artist);
    putField(t, AlbumAt, TextWidth, record.album);
    putField(t, YearAt, YearWidth, record.year);
    if (layout10) {
        putField(t, CommentAt, TextWidth, record.comment);
    } else {
        putField(t, CommentAt, CommentWidth11, record.comment);
        t[ZeroByteAt] = '\0';
        t[TrackAt] = char(record.track == -1 ? 0 : record.track);
    }
    t[GenreAt] = char(genreFromName ? genreIndexOf(record.genreName) : record.genre);
    return t;
}

TrailerResult writeTrailer(const QString &path, const ID3v1Record &record, float version, bool force,
                           bool genreFromName)
{
    if (!force && !record.exists)
        return TrailerResult::NotRequested;
    if (!plainFileExists(path))
        return TrailerResult::NoSuchFile;
    const QByteArray trailer = encodeTrailer(record, version, genreFromName);
    if (trailer.isEmpty())
        return TrailerResult::BadTrack;

    QFile file(path);
    if (readOnly(path) || !file.open(QIODevice::ReadWrite))
        return TrailerResult::CannotOpen;
    const qint64 size = file.size();

    // Replace only when the file is longer than a trailer: a file that is nothing but a
    // trailer gets a second one appended.
    qint64 at = size;
    if (size > TrailerSize) {
        if (!file.seek(size - TrailerSize))
            return TrailerResult::IoError;
        if (file.read(3) == "TAG")
            at = size - TrailerSize;
    }
    if (!file.seek(at))
        return TrailerResult::IoError;
    const bool written = file.write(trailer) == TrailerSize && file.flush();
    if (!written) {
        // A half-appended trailer would leave garbage after the audio: cut it off again.
        if (at == size)
            file.resize(size);
        return TrailerResult::IoError;
    }
    file.close();
    return file.error() == QFileDevice::NoError ? TrailerResult::Ok : TrailerResult::IoError;
}

bool writeID3v1Tag(const QString &path, const ID3v1Record &record, float version, bool force)
{
    return writeTrailer(path, record, version, force) == TrailerResult::Ok;
}

TrailerResult removeTrailer(const QString &path)
{
    const qint64 length = QFileInfo(path).size();
    if (!hasID3v1Tag(path))
        return TrailerResult::Ok;
    QFile file(path);
    if (readOnly(path) || !file.open(QIODevice::ReadWrite))
        return TrailerResult::CannotOpen;
    // The file must still be the one measured: never cut anything but the trailer.
    if (file.size() != length || length < TrailerSize)
        return TrailerResult::IoError;
    return file.resize(length - TrailerSize) ? TrailerResult::Ok : TrailerResult::IoError;
}

bool removeID3v1Tag(const QString &path)
{
    return removeTrailer(path) == TrailerResult::Ok;
}

} // namespace ID3
