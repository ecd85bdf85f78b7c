#include "lookup/FileEvidence.h"

#include "audio/LoadedTags.h"
#include "audio/Mp3FileBytes.h"
#include "audio/Mp3InfoVBR.h"
#include "foundation/Common.h"

using namespace Qt::StringLiterals;

QList<FileEvidence> readFileEvidence(const QString &folder, const QStringList &fileNames)
{
    QList<FileEvidence> result;
    result.reserve(fileNames.size());
    for (const QString &name : fileNames) {
        FileEvidence file;
        file.fileName = name;
        const QString path = Common::addBackslash(folder) + name;
        if (Common::fileExists(path)) {
            const LoadedTags tags(path);
            file.tagTitle = tags.value(u"Title"_s);
            file.tagTrack = tags.value(u"Track"_s);
            file.tagArtist = tags.value(u"Artist"_s);
            file.tagAlbum = tags.value(u"Album"_s);
            file.tagYear = tags.value(u"Year"_s);
            Mp3FileBytes bytes(path);
            if (bytes.isOpen()) {
                const Mp3InfoVBR::Reading reading = Mp3InfoVBR::read(bytes);
                if (reading.found && reading.info.duration > 0 && reading.info.duration < 24 * 3600)
                    file.lengthSeconds = int(reading.info.duration);
            }
        }
        result.append(file);
    }
    return result;
}
