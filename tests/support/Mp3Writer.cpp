#include "Mp3Writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstdio>

namespace Mp3Writer {
namespace {

// Bitrates in kbit/s by bitrate index: [MPEG-1 L1, L2, L3, MPEG-2/2.5 L1, L2/L3].
constexpr std::array<std::array<int, 15>, 5> kBitrates{{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
}};

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "Mp3Writer: %s\n", what);
    std::abort();
}

int bitrateRow(const Frame &f)
{
    if (f.version == 1)
        return f.layer - 1;
    return f.layer == 1 ? 3 : 4;
}

int bitrateIndex(const Frame &f)
{
    const auto &row = kBitrates.at(std::size_t(bitrateRow(f)));
    for (std::size_t i = 1; i < row.size(); ++i)
        if (row[i] == f.bitrate)
            return int(i);
    fail("bitrate not in the table of this version and layer");
}

int sampleRateIndex(const Frame &f)
{
    const int base = f.version == 1 ? 1 : f.version == 2 ? 2 : 4;
    const std::array<int, 3> rates{44100 / base, 48000 / base, 32000 / base};
    for (std::size_t i = 0; i < rates.size(); ++i)
        if (rates[i] == f.sampleRate)
            return int(i);
    fail("sample rate does not belong to this version");
}

// Bytes per frame before the padding slot, as a fraction numerator over the sample rate.
long long slotNumerator(const Frame &f)
{
    const long long bps = f.bitrate * 1000LL;
    if (f.layer == 1)
        return 12 * bps;
    if (f.layer == 3 && f.version != 1)
        return 72 * bps;
    return 144 * bps;
}

void putBE32(QByteArray &bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (24 - 8 * i)) & 0xFF);
}

QByteArray be32(quint32 value)
{
    QByteArray b(4, '\0');
    putBE32(b, 0, value);
    return b;
}

QByteArray syncSafe(quint32 value)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((value >> (21 - 7 * i)) & 0x7F);
    return b;
}

bool fitsLatin1(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

// Encoding byte and encoded text: Latin-1 when every character fits, else UTF-16 with a BOM.
QByteArray encodedText(const QString &text, bool terminated, char &encoding)
{
    if (fitsLatin1(text)) {
        encoding = 0;
        QByteArray b = text.toLatin1();
        if (terminated)
            b.append('\0');
        return b;
    }
    encoding = 1;
    QByteArray b("\xFF\xFE", 2);
    for (QChar c : text) {
        b.append(char(c.unicode() & 0xFF));
        b.append(char(c.unicode() >> 8));
    }
    if (terminated)
        b.append(QByteArray(2, '\0'));
    return b;
}

QByteArray v23Frame(const QByteArray &id, const QByteArray &body)
{
    return id + be32(quint32(body.size())) + QByteArray(2, '\0') + body;
}

QByteArray textFrame(const TextFrame &tf)
{
    char enc = 0;
    if (tf.id == "COMM") {
        // Language, then an empty description in the text's own encoding, then the text.
        const QByteArray text = encodedText(tf.text, false, enc);
        const QByteArray desc = enc == 0 ? QByteArray(1, '\0') : QByteArray("\xFF\xFE\0\0", 4);
        return v23Frame(tf.id, QByteArray(1, enc) + "eng" + desc + text);
    }
    const QByteArray text = encodedText(tf.text, false, enc);
    return v23Frame(tf.id, QByteArray(1, enc) + text);
}

QByteArray pictureFrame(int bytes)
{
    // A JPEG start marker, then a body free of zero and 0xFF bytes: a picture that gives a
    // byte-wise sync scan nothing to stop on and nothing to lengthen its window with.
    QByteArray data;
    data.reserve(bytes);
    const QByteArray marker("\xFF\xD8\xFF\xE0", 4);
    data.append(marker.left(bytes));
    for (int i = int(data.size()); i < bytes; ++i)
        data.append(char(1 + (i * 7) % 254));
    const QByteArray body = QByteArray(1, '\0') + QByteArray("image/jpeg") + QByteArray(1, '\0') + QByteArray(1, '\x03')
                            + QByteArray(1, '\0') + data;
    return v23Frame("APIC", body);
}

} // namespace

