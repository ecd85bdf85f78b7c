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

} // namespace Mpeg
