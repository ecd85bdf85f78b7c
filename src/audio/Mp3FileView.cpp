#include "audio/Mp3FileView.h"

#include <algorithm>
#include <cstring>

Mp3FileView::Mp3FileView(Mp3FileBytes &bytes, QByteArray tags)
    : bytes_(bytes)
    , tags_(std::move(tags))
{
}

TagLib::FileName Mp3FileView::name() const
{
    return "";
}

TagLib::ByteVector Mp3FileView::readBlock(unsigned long length)
{
    const qint64 size = bytes_.size();
    if (position_ < 0 || position_ >= size || length == 0)
        return {};
    const qint64 count = std::min<qint64>(qint64(length), size - position_);
    TagLib::ByteVector block(uint(count), '\0');
    if (position_ + count <= tags_.size())
        std::memcpy(block.data(), tags_.constData() + position_, size_t(count));
    else if (!bytes_.readExactly(position_, block.data(), count))
        return {};
    position_ += long(count);
    return block;
}

void Mp3FileView::seek(long offset, Position p)
{
    switch (p) {
    case Beginning: position_ = offset; break;
    case Current: position_ += offset; break;
    case End: position_ = long(bytes_.size()) + offset; break;
    }
}
