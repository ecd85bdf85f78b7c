#include "jobs/TagBytesRestore.h"

#include "audio/Mp3FileBytes.h"
#include "foundation/TemporaryFiles.h"

#include <QFile>

#include <algorithm>

using namespace Qt::StringLiterals;

FileRestore restoreTagBytes(const JournalFile &entry, const QString &path)
{
    const QByteArray hash = JobJournal::hashFile(path);
    if (hash.isEmpty())
        return {false, path, u"it cannot be read"_s};
    if (hash == entry.hashBefore)
        return {true, path, {}};
    if (!entry.hashAfter.isEmpty() && hash != entry.hashAfter)
        return {false, path, u"it was changed since the job"_s};

    // The old tags around the present audio go into a new file beside it, hashed on the way
    // (the audio is streamed, never held whole); only a copy that hashes as the file did before
    // the job takes its place.
    const Mp3FileBytes layout(path);
    QFile current(path);
    if (!layout.isOpen() || !current.open(QIODevice::ReadOnly))
        return {false, path, u"it cannot be read"_s};
    const qint64 end = current.size() - (layout.hasV1() ? 128 : 0);
    if (layout.audioStart() > end || !current.seek(layout.audioStart()))
        return {false, path, u"it cannot be read"_s};
    QFile copy;
    if (!TemporaryFiles::openNewFor(copy, path, QIODevice::WriteOnly))
        return {false, path, u"its old bytes cannot be written back: "_s + copy.errorString()};
    JobJournal::Hasher rebuilt;
    QString failure;
    const auto put = [&](const QByteArray &bytes) {
        rebuilt.add(bytes);
        if (failure.isEmpty() && copy.write(bytes) != bytes.size())
            failure = u"its old bytes cannot be written back: "_s + copy.errorString();
    };
    put(entry.tagRegion);
    for (qint64 left = end - layout.audioStart(); left > 0 && failure.isEmpty();) {
        const QByteArray chunk = current.read(std::min<qint64>(left, 1 << 20));
        if (chunk.isEmpty())
            failure = u"it cannot be read"_s;
        left -= chunk.size();
        put(chunk);
    }
    put(entry.trailer);
    if (failure.isEmpty() && !copy.flush())
        failure = u"its old bytes cannot be written back: "_s + copy.errorString();
    if (failure.isEmpty() && rebuilt.result() != entry.hashBefore)
        failure = entry.hashAfter.isEmpty() ? u"its audio is not the original's"_s : u"it was changed since the job"_s;
    if (failure.isEmpty() && !TemporaryFiles::syncToDisk(int(copy.handle())))
        failure = u"its old bytes cannot be written back: Unable to write the file to the disk"_s;
    copy.close();
    if (failure.isEmpty()) {
        QFile::setPermissions(copy.fileName(), QFile::permissions(path) | QFile::WriteOwner);
        if (const QString error = TemporaryFiles::renameOver(copy.fileName(), path); !error.isEmpty())
            failure = u"its old bytes cannot be written back: "_s + error;
    }
    if (!failure.isEmpty()) {
        QFile::remove(copy.fileName());
        return {false, path, failure};
    }
    return {true, path, {}};
}

FileRestore JobJournal::restoreFile(int fileNumber) const
{
    if (const std::optional<JournalFile> f = fileRecord(fileNumber))
        return restoreTagBytes(*f, f->inPlace ? f->from : f->to);
    return {false, {}, u"The journal holds no record of this file"_s};
}
