#include "audio/MpegFrame.h"

#include <array>

namespace Mpeg {
namespace {

// kbit/s by bitrate index 0-14; rows: MPEG-1 layers I, II, III, then MPEG-2/2.5 layer I and
// layers II/III. Index 0 is the free format, index 15 is forbidden.
constexpr std::array<std::array<int, 15>, 5> kBitrates{{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
}};

// Hz by sample-rate index 0-2; rows MPEG-1, MPEG-2, MPEG-2.5.
constexpr std::array<std::array<int, 3>, 3> kSampleRates{{
    {44100, 48000, 32000},
    {22050, 24000, 16000},
    {11025, 12000, 8000},
}};

// Layer III side info in bytes: [MPEG-1, MPEG-2/2.5][stereo, mono].
constexpr std::array<std::array<int, 2>, 2> kSideInfo{{{32, 17}, {17, 9}}};

int versionRow(int version)
{
    return version == 1 ? 0 : version == 2 ? 1 : 2;
}

quint32 be32(const QByteArray &bytes, qsizetype at)
{
    return (quint32(quint8(bytes[at])) << 24) | (quint32(quint8(bytes[at + 1])) << 16)
           | (quint32(quint8(bytes[at + 2])) << 8) | quint32(quint8(bytes[at + 3]));
}

quint32 le32(const QByteArray &bytes, qsizetype at)
{
    return quint32(quint8(bytes[at])) | (quint32(quint8(bytes[at + 1])) << 8)
           | (quint32(quint8(bytes[at + 2])) << 16) | (quint32(quint8(bytes[at + 3])) << 24);
}

bool hasText(const QByteArray &bytes, qsizetype at, const char *text, qsizetype length)
{
    return at >= 0 && at + length <= bytes.size() && bytes.mid(at, length) == QByteArray(text, length);
}

VbrHeader xingAt(const QByteArray &bytes, qsizetype at)
{
    VbrHeader h;
    if (hasText(bytes, at, "Xing", 4))
        h.kind = VbrHeader::Kind::Xing;
    else if (hasText(bytes, at, "Info", 4))
        h.kind = VbrHeader::Kind::Info;
    else
        return h;
    if (at + 8 > bytes.size())
        return {};
    // Flags word: bit 0 frame count, bit 1 byte count, bit 2 seek table, bit 3 quality.
    const quint32 flags = be32(bytes, at + 4);
    qsizetype next = at + 8;
    if (flags & 1u) {
        if (next + 4 > bytes.size())
            return {};
        h.hasFrames = true;
        h.frames = be32(bytes, next);
        next += 4;
    }
    if (flags & 2u) {
        if (next + 4 > bytes.size())
            return {};
        h.hasBytes = true;
        h.bytes = be32(bytes, next);
    }
    return h;
}

} // namespace

int bitrateFor(int version, int layer, int index)
{
    if (index < 0 || index > 14 || layer < 1 || layer > 3 || (version != 1 && version != 2 && version != 25))
        return -1;
    const int row = version == 1 ? layer - 1 : (layer == 1 ? 3 : 4);
    return kBitrates[std::size_t(row)][std::size_t(index)];
}

int sampleRateFor(int version, int index)
{
    if (index < 0 || index > 2 || (version != 1 && version != 2 && version != 25))
        return 0;
    return kSampleRates[std::size_t(versionRow(version))][std::size_t(index)];
}

int FrameHeader::xingOffset() const
{
    const int lsf = version == 1 ? 0 : 1;
    return 4 + kSideInfo[std::size_t(lsf)][channelMode == 3 ? 1 : 0];
}

bool FrameHeader::sameStream(const FrameHeader &other) const
{
    return isValid && other.isValid && version == other.version && layer == other.layer
           && sampleRate == other.sampleRate;
}

FrameHeader parseHeader(quint32 w)
{
    FrameHeader h;
    if ((w & 0xFFE00000u) != 0xFFE00000u) // bits 31-21: frame sync
        return {};
    switch ((w >> 19) & 3u) { // bits 20-19: version id
    case 0: h.version = 25; break;
    case 2: h.version = 2; break;
    case 3: h.version = 1; break;
    default: return {};
    }
    const int layerBits = int((w >> 17) & 3u); // bits 18-17: layer, 01 = III, 11 = I
    if (layerBits == 0)
        return {};
    h.layer = 4 - layerBits;
    h.crc = ((w >> 16) & 1u) == 0; // bit 16: protection, 0 means a CRC follows
    const int bitrateIndex = int((w >> 12) & 15u); // bits 15-12
    if (bitrateIndex == 0 || bitrateIndex == 15)
        return {};
    h.bitrate = bitrateFor(h.version, h.layer, bitrateIndex);
    const int rateIndex = int((w >> 10) & 3u); // bits 11-10
    if (rateIndex == 3)
        return {};
    h.sampleRate = sampleRateFor(h.version, rateIndex);
    h.padding = (w >> 9) & 1u;             // bit 9
    h.privateBit = (w >> 8) & 1u;          // bit 8
    h.channelMode = int((w >> 6) & 3u);    // bits 7-6; bits 5-4 mode extension unused
    h.copyright = (w >> 3) & 1u;           // bit 3
    h.original = (w >> 2) & 1u;            // bit 2
    h.emphasis = int(w & 3u);              // bits 1-0

    const long long bps = h.bitrate * 1000LL;
    if (h.layer == 1) {
        h.samplesPerFrame = 384;
        h.frameLength = int((12 * bps / h.sampleRate + (h.padding ? 1 : 0)) * 4);
    } else if (h.layer == 3 && h.version != 1) {
        h.samplesPerFrame = 576;
        h.frameLength = int(72 * bps / h.sampleRate + (h.padding ? 1 : 0));
    } else {
        h.samplesPerFrame = 1152;
        h.frameLength = int(144 * bps / h.sampleRate + (h.padding ? 1 : 0));
    }
    h.isValid = true;
    return h;
}

FrameHeader parseHeader(const QByteArray &bytes, qsizetype at)
{
    if (at < 0 || at + 4 > bytes.size())
        return {};
    return parseHeader(be32(bytes, at));
}

VbrHeader parseVbrHeader(const QByteArray &bytes, qsizetype frameStart, const FrameHeader &frame)
{
    if (!frame.isValid)
        return {};
    const qsizetype at = frameStart + frame.xingOffset();
    VbrHeader h = xingAt(bytes, at);
    if (!h.isValid() && frame.crc)
        h = xingAt(bytes, at + 2);
    if (h.isValid())
        return h;

    // VBRI: always 32 bytes after the header; version, delay, quality, then bytes and frames.
    const qsizetype v = frameStart + 36;
    if (!hasText(bytes, v, "VBRI", 4) || v + 18 > bytes.size())
        return {};
    h.kind = VbrHeader::Kind::Vbri;
    h.hasBytes = true;
    h.bytes = be32(bytes, v + 10);
    h.hasFrames = true;
    h.frames = be32(bytes, v + 14);
    return h;
}

qint64 id3v2Size(const QByteArray &bytes, qsizetype at)
{
    if (!hasText(bytes, at, "ID3", 3) || at + 10 > bytes.size())
        return 0;
    const int major = quint8(bytes[at + 3]);
    const int revision = quint8(bytes[at + 4]);
    const int flags = quint8(bytes[at + 5]);
    if (major < 2 || major > 4 || revision == 0xFF)
        return 0;
    qint64 body = 0;
    for (int i = 0; i < 4; ++i) { // four 7-bit bytes, high bit always clear
        const int b = quint8(bytes[at + 6 + i]);
        if (b & 0x80)
            return 0;
        body = (body << 7) | b;
    }
    const bool footer = major == 4 && (flags & 0x10);
    return 10 + body + (footer ? 10 : 0);
}

qint64 apeSizeBefore(const QByteArray &bytes, qsizetype end)
{
    const qsizetype at = end - 32;
    if (!hasText(bytes, at, "APETAGEX", 8))
        return 0;
    const qint64 size = le32(bytes, at + 12);  // items and footer
    const quint32 flags = le32(bytes, at + 20); // bit 31: a header precedes the items
    const qint64 total = size + ((flags & 0x80000000u) ? 32 : 0);
    if (size < 32)
        return 0;
    return total;
}

qint64 id3v2SizeBefore(const QByteArray &bytes, qsizetype end)
{
    const qsizetype at = end - 10;
    if (!hasText(bytes, at, "3DI", 3))
        return 0;
    // The footer repeats the header with "3DI" for "ID3": read it as a header.
    QByteArray header = bytes.mid(at, 10);
    header.replace(0, 3, "ID3");
    const qint64 size = id3v2Size(header, 0);
    return size > 0 && quint8(header[3]) == 4 && (quint8(header[5]) & 0x10) ? size : 0;
}

qint64 lyrics3v2SizeBefore(const QByteArray &bytes, qsizetype end)
{
    const qsizetype at = end - 15;
    if (!hasText(bytes, at + 6, "LYRICS200", 9))
        return 0;
    qint64 size = 0;
    for (qsizetype i = at; i < at + 6; ++i) {
        const char c = bytes[i];
        if (c < '0' || c > '9')
            return 0;
        size = size * 10 + (c - '0');
    }
    // The size counts from "LYRICSBEGIN" to the size field.
    return size >= 11 ? size + 15 : 0;
}

} // namespace Mpeg
