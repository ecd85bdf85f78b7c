#include "audio/Mp3FileBytes.h"

#include "audio/MpegFrame.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Mp3FileBytes::Mp3FileBytes(const QString &path)
{
    if (path.isEmpty()) {
        state_ = OpenState::NoSuchFile;
        return;
    }
    // Non-blocking, so a pipe that carries an MP3 name cannot hang the listing; only regular
    // files are read.
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        state_ = (errno == ENOENT || errno == ENOTDIR) ? OpenState::NoSuchFile : OpenState::CannotOpen;
        return;
    }
    struct stat st {};
    const bool statted = ::fstat(fd_, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        state_ = statted ? OpenState::NotAFile : OpenState::CannotOpen;
        ::close(fd_);
        fd_ = -1;
        return;
    }
    state_ = OpenState::Open;
    size_ = st.st_size;
    device_ = quint64(st.st_dev);
    inode_ = quint64(st.st_ino);
    ownerMayWrite_ = (st.st_mode & S_IWUSR) != 0;

    // The first read takes the start of the file; most tags end inside it.
    buffer_ = QByteArray(TailBytes + std::min(size_, FirstHeadBytes), '\0');
    char *const start = buffer_.data() + TailBytes;
    const qint64 loaded = readAt(0, start, buffer_.size() - TailBytes);
    buffer_.resize(TailBytes + loaded);

    // The tail: from the first read when it reached the end, else one more positioned read.
    const qint64 tailLength = std::min(size_, TailBytes);
    char *const tail = buffer_.data() + (TailBytes - tailLength);
    tailRead_ = true;
    if (loaded == size_) {
        std::memcpy(tail, start + (size_ - tailLength), size_t(tailLength));
    } else if (readAt(size_ - tailLength, tail, tailLength) != tailLength) {
        std::memset(buffer_.data(), 0, size_t(TailBytes));
        tailRead_ = false;
    }
    const QByteArray tailView = QByteArray::fromRawData(buffer_.constData(), TailBytes);
    hasV1_ = size_ >= 128 && tailView.mid(TailBytes - 128, 3) == "TAG";

    // The ID3v2 tags in a row at the start, each skipped by the size its header declares.
    qint64 pos = 0;
    while (pos + 10 <= size_) {
        QByteArray header(10, '\0');
        if (pos + 10 <= loaded)
            std::memcpy(header.data(), start + pos, 10);
        else if (readAt(pos, header.data(), 10) != 10)
            break;
        const qint64 tag = Mpeg::id3v2Size(header, 0);
        if (tag == 0 || pos + tag > size_)
            break;
        pos += tag;
    }
    audioStart_ = pos;
    hasV2_ = pos > 0;

    // The tags the first read holds stay for readExactly; the head is what it holds past them.
    leading_ = QByteArray(start, qsizetype(std::min(audioStart_, loaded)));
    if (audioStart_ < loaded) {
        std::memmove(start, start + audioStart_, size_t(loaded - audioStart_));
        buffer_.resize(TailBytes + loaded - audioStart_);
    } else {
        buffer_.resize(TailBytes);
        readHead(FirstHeadBytes);
    }

    // The audio ends before the tags appended to it: an ID3v1 trailer last, and in front of it
    // (or at the very end) APE tags, Lyrics3 blocks, ID3v2 tags with a footer and an ID3v1 tag,
    // in whatever order the taggers left them.
    audioEnd_ = size_;
    if (hasV1_ && audioEnd_ - audioStart_ >= 128)
        audioEnd_ -= 128;
    for (int round = 0; round < MaxTrailingTags; ++round) {
        const qint64 tag = trailingTagBefore(audioEnd_);
        if (tag <= 0 || tag > audioEnd_ - audioStart_)
            break;
        audioEnd_ -= tag;
    }
}