quint32 headerWord(const Frame &f)
{
    if (f.layer < 1 || f.layer > 3)
        fail("layer must be 1, 2 or 3");
    quint32 versionBits = 0;
    switch (f.version) {
    case 1: versionBits = 3; break;
    case 2: versionBits = 2; break;
    case 25: versionBits = 0; break;
    default: fail("version must be 1, 2 or 25");
    }
    quint32 w = 0xFFE00000u;                   // 11 sync bits
    w |= versionBits << 19;                    // version id
    w |= quint32(4 - f.layer) << 17;           // layer: 01 = III, 10 = II, 11 = I
    w |= (f.crc ? 0u : 1u) << 16;              // protection bit: 0 means a CRC follows
    w |= quint32(bitrateIndex(f)) << 12;       // bitrate index
    w |= quint32(sampleRateIndex(f)) << 10;    // sample-rate index
    w |= (f.padding ? 1u : 0u) << 9;           // padding
    w |= (f.privateBit ? 1u : 0u) << 8;        // private bit
    w |= quint32(f.mode) << 6;                 // channel mode
    w |= (f.copyright ? 1u : 0u) << 3;         // copyright
    w |= (f.original ? 1u : 0u) << 2;          // original
    w |= quint32(f.emphasis & 3);              // emphasis
    return w;
}

QByteArray header(const Frame &f)
{
    return be32(headerWord(f));
}

int frameSize(const Frame &f)
{
    const long long slotCount = slotNumerator(f) / f.sampleRate;
    if (f.layer == 1)
        return int((slotCount + (f.padding ? 1 : 0)) * 4);
    return int(slotCount + (f.padding ? 1 : 0));
}

int samplesPerFrame(const Frame &f)
{
    if (f.layer == 1)
        return 384;
    if (f.layer == 3 && f.version != 1)
        return 576;
    return 1152;
}

int xingOffset(const Frame &f)
{
    const bool mono = f.mode == Mode::Mono;
    if (f.version == 1)
        return 4 + (mono ? 17 : 32);
    return 4 + (mono ? 9 : 17);
}

int framesFor(double seconds, const Frame &f)
{
    const int n = int(std::ceil(seconds * f.sampleRate / samplesPerFrame(f) - 1e-9));
    return n < 1 ? 1 : n;
}

QByteArray frame(const Frame &f, char fill)
{
    QByteArray b(frameSize(f), fill);
    putBE32(b, 0, headerWord(f));
    return b;
}

QByteArray frames(const Frame &f, int count, char fill)
{
    const QByteArray one = frame(f, fill);
    QByteArray b;
    b.reserve(qsizetype(one.size()) * count);
    for (int i = 0; i < count; ++i)
        b.append(one);
    return b;
}

QByteArray cbrFile(double seconds, int bitrate, Frame base)
{
    base.bitrate = bitrate;
    const int count = framesFor(seconds, base);
    Frame plain = base;
    plain.padding = false;
    Frame padded = base;
    padded.padding = true;
    const QByteArray a = frame(plain);
    const QByteArray b = frame(padded);
    // Pad frames the way encoders do so the average frame size matches the bitrate exactly.
    const long long step = slotNumerator(base) % base.sampleRate;
    long long rest = 0;
    QByteArray out;
    out.reserve(qsizetype(b.size()) * count);
    for (int i = 0; i < count; ++i) {
        rest += step;
        if (rest >= base.sampleRate) {
            rest -= base.sampleRate;
            out.append(b);
        } else {
            out.append(a);
        }
    }
    return out;
}

QByteArray xingFrameAt(const Frame &f, int offset, quint32 frameCount, quint32 byteCount, bool info)
{
    QByteArray b = frame(f);
    const int end = offset + 16;
    if (b.size() < end)
        b.resize(end, '\0');
    b.replace(offset, 4, info ? "Info" : "Xing");
    putBE32(b, offset + 4, byteCount ? 3u : 1u); // flags: frames, bytes
    putBE32(b, offset + 8, frameCount);
    putBE32(b, offset + 12, byteCount);
    return b;
}

QByteArray xingFrame(const Frame &f, quint32 frameCount, quint32 byteCount, bool info)
{
    return xingFrameAt(f, xingOffset(f), frameCount, byteCount, info);
}

QByteArray vbriFrame(const Frame &f, quint32 frameCount, quint32 byteCount)
{
    QByteArray b = frame(f);
    const int at = 4 + 32;
    if (b.size() < at + 26)
        b.resize(at + 26, '\0');
    b.replace(at, 4, "VBRI");
    b[at + 5] = 1;        // version 1
    b[at + 9] = 75;       // quality
    putBE32(b, at + 10, byteCount);
    putBE32(b, at + 14, frameCount);
    b[at + 21] = 1;       // table scale
    b[at + 23] = 2;       // bytes per table entry
    return b;
}

