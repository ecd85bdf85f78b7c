// A file of the folder list: the listing's one-read path (tags, MPEG frame search with
// Xing/Info/VBRI headers, the built-in reader and the analyzer) over the bytes as an MP3 file.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "album/DirectoryListing.h"


int Fuzz::mpeg_listing(const std::uint8_t *data, std::size_t size)
{
    const QString folder = FuzzSupport::freshScratch();
    FuzzSupport::writeFile(folder, QStringLiteral("a.mp3"), FuzzSupport::bytes(data, size));
    const ListedFile row = readListedFile(folder, QStringLiteral("a.mp3"), true);
    FUZZ_CHECK(row.sizeBytes == qint64(size));
    FUZZ_CHECK(row.durationSeconds >= 0);
    FUZZ_CHECK(!row.unreadable);
    return 0;
}
