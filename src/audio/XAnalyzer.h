#pragma once
// The MPEG stream analyzer behind XAnalyzer::Analysis: skips the ID3v2 tags at the start of a file,
// finds the first valid frame header that the next frame header confirms (MPEG 1, 2, 2.5;
// layers I, II, III), reads a Xing/Info or VBRI header in that frame and works out the
// playing time and bitrate. Its result record and status codes are those the analyzer
// object is built on.

#include "audio/MpegFrame.h"

#include <QString>

class Mp3FileBytes;
#include <QtGlobal>

namespace XAnalyzer {

/// Status codes of processFile(); 0 and -8 mean success.
enum Status : int {
    Ok = 0,
    Warning = -8,        ///< analysed with a remark; counts as success (this analyzer has none)
    InternalError = -2,
    OutOfMemory = -3,
    NoSuchFile = -4,
    CannotOpen = -5,
    NoFrameStart = -9,
};

/// Flag bit of Record::flags: the stream has a variable bitrate.
inline constexpr quint32 VariableBitrateFlag = 4;

/// The analyzer's result record.
struct Record {
    int versionCode = 0;  ///< 0 MPEG 2.5, 1 MPEG 1, 2 MPEG 2
    int layer = 0;
    int bitrate = 0;      ///< bit/s (the average for a variable bitrate)
    int frequency = 0;    ///< Hz
    int channelMode = 0;  ///< 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    int channels = 0;
    qint64 durationMs = 0;
    quint32 flags = 0;    ///< VariableBitrateFlag
};

/// The record and how it was found.
struct StreamInfo {
    Record record;
    Mpeg::FrameHeader firstHeader; ///< the first frame (it may hold the VBR header)
    Mpeg::FrameHeader audioHeader; ///< the first frame of audio: the one after a VBR header frame
    Mpeg::VbrHeader vbrHeader;
    qint64 firstFrameOffset = -1; ///< file offset of the first frame
    qint64 audioStart = 0;        ///< after the ID3v2 tags
    qint64 audioEnd = 0;          ///< before the APE and ID3v1 tags
    qint64 bytesExamined = 0;     ///< bytes searched for a frame start
};

/// How far past the tags a frame start is looked for.
inline constexpr qint64 SearchLimit = 1024 * 1024;

/// Analyses a file; fills info and returns a status. On failure info keeps its values, except
/// that bytesExamined tells how far a frame start was looked for.
Status processFile(const QString &path, StreamInfo &info);

/// The same on a file already opened; reads more of its audio when the search needs it.
Status analyse(Mp3FileBytes &file, StreamInfo &info);

} // namespace XAnalyzer
