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
    case Mp3FileBytes::OpenState::CannotOpen:
    case Mp3FileBytes::OpenState::NotAFile: return CannotOpen;
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

    const Mpeg::StreamFigures figures = Mpeg::streamFigures(start, out.audioEnd - out.firstFrameOffset);
    const double ms = figures.seconds * 1000.0;
    // A counted length is exact; one from the bytes counts whole milliseconds of audio.
    r.durationMs = figures.fromFrameCount ? qint64(std::llround(ms)) : qint64(std::floor(ms + 1e-6));
    r.bitrate = int(std::llround(figures.bitsPerSecond));
    info = out;
    return Ok;
}

} // namespace XAnalyzer
