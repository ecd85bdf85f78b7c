// The built-in header reader. It recognises only MPEG-1 Layer III frame starts (0xFF followed
// by 0xFA or 0xFB) within a window of positions near the start of the audio, and takes its
// bitrate and playing time from that one frame and the file's length.

#include "audio/Mp3InfoVBR.h"

#include "audio/MpegFrame.h"
#include "foundation/Basic.h"

#include <QFile>

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
constexpr qint64 ChunkSize = 64 * 1024;
// Bytes of the first frame the reader looks at: the header and, at most, a Xing header at
// offset 36 with its frame count at 44-47.
constexpr qint64 FirstFrameBytes = 48;
// Bytes per slot times samples: the Layer II/III coefficient of the average-bitrate formula.
constexpr double LayerIIICoefficient = 144.0;

const std::array<QString, 4> kModes{u"Stereo"_s, u"Joint Stereo"_s, u"Dual Channel"_s, u"Mono"_s};
const std::array<QString, 4> kEmphasis{u"None"_s, u"50/15"_s, u"Reserved"_s, u"CCITT J 17"_s};

QString yesNo(bool value)
{
    return value ? u"Yes"_s : u"No"_s;
}

// The file read in chunks, with the bytes from an absolute position kept in memory, so the
// scan sees exactly the bytes a byte-wise reader would.
class ChunkedFile
{
public:
    explicit ChunkedFile(QFile &file) : file_(file) {}

    // The byte at an absolute position (which must lie before the file's end).
    quint8 at(qint64 pos)
    {
        if (pos < base_ || pos >= base_ + buffer_.size()) {
            base_ = pos;
            buffer_.clear();
            if (file_.seek(pos))
                buffer_ = file_.read(ChunkSize);
            if (buffer_.isEmpty())
                return 0; // a failed read ends nothing early: it reads as a zero byte
        }
        return quint8(buffer_.at(pos - base_));
    }

private:
    QFile &file_;
    QByteArray buffer_;
    qint64 base_ = 0;
};

// The sync scan: every position is examined; a zero byte met lengthens the window by one.
qint64 findFrameStart(QFile &file, qint64 start, qint64 size)
{
    ChunkedFile bytes(file);
    qint64 window = ScanWindow;
    for (qint64 pos = start; pos - start < window && pos < size; ++pos) {
        const quint8 b = bytes.at(pos);
        if (b == 0) {
            ++window;
        } else if (b == 0xFF && pos + 1 < size) {
            const quint8 next = bytes.at(pos + 1);
            if (next == 0xFA || next == 0xFB)
                return pos;
        }
    }
    return -1;
}

quint32 be32(const QByteArray &bytes, int at)
{
    return (quint32(quint8(bytes[at])) << 24) | (quint32(quint8(bytes[at + 1])) << 16)
           | (quint32(quint8(bytes[at + 2])) << 8) | quint32(quint8(bytes[at + 3]));
}

} // namespace

qint64 leadingId3v2Size(const QByteArray &head)
{
    return Mpeg::id3v2Size(head, 0);
}

MpegInfo readMpegInfo(const QString &path)
{
    State &s = state();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        s.last = {};
        return s.last;
    }
    const qint64 size = file.size();
    if (size < MinimumFileSize) {
        s.last = {};
        return s.last;
    }

    // A tag at the very start is skipped so a large picture cannot use up the window; a tag
    // that claims more than the file holds is not trusted and the scan starts at 0.
    qint64 start = leadingId3v2Size(file.read(10));
    if (start >= size)
        start = 0;
    const qint64 frameAt = findFrameStart(file, start, size);
    if (frameAt < 0) {
        s.last = {};
        return s.last;
    }

    QByteArray frame;
    if (file.seek(frameAt))
        frame = file.read(FirstFrameBytes);
    frame.resize(FirstFrameBytes, '\0'); // bytes past the end read as zeros
    file.close();

    const quint32 word = be32(frame, 0);
    MpegInfo info;
    static constexpr std::array<int, 4> kVersions{25, 0, 2, 1}; // bits 20-19
    static constexpr std::array<int, 4> kLayers{0, 3, 2, 1};    // bits 18-17
    info.mpegVersion = kVersions[(word >> 19) & 3u];
    info.layer = kLayers[(word >> 17) & 3u];
    info.protection = yesNo(((word >> 16) & 1u) == 0);
    const int bitrateIndex = int((word >> 12) & 15u);
    const int rateIndex = int((word >> 10) & 3u);
    info.sampleRate = Mpeg::sampleRateFor(1, rateIndex);
    info.padding = yesNo((word >> 9) & 1u);
    info.privateBit = yesNo((word >> 8) & 1u);
    const int mode = int((word >> 6) & 3u);
    info.channelMode = kModes[std::size_t(mode)];
    info.copyright = yesNo((word >> 3) & 1u);
    info.original = yesNo((word >> 2) & 1u);
    info.emphasis = kEmphasis[word & 3u];

    // The Xing header follows the side info, which is shorter in a mono frame.
    const int xingAt = mode == 3 ? 21 : 36;
    if (frame.mid(xingAt, 4) == "Xing") {
        s.vbr = true;
        s.frames = be32(frame, xingAt + 8);
    } else {
        s.vbr = false;
    }

    // The length in bits of a file of 256 MiB or more does not fit 32 bits.
    const qint64 bits = size * 8;
    if (s.vbr) {
        if (s.frames > 0 && info.sampleRate > 0) {
            const double average = double(size) * info.sampleRate / s.frames / 1000.0 / LayerIIICoefficient;
            // A frame count of 1 in a huge file gives an average no int holds: impossible.
            if (average <= double(std::numeric_limits<int>::max())) {
                info.bitrate = int(Basic::roundEven(average));
                info.duration = qint64(std::floor(double(bits) / average / 1000.0 + 1e-9));
            }
        }
    } else {
        const int bitrate = Mpeg::bitrateFor(1, 3, bitrateIndex);
        if (bitrate > 0) {
            info.bitrate = bitrate;
            info.duration = bits / bitrate / 1000;
        }
    }
    s.last = info;
    return info;
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
