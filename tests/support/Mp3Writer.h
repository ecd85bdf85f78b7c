#pragma once
// Builds exact MP3 files for tests: MPEG frames of a chosen version, layer, bitrate, sample
// rate and channel mode (silent bodies), Xing/Info and VBRI headers, ID3v2.3 tags written by
// hand (text frames, a comment, a picture of N bytes, padding), ID3v1 trailers and APE tags.
// Independent of TagLib, so what it writes is a second opinion on what the program reads.
//
// Typical use:
//   QByteArray song = Mp3Writer::id3v2({{"TIT2", u"Intro"_s}}) + Mp3Writer::cbrFile(3.0, 128)
//                   + Mp3Writer::id3v1({.title = u"Intro"_s, .track = 1});
//   Mp3Writer::save(path, song);

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace Mp3Writer {

enum class Mode { Stereo = 0, JointStereo = 1, DualChannel = 2, Mono = 3 };

/// One frame header's fields. Version is 1, 2 or 25 (MPEG 2.5); bitrate in kbit/s must be in
/// the table of that version and layer; the sample rate must belong to the version.
struct Frame {
    int version = 1;
    int layer = 3;
    int bitrate = 128;
    int sampleRate = 44100;
    Mode mode = Mode::JointStereo;
    bool padding = false;
    bool crc = false; ///< protection: a 16-bit CRC follows the header (its value is not checked)
    bool privateBit = false;
    bool copyright = false;
    bool original = false;
    int emphasis = 0; ///< 0 none, 1 50/15, 2 reserved, 3 CCITT J 17
};

/// The 32-bit header word of a frame (asserts on values outside the tables).
[[nodiscard]] quint32 headerWord(const Frame &frame);
/// The 4 header bytes, big-endian.
[[nodiscard]] QByteArray header(const Frame &frame);
/// The size of the whole frame in bytes, header included.
[[nodiscard]] int frameSize(const Frame &frame);
/// The number of samples a frame holds.
[[nodiscard]] int samplesPerFrame(const Frame &frame);
/// Where a Xing/Info header stands in the first frame: after the header and the side info.
[[nodiscard]] int xingOffset(const Frame &frame);
/// How many frames make up the given playing time (rounded up, at least 1).
[[nodiscard]] int framesFor(double seconds, const Frame &frame);

/// One whole frame: header then a body of the fill byte (zeros decode to silence).
[[nodiscard]] QByteArray frame(const Frame &frame, char fill = 0);
/// Count frames in a row.
[[nodiscard]] QByteArray frames(const Frame &frame, int count, char fill = 0);

/// A constant-bitrate stream of about the given length, without tags.
[[nodiscard]] QByteArray cbrFile(double seconds, int bitrate = 128, Frame base = {});

/// A first frame holding a "Xing" (or "Info") header at its usual place, with the frame count and,
/// when byteCount is not 0, the byte count.
[[nodiscard]] QByteArray xingFrame(const Frame &frame, quint32 frameCount, quint32 byteCount = 0, bool info = false);
/// Like xingFrame() but with the header at a chosen offset from the frame's first byte.
[[nodiscard]] QByteArray xingFrameAt(const Frame &frame, int offset, quint32 frameCount, quint32 byteCount = 0,
                                     bool info = false);
/// A first frame holding a "VBRI" header (32 bytes after the header) with frame and byte counts.
[[nodiscard]] QByteArray vbriFrame(const Frame &frame, quint32 frameCount, quint32 byteCount);

/// A variable-bitrate stream: a Xing frame (at the base bitrate) counting the frames after it,
/// then `count` frames whose bitrates cycle through the list.
[[nodiscard]] QByteArray vbrStream(const Frame &base, const QList<int> &bitrates, int count);

/// One ID3v2 text frame: a four-letter id ("TIT2", "TPE1", "COMM", ...) and its text.
struct TextFrame {
    QByteArray id{};
    QString text{};
};

/// An ID3v2.3 tag: the text frames (Latin-1 when they fit, UTF-16 otherwise; "COMM" as a
/// comment in English), an optional front-cover JPEG-like picture of pictureBytes bytes with
/// no zero or 0xFF bytes after its start marker, then `padding` zero bytes.
[[nodiscard]] QByteArray id3v2(const QList<TextFrame> &frames, int pictureBytes = 0, int padding = 0);
/// An ID3v2 tag of exactly totalSize bytes (at least 10), all padding after the header.
[[nodiscard]] QByteArray id3v2OfSize(int totalSize);
/// The 10-byte ID3v2 header alone, declaring a body of bodySize bytes (any value, even absurd);
/// version 4 with footer=true sets the footer flag (the caller appends the footer).
[[nodiscard]] QByteArray id3v2Header(quint32 bodySize, int majorVersion = 3, bool footer = false);

/// The fields of an ID3v1 trailer; track -1 writes the 1.0 layout (30-byte comment).
struct V1Fields {
    QString title{};
    QString artist{};
    QString album{};
    QString year{};
    QString comment{};
    int track = -1;
    int genre = 255;
};
/// A 128-byte ID3v1 trailer (Latin-1, zero padded).
[[nodiscard]] QByteArray id3v1(const V1Fields &fields);

/// An APEv2 tag with header and footer around `itemBytes` bytes of (empty) items.
[[nodiscard]] QByteArray apeTag(int itemBytes = 0);

/// A run of zero bytes.
[[nodiscard]] QByteArray zeros(int count);

/// The common album file: ID3v2.3 with title, artist, album, year, track and genre (empty
/// fields left out), `seconds` of 128 kbit/s 44.1 kHz audio, and an ID3v1 trailer when withV1.
struct Song {
    QString title{};
    QString artist{};
    QString album{};
    QString year{};
    QString genre{};
    QString comment{};
    int track = 0;
    double seconds = 1.0;
    int bitrate = 128;
    bool withV2 = true;
    bool withV1 = false;
    int pictureBytes = 0;
};
[[nodiscard]] QByteArray song(const Song &song);

/// Writes bytes to a file, creating its folder; true on success.
bool save(const QString &path, const QByteArray &bytes);

/// One file of an album folder: its name and its song.
struct AlbumFile {
    QString fileName;
    Song song;
};

/// Writes an album folder (made, even when empty) of one song file each; returns the folder's
/// path. A file that cannot be written fails the test.
QString makeAlbum(const QString &folder, const QList<AlbumFile> &files);

} // namespace Mp3Writer
