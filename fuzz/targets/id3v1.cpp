// The ID3v1 trailer: read from a file as the listing reads it, written back as the tag page
// writes it; what was read must read back the same.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "audio/ID3.h"

int Fuzz::id3v1(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    const QString path = FuzzSupport::writeFile(FuzzSupport::freshScratch(), QStringLiteral("a.mp3"), input);
    const ID3::ID3v1Record read = ID3::readID3v1Tag(path);
    FUZZ_CHECK(read == ID3::decodeTrailer(input.right(ID3::TrailerSize)));
    FUZZ_CHECK(read.exists == ID3::hasID3v1Tag(path));
    if (!read.exists)
        return 0;
    FUZZ_CHECK(ID3::writeTrailer(path, read, 0, true) == ID3::TrailerResult::Ok);
    ID3::ID3v1Record again = ID3::readID3v1Tag(path);
    FUZZ_CHECK(again == read);
    FUZZ_CHECK(ID3::removeTrailer(path) == ID3::TrailerResult::Ok);
    return 0;
}
