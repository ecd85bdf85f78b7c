#include "SmallDisk.h"

#include "foundation/TemporaryFiles.h"

#include <QByteArray>
#include <QFile>

#include <cstring>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

SmallDisk::SmallDisk(qint64 bytes)
    : dir_(QStringLiteral("/tmp/varnelt-disk-XXXXXX"))
{
    if (!dir_.isValid() || ::geteuid() != 0)
        return;
    const QByteArray options = "size=" + QByteArray::number(bytes);
    mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

void SmallDisk::fill(qint64 leave) const
{
    QFile filler(filePath(QStringLiteral("filler.bin")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    filler.flush();
    // Free `leave` bytes again by cutting the filler back.
    if (leave > 0)
        filler.resize(qMax<qint64>(0, filler.size() - leave));
}

bool SmallDisk::makeReadOnly() const
{
    return mounted_
        && ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool runUntilStep(const char *step, const std::function<void()> &operation, int occurrence)
{
    const pid_t child = ::fork();
    if (child == 0) {
        StopPoints::setHook([step, occurrence, seen = 0](const char *reached) mutable {
            if ((!step || std::strcmp(reached, step) == 0) && ++seen == occurrence)
                ::_exit(42);
        });
        operation();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 42;
}
