#include "audio/MpegStream.h"

#include "audio/Mp3FileBytes.h"

#include <algorithm>

namespace Mpeg {

StreamStart findStreamStart(Mp3FileBytes &file, const SearchReach &reach)
{
    StreamStart out;
    const qint64 audioLength = file.audioEnd() - file.audioStart();
    const qint64 readable = std::min(audioLength, reach.byteLimit);
    QByteArray buf = file.head();
    // More of the audio is read only when the search gets there.
    const auto have = [&](qint64 count) {
        if (count <= buf.size())
            return true;
        if (count > readable || buf.size() >= readable)
            return false;
        file.readHead(std::min(std::max(count, qint64(buf.size()) * 2), readable));
        buf = file.head();
        return count <= buf.size();
    };
    const auto byteAt = [&buf](qint64 at) { return quint8(buf[qsizetype(at)]); };

    qint64 window = reach.positions;
    qint64 p = 0;
    for (; p < window && p < audioLength; ++p) {
        if (!have(p + 1))
            break;
        const quint8 b = byteAt(p);
        if (b == 0) {
            if (reach.zerosLengthen)
                ++window;
            continue;
        }
        if (b != 0xFF || !have(p + 4) || (byteAt(p + 1) & 0xE0) != 0xE0)
            continue;
        const FrameHeader h = parseHeader(buf, qsizetype(p));
        if (!h.isValid)
            continue;
        const qint64 next = p + h.frameLength;
        const bool confirmed = next == audioLength
            || (next + 4 <= audioLength && have(next + 4) && h.sameStream(parseHeader(buf, qsizetype(next))));
        if (!confirmed)
            continue;
        out.offset = p;
        out.firstHeader = h;
        break;
    }
    out.positionsExamined = p;
    if (!out.found())
        return out;

    have(out.offset + out.firstHeader.frameLength + 4);
    out.vbrHeader = parseVbrHeader(buf, qsizetype(out.offset), out.firstHeader);
    // An encoder writes its Xing/Info/VBRI frame with a header of its own choosing (another
    // bitrate to make room, plain stereo for a joint-stereo stream): the stream's own figures
    // come from the first audio frame after it.
    out.audioHeader = out.firstHeader;
    if (out.vbrHeader.isValid()) {
        const FrameHeader next = parseHeader(buf, qsizetype(out.offset + out.firstHeader.frameLength));
        if (out.firstHeader.sameStream(next))
            out.audioHeader = next;
    }
    return out;
}

StreamFigures streamFigures(const StreamStart &start, qint64 streamBytes)
{
    // Twice the highest bitrate MPEG audio allows (448 kbit/s), in bit/s: a count that would put
    // the audio above it is damaged.
    constexpr double MaxPlausibleBitrate = 896'000.0;

    const FrameHeader &h = start.audioHeader;
    const VbrHeader &v = start.vbrHeader;
    StreamFigures out;
    if (!h.isValid)
        return out;
    // The frame that holds a VBR header carries no audio: its count is of the frames after it.
    const qint64 audioBytes = v.isValid() ? std::max<qint64>(streamBytes - start.firstHeader.frameLength, 0) : streamBytes;
    const double counted = v.hasFrames && v.frames > 0 ? double(v.frames) * h.samplesPerFrame / h.sampleRate : 0.0;
    const auto plausible = [counted](qint64 bytes) { return double(bytes) * 8.0 / counted <= MaxPlausibleBitrate; };
    if (counted > 0 && plausible(audioBytes)) {
        out.seconds = counted;
        out.fromFrameCount = true;
        if (!v.isVariable()) {
            out.bitsPerSecond = h.bitrate * 1000.0;
            return out;
        }
        // A Xing byte count takes in the header frame, a VBRI count does not.
        const qint64 declared = !v.hasBytes ? 0
                                : v.kind == VbrHeader::Kind::Xing ? qint64(v.bytes) - start.firstHeader.frameLength
                                                                   : qint64(v.bytes);
        const qint64 bytes = declared > 0 && plausible(declared) ? declared : audioBytes;
        out.bitsPerSecond = double(bytes) * 8.0 / counted;
        // Audio cut short without a byte count averages below any bitrate the stream can have:
        // the frame's own bitrate says more than that.
        if (out.bitsPerSecond < bitrateFor(h.version, h.layer, 1) * 1000.0)
            out.bitsPerSecond = h.bitrate * 1000.0;
        return out;
    }
    out.bitsPerSecond = h.bitrate * 1000.0;
    out.seconds = double(audioBytes) * 8.0 / out.bitsPerSecond;
    return out;
}

} // namespace Mpeg
