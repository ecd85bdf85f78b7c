#pragma once
// The bytes of an MP3 file that the listing and the two audio readers need, read with one open
// and positioned reads into one buffer: the tail (where an ID3v1 trailer stands)
// and the head of the audio after the ID3v2 tags, which are skipped by their headers' sizes and
// never read. A reader that needs more of the audio asks for it; the file stays open meanwhile.

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>

class Mp3FileBytes
{
public:
    /// How the file could be opened.
    /// How the file could be opened: NotAFile is a directory, a pipe or a device of that name.
    enum class OpenState { Open, NoSuchFile, CannotOpen, NotAFile };

    /// Bytes of audio read at first: enough for a tag's padding, a first frame and the next.
    static constexpr qint64 FirstHeadBytes = 16 * 1024;
    /// Bytes at the end kept for the tag test: an ID3v1 trailer and the APE footer before it.
    static constexpr qint64 TailBytes = 128 + 32;

    explicit Mp3FileBytes(const QString &path);
    ~Mp3FileBytes();
    Mp3FileBytes(const Mp3FileBytes &) = delete;
    Mp3FileBytes &operator=(const Mp3FileBytes &) = delete;

    [[nodiscard]] OpenState openState() const { return state_; }
    [[nodiscard]] bool isOpen() const { return state_ == OpenState::Open; }
    /// The file length in bytes.
    [[nodiscard]] qint64 size() const { return size_; }

    /// An ID3v2 tag starts the file and fits in it.
    [[nodiscard]] bool hasV2() const { return hasV2_; }
    /// The file ends with an ID3v1 trailer ("TAG" 128 bytes before the end).
    [[nodiscard]] bool hasV1() const { return hasV1_; }

    /// Where the audio starts: after every ID3v2 tag in a row at the start of the file. A tag
    /// that claims more bytes than the file holds is not skipped.
    [[nodiscard]] qint64 audioStart() const { return audioStart_; }
    /// Where the audio ends: before the ID3v1 trailer and the APE tags, Lyrics3 blocks and
    /// ID3v2 tags with a footer appended in front of it.
    [[nodiscard]] qint64 audioEnd() const { return audioEnd_; }

    /// The bytes read so far from audioStart() on (up to the end of the file), as a view into
    /// the buffer: valid until the next readHead().
    [[nodiscard]] QByteArray head() const;
    /// Makes head() hold at least `length` bytes, or all up to the end of the file; false when
    /// it cannot (a read error, or nothing more to read).
    bool readHead(qint64 length);

    /// Bytes readRange() hands over at a time.
    static constexpr qint64 RangeChunk = 256 * 1024;
    /// Hands the file's bytes from `offset` to `end` to `chunk` in pieces of RangeChunk bytes
    /// (the last one shorter), without keeping them; false when a read falls short.
    bool readRange(qint64 offset, qint64 end, const std::function<void(QByteArrayView)> &chunk);
    /// Reads `count` bytes at `offset` into `into`; false when fewer could be read. Bytes the
    /// first reads already hold (the tail, the head after the tags) are not read again.
    bool readExactly(qint64 offset, char *into, qint64 count);
    /// Whether the open descriptor `fd` is this very file (not one put in its place since).
    [[nodiscard]] bool isSameFile(int fd) const;
    /// Whether the file's owner may write it, by its permission bits when it was opened.
    [[nodiscard]] bool ownerMayWrite() const { return ownerMayWrite_; }

private:
    // The most tags taken off the end, so a file of nothing but footers ends the search.
    static constexpr int MaxTrailingTags = 16;
    // The size of an APE tag, Lyrics3 block or footed ID3v2 tag that ends at `end`; 0 when none.
    qint64 trailingTagBefore(qint64 end);
    // Reads count bytes at the offset; returns how many were read.
    qint64 readAt(qint64 offset, char *into, qint64 count);

    int fd_ = -1;
    OpenState state_ = OpenState::CannotOpen;
    qint64 size_ = 0;
    quint64 device_ = 0;
    quint64 inode_ = 0;
    bool ownerMayWrite_ = false;
    qint64 audioStart_ = 0;
    qint64 audioEnd_ = 0;
    bool hasV1_ = false;
    bool tailRead_ = false; // the buffer's tail holds the file's last bytes
    QByteArray leading_;    // the file's first bytes up to the audio, as far as the first read went
    bool hasV2_ = false;
    // The tail (TailBytes, zero filled before a short file's start), then the head.
    QByteArray buffer_;
};
