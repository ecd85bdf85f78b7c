#pragma once
// MPEG audio frame headers, the Xing/Info and VBRI headers of a first frame and the sizes of
// the tags around the audio, parsed from bytes. Every parser returns a value that says
// whether it is valid; a bad field makes the whole value invalid, never half-filled.

#include <QByteArray>
#include <QtGlobal>

namespace Mpeg {

/// A decoded 4-byte frame header.
struct FrameHeader {
    bool isValid = false;
    int version = 0;        ///< 1, 2 or 25 (MPEG 2.5)
    int layer = 0;          ///< 1, 2 or 3
    bool crc = false;       ///< a 16-bit CRC follows the header
    int bitrate = 0;        ///< kbit/s
    int sampleRate = 0;     ///< Hz
    bool padding = false;
    bool privateBit = false;
    int channelMode = 0;    ///< 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    bool copyright = false;
    bool original = false;
    int emphasis = 0;       ///< 0 none, 1 50/15, 2 reserved, 3 CCITT J 17
    int frameLength = 0;    ///< bytes, header included
    int samplesPerFrame = 0;

    /// The number of channels: 1 for mono, 2 otherwise.
    [[nodiscard]] int channels() const { return channelMode == 3 ? 1 : 2; }
    /// Where a Xing/Info header stands: after the header, the CRC and the Layer III side info.
    [[nodiscard]] int xingOffset() const;
    /// True when another header can belong to the same stream (version, layer, sample rate).
    [[nodiscard]] bool sameStream(const FrameHeader &other) const;
};

/// Decodes the header word; invalid for a bad sync, reserved version or layer, free-format or
/// bad bitrate index, or reserved sample-rate index.
[[nodiscard]] FrameHeader parseHeader(quint32 word);

/// Decodes the header at an offset of the bytes; invalid when fewer than 4 bytes remain.
[[nodiscard]] FrameHeader parseHeader(const QByteArray &bytes, qsizetype at);

/// The bitrate in kbit/s of an index for a version and layer; 0 for index 0, -1 for 15 or a
/// bad version or layer.
[[nodiscard]] int bitrateFor(int version, int layer, int index);

/// The sample rate in Hz of an index for a version; 0 for the reserved index 3.
[[nodiscard]] int sampleRateFor(int version, int index);

/// The variable-bitrate header found in a first frame.
struct VbrHeader {
    enum class Kind { None, Xing, Info, Vbri };
    Kind kind = Kind::None;
    bool hasFrames = false;
    quint32 frames = 0;
    bool hasBytes = false;
    quint32 bytes = 0;

    [[nodiscard]] bool isValid() const { return kind != Kind::None; }
    /// Xing and VBRI headers mark a variable bitrate; "Info" marks a constant one.
    [[nodiscard]] bool isVariable() const { return kind == Kind::Xing || kind == Kind::Vbri; }
};

/// Reads a Xing/Info header at the frame's usual offset or a VBRI header at offset 36.
[[nodiscard]] VbrHeader parseVbrHeader(const QByteArray &bytes, qsizetype frameStart, const FrameHeader &frame);

/// The full size of an ID3v2 tag starting at the offset (10-byte header, body, footer when
/// flagged), or 0 when no valid ID3v2 header stands there.
[[nodiscard]] qint64 id3v2Size(const QByteArray &bytes, qsizetype at);

/// The full size of an APEv2 tag whose footer ends at `end` (header included when flagged),
/// or 0 when none ends there. The size is as declared: the caller checks that it fits.
[[nodiscard]] qint64 apeSizeBefore(const QByteArray &bytes, qsizetype end);

/// The full size of an ID3v2.4 tag whose footer ("3DI") ends at `end` (header, body and
/// footer), or 0 when no footer ends there. As declared: the caller checks the header.
[[nodiscard]] qint64 id3v2SizeBefore(const QByteArray &bytes, qsizetype end);

/// The full size of a Lyrics3 v2 block ending at `end` ("LYRICSBEGIN" to "LYRICS200" after its
/// six-digit size), or 0 when none ends there. As declared: the caller checks the start.
[[nodiscard]] qint64 lyrics3v2SizeBefore(const QByteArray &bytes, qsizetype end);

/// The bytes that start a Lyrics3 block, and the end marker of a version 1 block (whose start
/// is found by looking back for the begin marker, at most Lyrics3v1Limit bytes before).
inline constexpr char Lyrics3Begin[] = "LYRICSBEGIN";
inline constexpr char Lyrics3v1End[] = "LYRICSEND";
inline constexpr qint64 Lyrics3v1Limit = 11 + 5100 + 9;

} // namespace Mpeg
