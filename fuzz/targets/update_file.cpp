// The update file the update check downloads.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "foundation/UpdateFile.h"

int Fuzz::update_file(const std::uint8_t *data, std::size_t size)
{
    const std::optional<QString> version = UpdateFile::announcedVersion(FuzzSupport::bytes(data, size));
    if (version) {
        FUZZ_CHECK(!version->isEmpty() && !version->contains(u'\n') && !version->contains(QChar(u'\0')));
    }
    return 0;
}
