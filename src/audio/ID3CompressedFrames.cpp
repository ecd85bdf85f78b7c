#include "audio/ID3CompressedFrames.h"

#include <zlib.h>

namespace ID3CompressedFrames {
namespace {

// Far beyond any frame a tag writer makes; an inflated frame larger than this is taken as hostile.
constexpr qint64 MaxInflatedSize = 64 * 1024 * 1024;

quint32 plain32(const char *p)
{
    return (quint32(quint8(p[0])) << 24) | (quint32(quint8(p[1])) << 16) | (quint32(quint8(p[2])) << 8)
        | quint32(quint8(p[3]));
}

quint32 syncSafe32(const char *p)
{
    return (quint32(quint8(p[0]) & 0x7f) << 21) | (quint32(quint8(p[1]) & 0x7f) << 14)
        | (quint32(quint8(p[2]) & 0x7f) << 7) | quint32(quint8(p[3]) & 0x7f);
}

QByteArray resynchronised(const QByteArray &data)
{
    QByteArray out;
    out.reserve(data.size());
    for (qsizetype i = 0; i < data.size(); ++i) {
        out.append(data[i]);
        if (quint8(data[i]) == 0xff && i + 1 < data.size() && data[i + 1] == '\0')
            ++i;
    }
    return out;
}

// Whether the zlib stream ends within the data, inflating to no more than the bound.
bool inflatesCompletely(const QByteArray &data)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    char buffer[16384];
    qint64 produced = 0;
    int status = Z_OK;
    while (status == Z_OK && produced <= MaxInflatedSize) {
        stream.next_out = reinterpret_cast<Bytef *>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        produced += qint64(sizeof buffer - stream.avail_out);
        if (status == Z_BUF_ERROR && stream.avail_in == 0)
            break; // the data ended before the stream did
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END && produced <= MaxInflatedSize;
}

} // namespace

bool holdsUndecodableFrame(const QByteArray &tag)
{
    if (tag.size() < 10 || !tag.startsWith("ID3"))
        return false;
    const int version = quint8(tag[3]);
    if (version != 3 && version != 4)
        return false; // version 2.2 has no frame flags
    const quint8 tagFlags = quint8(tag[5]);
    const qsizetype end = qMin<qsizetype>(tag.size(), 10 + qsizetype(syncSafe32(tag.constData() + 6)));
    QByteArray body = tag.mid(10, end - 10);
    // A version-2.3 tag is unsynchronised as a whole; version 2.4 does it frame by frame.
    if (version == 3 && (tagFlags & 0x80))
        body = resynchronised(body);
    qsizetype pos = 0;
    if (tagFlags & 0x40) {
        if (body.size() < 4)
            return false;
        const quint32 extended = version == 3 ? plain32(body.constData()) + 4 : syncSafe32(body.constData());
        pos = extended;
    }
    while (pos + 10 <= body.size()) {
        const char *header = body.constData() + pos;
        if (header[0] == '\0')
            break; // padding
        const qint64 size = version == 3 ? plain32(header + 4) : syncSafe32(header + 4);
        const quint8 format = quint8(header[9]);
        const qint64 dataStart = pos + 10;
        if (size <= 0 || dataStart + size > body.size())
            break;
        QByteArray data = body.mid(dataStart, size);
        bool compressed = false;
        if (version == 3) {
            compressed = format & 0x80;
            qsizetype skip = compressed ? 4 : 0; // the inflated size
            if (format & 0x40)
                ++skip; // encryption method
            if (format & 0x20)
                ++skip; // group
            data = data.mid(qMin(skip, data.size()));
        } else {
            compressed = format & 0x08;
            qsizetype skip = 0;
            if (format & 0x40)
                ++skip;
            if (format & 0x04)
                ++skip;
            if (format & 0x01)
                skip += 4; // data length indicator
            data = data.mid(qMin(skip, data.size()));
            if (format & 0x02)
                data = resynchronised(data);
        }
        // An encrypted frame cannot be inflated by anybody without its key; it is judged elsewhere.
        const bool encrypted = version == 3 ? (format & 0x40) : (format & 0x04);
        if (compressed && !encrypted && !inflatesCompletely(data))
            return true;
        pos = dataStart + size;
    }
    return false;
}

} // namespace ID3CompressedFrames
