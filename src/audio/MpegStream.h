#pragma once
// The start of an MPEG audio stream: the first frame header that the next frame header
// confirms, and the VBR header in that frame. The built-in reader and the stream analyzer both
// find frames this way; they differ only in how far they look.

#include "audio/MpegFrame.h"

#include <QtGlobal>

class Mp3FileBytes;

namespace Mpeg {

/// How far a frame start is looked for, counted in positions from the start of the audio.
struct SearchReach {
    qint64 positions = 0;
    /// Every zero byte met lengthens the search by one position.
    bool zerosLengthen = false;
    /// The most bytes of audio read for the search, whatever the positions say.
    qint64 byteLimit = 0;
};

/// The first frame of the stream.
struct StreamStart {
    qint64 offset = -1;       ///< from the start of the audio; -1 when no frame was found
    FrameHeader firstHeader;  ///< the first frame (it may hold the VBR header)
    FrameHeader audioHeader;  ///< the first frame of audio: the one after a VBR header frame
    VbrHeader vbrHeader;
    qint64 positionsExamined = 0;

    [[nodiscard]] bool found() const { return offset >= 0; }
};

/// Finds the first valid frame header whose frame is followed by the header of a frame of the
/// same stream (version, layer, sample rate), or that ends exactly where the audio ends. A
/// false sync inside a tag-free head or junk before the audio is passed over that way.
[[nodiscard]] StreamStart findStreamStart(Mp3FileBytes &file, const SearchReach &reach);

/// The playing time and average bitrate of a stream, as both readers give them.
struct StreamFigures {
    double seconds = 0.0;
    double bitsPerSecond = 0.0;
    /// The time comes from the VBR header's frame count (else from the bytes and the bitrate).
    bool fromFrameCount = false;
};

/// The figures of the stream that starts as `start` says and holds `streamBytes` bytes from its
/// first frame to the end of the audio. A usable Xing/Info/VBRI frame count gives the time (a
/// file cut short keeps the length its header gives), and for a variable bitrate the header's
/// byte count gives the average; without one, a constant bitrate over the bytes.
[[nodiscard]] StreamFigures streamFigures(const StreamStart &start, qint64 streamBytes);

} // namespace Mpeg
