// The built-in header reader. It takes the first confirmed frame within a window of positions
// near the start of the audio, and its bitrate and playing time from that frame, its VBR header
// and the length of the audio between the tags, as the stream analyzer does.

#include "audio/Mp3InfoVBR.h"

#include "audio/Mp3FileBytes.h"
#include "audio/MpegFrame.h"
#include "audio/MpegStream.h"
#include "foundation/Basic.h"

#include <array>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace Mp3InfoVBR {
namespace {

struct State {
    MpegInfo last;
    bool vbr = false;
    quint32 frames = 0;
};

State &state()
{
    static State s;
    return s;
}

constexpr qint64 MinimumFileSize = 256;

const std::array<QString, 4> kModes{u"Stereo"_s, u"Joint Stereo"_s, u"Dual Channel"_s, u"Mono"_s};
const std::array<QString, 4> kEmphasis{u"None"_s, u"50/15"_s, u"Reserved"_s, u"CCITT J 17"_s};

QString yesNo(bool value)
{
    return value ? u"Yes"_s : u"No"_s;
}

} // namespace

qint64 leadingId3v2Size(const QByteArray &head)
{
    return Mpeg::id3v2Size(head, 0);
}

Reading read(Mp3FileBytes &file)
{
    Reading out;
    if (!file.isOpen() || file.size() < MinimumFileSize)
        return out;
    const Mpeg::StreamStart start = Mpeg::findStreamStart(
        file, {.positions = ScanWindow, .zerosLengthen = true, .byteLimit = ScanByteLimit});
    if (!start.found())
        return out;
    out.found = true;

    const Mpeg::FrameHeader &h = start.audioHeader;
    MpegInfo &info = out.info;
    info.mpegVersion = h.version;
    info.layer = h.layer;
    info.protection = yesNo(h.crc);
    info.sampleRate = h.sampleRate;
    info.padding = yesNo(h.padding);
    info.privateBit = yesNo(h.privateBit);
    info.channelMode = kModes[std::size_t(h.channelMode)];
    info.copyright = yesNo(h.copyright);
    info.original = yesNo(h.original);
    info.emphasis = kEmphasis[std::size_t(h.emphasis)];

    // An "Info" header is laid out as a "Xing" one and counts the frames of a constant bitrate.
    const Mpeg::VbrHeader &v = start.vbrHeader;
    out.vbr = v.isVariable();
    out.counted = v.hasFrames;
    out.frames = v.hasFrames ? v.frames : 0;

    // A variable bitrate without a frame count has no average to give.
    if (out.vbr && out.frames == 0)
        return out;
    // The tags are no audio: a cover picture of 200 KB would otherwise add seconds.
    const qint64 streamBytes = file.audioEnd() - (file.audioStart() + start.offset);
    const Mpeg::StreamFigures figures = Mpeg::streamFigures(start, streamBytes);
    // A frame count of 1 in a huge file gives an average no int holds: impossible.
    const double kbps = figures.bitsPerSecond / 1000.0;
    if (kbps > 0 && kbps <= double(std::numeric_limits<int>::max())) {
        info.bitrate = int(Basic::roundEven(kbps));
        info.duration = qint64(std::floor(figures.seconds + 1e-9));
    }
    return out;
}

MpegInfo readMpegInfo(const QString &path)
{
    State &s = state();
    Mp3FileBytes file(path);
    const Reading r = read(file);
    s.last = r.info;
    // The VBR flag and count describe the last file in which a frame was found.
    if (r.found) {
        s.vbr = r.vbr;
        if (r.counted)
            s.frames = r.frames;
    }
    return s.last;
}

const MpegInfo &lastInfo()
{
    return state().last;
}

bool isVBR()
{
    return state().vbr;
}

quint32 vbrFrameCount()
{
    return state().frames;
}

void resetState()
{
    state() = State();
}

} // namespace Mp3InfoVBR
