#pragma once
// The built-in MPEG header reader: finds the first frame near the start of the audio that the
// next frame confirms (MPEG 1, 2, 2.5, every layer), decodes its header, recognises a "Xing",
// "Info" or "VBRI" header in that frame and works out the bitrate and the playing time. Keeps the last
// result, the VBR flag and the frame count for the keyword access.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class Mp3FileBytes;

namespace Mp3InfoVBR {

/// What the reader found out about one file; all numbers 0 and texts empty when nothing.
struct MpegInfo {
    int bitrate = 0;       ///< kbit/s (the rounded average for a VBR file)
    int sampleRate = 0;    ///< Hz
    QString channelMode{};   ///< "Stereo", "Joint Stereo", "Dual Channel", "Mono"
    QString emphasis{};      ///< "None", "50/15", "Reserved", "CCITT J 17"
    int mpegVersion = 0;   ///< 1, 2, 25 or 0
    int layer = 0;         ///< 1, 2, 3 or 0
    QString padding{};       ///< "Yes" or "No"
    QString protection{};    ///< "Yes" (a CRC follows) or "No"
    qint64 duration = 0;   ///< whole seconds
    QString copyright{};     ///< "Yes" or "No"
    QString original{};      ///< "Yes" or "No"
    QString privateBit{};    ///< "Yes" or "No"

    friend bool operator==(const MpegInfo &, const MpegInfo &) = default;
};

/// The sync scan's reach: positions examined from the start of the audio, before zero bytes
/// lengthen it.
inline constexpr qint64 ScanWindow = 99999;

/// How far the audio is read at most for the scan, however many zero bytes lengthen it.
inline constexpr qint64 ScanByteLimit = 16 * 1024 * 1024;

/// What one analysis found; it touches no module state, so files can be read side by side.
struct Reading {
    MpegInfo info;
    bool found = false;  ///< a frame was found
    bool vbr = false;    ///< its frame holds a "Xing" or "VBRI" header
    bool counted = false; ///< its frame holds a header with a frame count ("Info" too)
    quint32 frames = 0;  ///< that header's frame count
};

/// Analyses the bytes of an opened file (reading more of its audio when the scan needs it).
[[nodiscard]] Reading read(Mp3FileBytes &file);

/// Analyses a file, stores the result as the last result and returns it.
MpegInfo readMpegInfo(const QString &path);

/// The result of the last readMpegInfo().
[[nodiscard]] const MpegInfo &lastInfo();

/// True when the last file in which a frame was found had a "Xing" header.
[[nodiscard]] bool isVBR();

/// The frame count of the last "Xing", "Info" or "VBRI" header read.
[[nodiscard]] quint32 vbrFrameCount();

/// Resets the module state (last result, VBR flag, frame count) to its start values.
void resetState();

/// The size of an ID3v2 tag that starts at offset 0 of the bytes (header, body and footer), or
/// 0 when they do not start with one.
[[nodiscard]] qint64 leadingId3v2Size(const QByteArray &head);

} // namespace Mp3InfoVBR
