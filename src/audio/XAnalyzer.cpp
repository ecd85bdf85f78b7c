#include "audio/XAnalyzer.h"

#include "audio/Mp3FileBytes.h"
#include "audio/MpegStream.h"

#include <algorithm>
#include <cmath>

namespace XAnalyzer {
namespace {

using Mpeg::FrameHeader;
using Mpeg::VbrHeader;

// Enough bytes past the searched part to hold the longest frame (Layer II at 384 kbit/s and
// 32 kHz: 1729 bytes) and the next frame's header.
constexpr qint64 FrameSlack = 4096;

// Twice the highest bitrate MPEG audio allows (448 kbit/s), in bit/s.
constexpr double MaxPlausibleBitrate = 896'000.0;

} // namespace

Status processFile(const QString &path, StreamInfo &info)
{
    Mp3FileBytes file(path);
    return analyse(file, info);
}

Status analyse(Mp3FileBytes &file, StreamInfo &info)
{
    switch (file.openState()) {
    case Mp3FileBytes::OpenState::NoSuchFile: return NoSuchFile;
    case Mp3FileBytes::OpenState::CannotOpen: return CannotOpen;
    case Mp3FileBytes::OpenState::Open: break;
    }

    StreamInfo out;
    out.audioStart = file.audioStart();
    out.audioEnd = file.audioEnd();
    const qint64 searchBytes = std::min(out.audioEnd - out.audioStart, SearchLimit);
    const Mpeg::StreamStart start
        = Mpeg::findStreamStart(file, {.positions = searchBytes, .byteLimit = searchBytes + FrameSlack});
    if (!start.found()) {
        info.bytesExamined = std::max<qint64>(searchBytes, 0);
        return NoFrameStart;
    }
    out.bytesExamined = start.offset;
    out.firstFrameOffset = out.audioStart + start.offset;
    out.firstHeader = start.firstHeader;
    out.audioHeader = start.audioHeader;
    out.vbrHeader = start.vbrHeader;

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
