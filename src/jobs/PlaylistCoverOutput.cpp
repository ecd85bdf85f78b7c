#include "jobs/PlaylistCoverOutput.h"

#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "jobs/RenameJobFiles.h"
#include "naming/NameBuilder.h"
#include "naming/NamingText.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString Joliet::limitName(const QString &fileName, const QString &extension)
{
    if (fileName.size() <= MaxNameLength)
        return fileName;
    qsizetype keep = MaxNameLength - 4;
    // Cutting between the two halves of a surrogate pair would leave a broken character.
    if (fileName.at(keep - 1).isHighSurrogate())
        --keep;
    return fileName.left(keep) + extension;
}

void PlaylistBuilder::addEntry(int position, const QString &newPath, int dirChoice)
{
    if (text_.isEmpty())
        text_ = u"[playlist]"_s;
    QString entry = Common::getFileName(newPath);
    if (dirChoice != 0) {
        // Relative to the folder above: the holding folder's name, a forward slash, the file.
        QString folder = Common::getFolderPath(newPath);
        folder.chop(1);
        entry = Common::getLastPathPart(folder) + u'/' + entry;
    }
    text_ += u"\r\nFile"_s + QString::number(position) + u'=' + entry;
    ++count_;
}

QString PlaylistBuilder::finalText() const
{
    return text_ + u"\r\nNumberOfEntries="_s + QString::number(count_);
}

QString albumOutputName(const AlbumFields &album, const NamingOptions &naming)
{
    const QString name = Basic::trim(removeForbiddenCharacters(album.artist)) + u" - "_s
        + Basic::trim(removeForbiddenCharacters(album.album));
    return applyTextEffects(name, naming);
}

QString albumOutputFolder(const QString &lastNewPath, int dirChoice)
{
    const QString folder = Common::getFolderPath(lastNewPath);
    if (dirChoice == 0)
        return folder;
    const QString parent = Common::getParentFolder(folder);
    // A folder at the root has nothing above it: the output stays beside the files.
    return parent.isEmpty() ? folder : Common::addBackslash(parent);
}

namespace {

/// The output's path after the Joliet check; logs the file name line and, when shortened, the
/// warning with the long name.
QString checkedOutputPath(ResultLog &log, int node, const QString &folder, const QString &name,
                          const QString &extension, bool joliet, const QString &infoLabel,
                          const QString &jolietWarning)
{
    const QString longName = name + extension;
    const QString shortName = Joliet::limitName(longName, extension);
    if (joliet && shortName != longName) {
        const QString path = folder + shortName;
        log.info(node, infoLabel + path);
        log.warning(node, jolietWarning + longName);
        log.expand(node);
        return path;
    }
    const QString path = folder + longName;
    log.info(node, infoLabel + path);
    return path;
}

/// Clears the read-only mark of an existing output and deletes it; true when it is gone.
bool removeExisting(const QString &path)
{
    RenameJobFiles::clearReadOnly(path);
    (void)Common::deleteFile(path);
    return !Common::fileExists(path);
}

} // namespace

QString writePlaylist(ResultLog &log, const PlaylistBuilder &playlist, const QString &folder, const QString &name,
                      bool joliet)
{
    const int node = log.addOutputNode(ResultLog::Kind::Playlist);
    const QString path = checkedOutputPath(log, node, folder, name, u".pls"_s, joliet, u"Playlist file name : "_s,
                                           u"Joliet error. The length of the playlist filename is more than 64 caracters : "_s);
    QString failure;
    if (Common::fileExists(path)) {
        if (removeExisting(path)) {
            failure = Common::writeTextFile(path, playlist.finalText());
            // "Replaced" only when the new playlist really took the old one's place.
            if (failure.isEmpty())
                log.warning(node, u"Playlist file already exists. File replaced."_s);
        } else {
            log.error(node, u"Unable to delete existing playlist file"_s);
        }
    } else {
        failure = Common::writeTextFile(path, playlist.finalText());
    }
    if (!failure.isEmpty())
        log.error(node, u"Unable to write playlist. "_s + failure);
    log.makeVisible(node);
    return path;
}

QString copyCover(ResultLog &log, const QString &coverFile, const QString &folder, const QString &name, bool joliet)
{
    const int node = log.addOutputNode(ResultLog::Kind::Cover);
    const QString path = checkedOutputPath(log, node, folder, name, u".jpg"_s, joliet, u"Cover file name : "_s,
                                           u"Joliet error. The length of the cover filename is more than 64 caracters : "_s);
    // QFile::copy never overwrites: the copy fails when the target exists, as the old one must be gone first.
    if (RenameJobFiles::sameObject(coverFile, path)) {
        // The picture is already where it should go: deleting the "old" one would lose it.
    } else if (Common::fileExists(path) && !QFileInfo(coverFile).isFile()) {
        // Nothing to put in its place (the download is gone): the earlier cover stays.
        log.error(node, u"Unable to copy downloaded cover file"_s);
    } else if (Common::fileExists(path)) {
        if (removeExisting(path)) {
            if (QFile::copy(coverFile, path))
                log.warning(node, u"Cover file already exists. File replaced."_s);
            else
                log.error(node, u"Unable to copy downloaded cover file"_s);
        } else {
            log.error(node, u"Unable to delete existing cover file"_s);
        }
    } else if (!QFile::copy(coverFile, path)) {
        log.error(node, u"Unable to copy downloaded cover file"_s);
    }
    log.makeVisible(node);
    return path;
}
