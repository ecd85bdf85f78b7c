#pragma once
// TagLib's view of a file already opened as Mp3FileBytes: the leading tags come from memory, any
// other byte TagLib asks for is read at its place, and the length is the file's. So TagLib
// finds, sizes and pads the tag exactly as on the file itself, without opening it again, and it
// cannot write: a save writes the rendered tag itself.

#include "audio/Mp3FileBytes.h"

#include <QByteArray>

#include <taglib/tiostream.h>

class Mp3FileView : public TagLib::IOStream
{
public:
    /// `tags` holds the file's first bytes (its leading tags); `bytes` must outlive the view.
    Mp3FileView(Mp3FileBytes &bytes, QByteArray tags);

    TagLib::FileName name() const override;
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector &) override {}
    void insert(const TagLib::ByteVector &, unsigned long = 0, unsigned long = 0) override {}
    void removeBlock(unsigned long = 0, unsigned long = 0) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return bytes_.isOpen(); }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override { return position_; }
    long length() override { return long(bytes_.size()); }
    void truncate(long) override {}

private:
    Mp3FileBytes &bytes_;
    QByteArray tags_;
    long position_ = 0;
};