qint64 Mp3FileBytes::trailingTagBefore(qint64 end)
{
    const qint64 room = end - audioStart_;
    QByteArray last(std::min<qint64>(room, 32), '\0');
    if (last.size() < 10)
        return 0;
    // The first look is at the end of the file, which the tail already holds.
    const qint64 tailStart = size_ - TailBytes;
    if (end - last.size() >= std::max<qint64>(tailStart, 0) && end <= size_)
        std::memcpy(last.data(), buffer_.constData() + (end - last.size() - tailStart), size_t(last.size()));
    else if (!readExactly(end - last.size(), last.data(), last.size()))
        return 0;
    const qsizetype n = last.size();
    // Each kind is believed only when its start stands where its end says.
    const auto startsWith = [&](qint64 size, const char *text) {
        const qint64 length = qint64(std::strlen(text));
        if (size < length || size > room)
            return false;
        QByteArray start(length, '\0');
        return readExactly(end - size, start.data(), length) && start == text;
    };
    if (const qint64 ape = Mpeg::apeSizeBefore(last, n); ape > 0)
        return ape;
    if (const qint64 id3 = Mpeg::id3v2SizeBefore(last, n); id3 > 0 && startsWith(id3, "ID3"))
        return id3;
    if (const qint64 lyrics = Mpeg::lyrics3v2SizeBefore(last, n); lyrics > 0 && startsWith(lyrics, Mpeg::Lyrics3Begin))
        return lyrics;
    // An ID3v1 tag in front of a tag appended after it (at the very end it is the trailer).
    if (end < size_ && startsWith(128, "TAG"))
        return 128;
    if (last.endsWith(Mpeg::Lyrics3v1End)) {
        QByteArray block(std::min(room, Mpeg::Lyrics3v1Limit), '\0');
        if (!readExactly(end - block.size(), block.data(), block.size()))
            return 0;
        const qsizetype begin = block.lastIndexOf(Mpeg::Lyrics3Begin);
        if (begin >= 0)
            return block.size() - begin;
    }
    return 0;
}

Mp3FileBytes::~Mp3FileBytes()
{
    if (fd_ >= 0)
        ::close(fd_);
}

QByteArray Mp3FileBytes::head() const
{
    return QByteArray::fromRawData(buffer_.constData() + TailBytes, buffer_.size() - TailBytes);
}

bool Mp3FileBytes::readHead(qint64 length)
{
    const qint64 have = buffer_.size() - TailBytes;
    const qint64 want = std::min(length, size_ - audioStart_);
    if (want <= have)
        return true;
    if (fd_ < 0)
        return false;
    buffer_.resize(TailBytes + want);
    const qint64 got = readAt(audioStart_ + have, buffer_.data() + TailBytes + have, want - have);
    buffer_.resize(TailBytes + have + got);
    return got == want - have;
}

bool Mp3FileBytes::readRange(qint64 offset, qint64 end, const std::function<void(QByteArrayView)> &chunk)
{
    if (offset < 0 || end > size_)
        return false;
    QByteArray piece(RangeChunk, Qt::Uninitialized);
    while (offset < end) {
        const qint64 want = std::min(RangeChunk, end - offset);
        if (!readExactly(offset, piece.data(), want))
            return false;
        chunk(QByteArrayView(piece.constData(), want));
        offset += want;
    }
    return true;
}

bool Mp3FileBytes::readExactly(qint64 offset, char *into, qint64 count)
{
    if (fd_ < 0 || offset < 0 || count < 0)
        return false;
    // The tail stands at the start of the buffer, the head after the tags behind it; the tags
    // at the start are kept apart.
    const qint64 tailLength = std::min(size_, TailBytes);
    const qint64 tailStart = size_ - tailLength;
    if (tailRead_ && offset >= tailStart && offset + count <= size_) {
        std::memcpy(into, buffer_.constData() + (TailBytes - tailLength) + (offset - tailStart), size_t(count));
        return true;
    }
    if (offset + count <= leading_.size()) {
        std::memcpy(into, leading_.constData() + offset, size_t(count));
        return true;
    }
    const qint64 headLength = buffer_.size() - TailBytes;
    if (offset >= audioStart_ && offset + count <= audioStart_ + headLength) {
        std::memcpy(into, buffer_.constData() + TailBytes + (offset - audioStart_), size_t(count));
        return true;
    }
    return readAt(offset, into, count) == count;
}

bool Mp3FileBytes::isSameFile(int fd) const
{
    struct stat st {};
    return state_ == OpenState::Open && ::fstat(fd, &st) == 0 && quint64(st.st_dev) == device_
        && quint64(st.st_ino) == inode_;
}

qint64 Mp3FileBytes::readAt(qint64 offset, char *into, qint64 count)
{
    qint64 done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, into + done, size_t(count - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}
