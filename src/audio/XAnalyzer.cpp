#include "audio/XAnalyzer.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace XAnalyzer {
namespace {

using Mpeg::FrameHeader;
using Mpeg::VbrHeader;

// Enough bytes past a frame start to hold the longest frame (Layer II at 384 kbit/s and
// 32 kHz: 1729 bytes) and the next frame's header.
constexpr qint64 FrameSlack = 4096;

// Twice the highest bitrate MPEG audio allows (448 kbit/s), in bit/s.
constexpr double MaxPlausibleBitrate = 896'000.0;

QByteArray readAt(QFile &file, qint64 at, qint64 count)
{
    if (count <= 0 || !file.seek(at))
        return {};
    return file.read(count);
}

// Skips every ID3v2 tag in a row at the start. A tag that declares more bytes than the file
// holds is not skipped: the frame search then starts at that tag and passes over it.
qint64 skipLeadingTags(QFile &file, qint64 size)
{
    qint64 pos = 0;
    while (pos + 10 <= size) {
        const qint64 tag = Mpeg::id3v2Size(readAt(file, pos, 10), 0);
        if (tag == 0 || pos + tag > size)
            break;
        pos += tag;
    }
    return pos;
}

// The end of the audio: before an ID3v1 trailer and an APE tag in front of it (or at the end).
qint64 audioEndOf(QFile &file, qint64 start, qint64 size)
{
    qint64 end = size;
    if (end - start >= 128 && readAt(file, end - 128, 3) == "TAG")
        end -= 128;
    if (end - start >= 32) {
        const qint64 ape = Mpeg::apeSizeBefore(readAt(file, end - 32, 32), 32);
        if (ape > 0 && ape <= end - start)
            end -= ape;
    }
    return end;
}

// A frame start: a valid header whose frame is followed by the header of a frame of the same
// stream, or that ends exactly where the audio ends.
bool confirmed(const QByteArray &buf, qsizetype at, const FrameHeader &h, qint64 bufferAudioEnd)
{
    const qint64 next = at + h.frameLength;
    if (next == bufferAudioEnd)
        return true;
    if (next + 4 > bufferAudioEnd)
        return false;
    return h.sameStream(Mpeg::parseHeader(buf, next));
}

} // namespace

Status processFile(const QString &path, StreamInfo &info)
{
    const QFileInfo fileInfo(path);
    if (path.isEmpty() || !fileInfo.exists())
        return NoSuchFile;
    QFile file(path);
    if (fileInfo.isDir() || !file.open(QIODevice::ReadOnly))
        return CannotOpen;

    StreamInfo out;
    const qint64 size = file.size();
    out.audioStart = skipLeadingTags(file, size);
    out.audioEnd = audioEndOf(file, out.audioStart, size);

    const qint64 searchBytes = std::min(out.audioEnd - out.audioStart, SearchLimit);
    const QByteArray buf = readAt(file, out.audioStart, std::min(out.audioEnd - out.audioStart, searchBytes + FrameSlack));
    const qint64 bufAudioEnd = out.audioEnd - out.audioStart; // the audio's end, relative to buf
    qsizetype found = -1;
    for (qsizetype p = 0; p + 4 <= buf.size() && p < searchBytes; ++p) {
        if (quint8(buf[p]) != 0xFF || (quint8(buf[p + 1]) & 0xE0) != 0xE0)
            continue;
        const FrameHeader h = Mpeg::parseHeader(buf, p);
        if (h.isValid && confirmed(buf, p, h, bufAudioEnd)) {
            found = p;
            out.firstHeader = h;
            break;
        }
    }
    if (found < 0) {
        info.bytesExamined = std::max<qint64>(searchBytes, 0);
        return NoFrameStart;
    }
    out.bytesExamined = found;
    out.firstFrameOffset = out.audioStart + found;
    out.vbrHeader = Mpeg::parseVbrHeader(buf, found, out.firstHeader);

    // An encoder writes its Xing/Info/VBRI frame with a header of its own choosing (another
    // bitrate to make room, plain stereo for a joint-stereo stream): the stream's own figures
    // come from the first audio frame after it.
    const FrameHeader &first = out.firstHeader;
    out.audioHeader = first;
    if (out.vbrHeader.isValid()) {
        const FrameHeader next = Mpeg::parseHeader(buf, found + first.frameLength);
        if (first.sameStream(next))
            out.audioHeader = next;
    }
    const FrameHeader &h = out.audioHeader;
    const VbrHeader &v = out.vbrHeader;
    Record &r = out.record;
    r.versionCode = h.version == 1 ? 1 : h.version == 2 ? 2 : 0;
    r.layer = h.layer;
    r.frequency = h.sampleRate;
    r.channelMode = h.channelMode;
    r.channels = h.channels();
    r.flags = v.isVariable() ? VariableBitrateFlag : 0;

    const qint64 streamBytes = out.audioEnd - out.firstFrameOffset;
    const double seconds = v.frames > 0 ? double(v.frames) * h.samplesPerFrame / h.sampleRate : 0.0;
    // A count that would put the audio at more than any MPEG bitrate is damaged: ignore it.
    const auto plausible = [seconds](qint64 bytes) { return double(bytes) * 8.0 / seconds <= MaxPlausibleBitrate; };
    if (v.hasFrames && v.frames > 0 && plausible(streamBytes)) {
        // The header frame carries no audio: the count is of the frames after it.
        r.durationMs = qint64(std::llround(seconds * 1000.0));
        if (v.isVariable()) {
            const bool declared = v.hasBytes && v.bytes > 0 && plausible(qint64(v.bytes));
            const qint64 bytes = declared ? qint64(v.bytes) : streamBytes;
            r.bitrate = int(std::llround(double(bytes) * 8.0 / seconds));
        } else {
            r.bitrate = h.bitrate * 1000;
        }
    } else {
        // No usable count: a constant bitrate over the audio between the tags.
        r.bitrate = h.bitrate * 1000;
        r.durationMs = streamBytes * 8 / h.bitrate;
    }
    info = out;
    return Ok;
}

} // namespace XAnalyzer
