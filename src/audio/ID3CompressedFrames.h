#pragma once
// The frame flags of a version-2 tag as they stand in the file. TagLib decompresses a compressed
// frame on reading and writes it back uncompressed, which loses nothing when the data inflates; when
// it does not, the frame is read as a garbled frame of its kind and written back so, and its bytes
// are lost. Only the raw headers tell which frames were compressed.

#include <QByteArray>

namespace ID3CompressedFrames {

/// Whether a version-2.3 or 2.4 tag (its 10-byte header and body, as read from the file) holds a
/// compressed frame whose data does not inflate completely, within a bounded size. Anything that
/// is not such a tag, or frames cut off by the tag's end, count as nothing here: TagLib reads the
/// frames before them and drops the rest, as it always has.
[[nodiscard]] bool holdsUndecodableFrame(const QByteArray &tag);

} // namespace ID3CompressedFrames