QByteArray vbrStream(const Frame &base, const QList<int> &bitrates, int count)
{
    QByteArray audio;
    for (int i = 0; i < count; ++i) {
        Frame f = base;
        f.bitrate = bitrates.at(i % bitrates.size());
        audio.append(frame(f));
    }
    const QByteArray first = xingFrame(base, quint32(count), quint32(audio.size() + frameSize(base)));
    return first + audio;
}

QByteArray id3v2Header(quint32 bodySize, int majorVersion, bool footer)
{
    QByteArray b("ID3");
    b.append(char(majorVersion));
    b.append('\0');
    b.append(char(footer ? 0x10 : 0));
    QByteArray size(4, '\0');
    for (int i = 0; i < 4; ++i)
        size[i] = char((bodySize >> (21 - 7 * i)) & 0x7F);
    return b + size;
}

QByteArray id3v2(const QList<TextFrame> &frames, int pictureBytes, int padding)
{
    QByteArray body;
    for (const TextFrame &tf : frames)
        body.append(textFrame(tf));
    if (pictureBytes > 0)
        body.append(pictureFrame(pictureBytes));
    body.append(QByteArray(padding, '\0'));
    return QByteArray("ID3\x03\x00\x00", 6) + syncSafe(quint32(body.size())) + body;
}

QByteArray id3v2OfSize(int totalSize)
{
    if (totalSize < 10)
        fail("an ID3v2 tag has at least 10 bytes");
    return id3v2({}, 0, totalSize - 10);
}

QByteArray id3v1(const V1Fields &v)
{
    QByteArray b(128, '\0');
    b.replace(0, 3, "TAG");
    auto put = [&b](int at, int width, const QString &text) {
        const QByteArray t = text.toLatin1().left(width);
        b.replace(at, int(t.size()), t);
    };
    put(3, 30, v.title);
    put(33, 30, v.artist);
    put(63, 30, v.album);
    put(93, 4, v.year);
    if (v.track >= 0) {
        put(97, 28, v.comment);
        b[125] = '\0';
        b[126] = char(v.track & 0xFF);
    } else {
        put(97, 30, v.comment);
    }
    b[127] = char(v.genre & 0xFF);
    return b;
}

QByteArray apeTag(int itemBytes)
{
    auto part = [itemBytes](bool isHeader) {
        QByteArray b("APETAGEX");
        auto le32 = [&b](quint32 v) {
            for (int i = 0; i < 4; ++i)
                b.append(char((v >> (8 * i)) & 0xFF));
        };
        le32(2000);                                      // version
        le32(quint32(itemBytes + 32));                   // items and footer
        le32(0);                                         // item count
        le32(0x80000000u | (isHeader ? 0x20000000u : 0)); // has header / is header
        b.append(QByteArray(8, '\0'));
        return b;
    };
    return part(true) + QByteArray(itemBytes, '\0') + part(false);
}

QByteArray zeros(int count)
{
    return QByteArray(count, '\0');
}

QByteArray song(const Song &s)
{
    QByteArray out;
    if (s.withV2) {
        QList<TextFrame> fs;
        auto add = [&fs](const char *id, const QString &text) {
            if (!text.isEmpty())
                fs.append({QByteArray(id), text});
        };
        add("TIT2", s.title);
        add("TPE1", s.artist);
        add("TALB", s.album);
        add("TYER", s.year);
        add("TRCK", s.track > 0 ? QString::number(s.track) : QString());
        add("TCON", s.genre);
        add("COMM", s.comment);
        out.append(id3v2(fs, s.pictureBytes, 64));
    }
    out.append(cbrFile(s.seconds, s.bitrate));
    if (s.withV1)
        out.append(id3v1({s.title, s.artist, s.album, s.year, s.comment, s.track > 0 ? s.track : -1, 255}));
    return out;
}

bool save(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QString makeAlbum(const QString &folder, const QList<AlbumFile> &files)
{
    QDir().mkpath(folder);
    for (const AlbumFile &file : files)
        EXPECT_TRUE(save(folder + u'/' + file.fileName, song(file.song))) << file.fileName.toStdString();
    return folder;
}

} // namespace Mp3Writer
