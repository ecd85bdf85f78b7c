#include "jobs/PlaylistCoverOutput.h"

#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "foundation/TemporaryFiles.h"
#include "jobs/OutputPath.h"
#include "jobs/RenameJobFiles.h"
#include "naming/NameBuilder.h"
#include "naming/NamingText.h"

#include <QFile>
#include <QFileInfo>

#include <functional>

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

void PlaylistBuilder::addEntry(int position, const QString &newPath, OutputFolder where)
{
    if (text_.isEmpty())
        text_ = u"[playlist]"_s;
    QString entry = Common::getFileName(newPath);
    if (where == OutputFolder::ParentFolder) {
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

QString albumOutputFolder(const QString &lastNewPath, OutputFolder where)
{
    const QString folder = Common::getFolderPath(lastNewPath);
    if (where == OutputFolder::FilesFolder)
        return folder;
    const QString parent = Common::getParentFolder(folder);
    // A folder at the root has nothing above it: the output stays beside the files.
    return parent.isEmpty() ? folder : Common::addBackslash(parent);
}

QString albumOutputPath(const QString &folder, const QString &name, const QString &extension, bool joliet)
{
    const QString longName = name + extension;
    return folder + (joliet ? Joliet::limitName(longName, extension) : longName);
}

namespace {

/// The output's path after the Joliet check; logs the file name line and, when shortened, the
/// warning with the long name.
QString checkedOutputPath(ResultLog &log, int node, const QString &folder, const QString &name,
                          const QString &extension, bool joliet, const QString &infoLabel,
                          const QString &jolietWarning)
{
    const QString longName = name + extension;
    const QString path = albumOutputPath(folder, name, extension, joliet);
    log.info(node, infoLabel + path);
    if (path != folder + longName) {
        log.warning(node, jolietWarning + longName);
        log.expand(node);
    }
    return path;
}

/// Clears the read-only mark of an existing output so it can be replaced; true when it can be.
bool replaceable(const QString &path)
{
    RenameJobFiles::clearReadOnly(path);
    return QFileInfo(path).permissions().testFlag(QFileDevice::WriteOwner);
}

/// What the log says when an output cannot take an earlier one's place, cannot be written (the
/// reason follows), or replaced one.
struct ReplaceTexts
{
    QString cannotDelete;
    QString cannotWrite;
    QString replaced;
};

// The new output is written beside the old one and takes its place only once it is whole: a full
// disk or a crash leaves the old one as it was.
void replaceOutput(ResultLog &log, int node, const QString &path, const OutputGuard &beforeWrite,
                   const std::function<QString()> &write, const ReplaceTexts &texts)
{
    const bool existed = Common::fileExists(path);
    if (existed && !replaceable(path)) {
        log.error(node, texts.cannotDelete);
    } else if (beforeWrite && !beforeWrite(path, node)) {
        // not written
    } else if (const QString failure = write(); !failure.isEmpty()) {
        log.error(node, texts.cannotWrite + failure);
    } else if (existed) {
        log.warning(node, texts.replaced);
    }
    log.makeVisible(node);
}

} // namespace

QString writePlaylist(ResultLog &log, const PlaylistBuilder &playlist, const QString &folder, const QString &name,
                      bool joliet, const OutputGuard &beforeWrite)
{
    const int node = log.addOutputNode(ResultLog::Kind::Playlist);
    const QString path = checkedOutputPath(log, node, folder, name, u".pls"_s, joliet, u"Playlist file name : "_s,
                                           u"Joliet error. The length of the playlist filename is more than 64 caracters : "_s);
    replaceOutput(log, node, path, beforeWrite, [&] { return Common::writeTextFile(path, playlist.finalText()); },
                  {u"Unable to delete existing playlist file"_s, u"Unable to write playlist. "_s,
                   u"Playlist file already exists. File replaced."_s});
    return path;
}

QString writeAlbumPage(ResultLog &log, const QByteArray &page, const QString &folder, const QString &name, bool joliet,
                       const OutputGuard &beforeWrite)
{
    const int node = log.addOutputNode(ResultLog::Kind::HtmlPage);
    const QString path = checkedOutputPath(log, node, folder, name, u".htm"_s, joliet, u"HTML page file name : "_s,
                                           u"Joliet error. The length of the HTML page filename is more than 64 characters : "_s);
    replaceOutput(log, node, path, beforeWrite, [&] { return TemporaryFiles::writeInPlace(path, page); },
                  {u"Unable to delete existing HTML page"_s, u"Unable to write HTML page. "_s,
                   u"HTML page already exists. File replaced."_s});
    return path;
}

QString copyCover(ResultLog &log, const QString &coverFile, const QString &folder, const QString &name, bool joliet,
                  const OutputGuard &beforeWrite)
{
    const int node = log.addOutputNode(ResultLog::Kind::Cover);
    const QString path = checkedOutputPath(log, node, folder, name, u".jpg"_s, joliet, u"Cover file name : "_s,
                                           u"Joliet error. The length of the cover filename is more than 64 caracters : "_s);
    const bool existed = Common::fileExists(path);
    if (RenameJobFiles::sameObject(coverFile, path)) {
        // The picture is already where it should go.
    } else if (!QFileInfo(coverFile).isFile()) {
        // Nothing to put in its place (the download is gone): an earlier cover stays.
        log.error(node, u"Unable to copy downloaded cover file"_s);
    } else if (existed && !replaceable(path)) {
        log.error(node, u"Unable to delete existing cover file"_s);
    } else if (beforeWrite && !beforeWrite(path, node)) {
        // not copied
    } else if (!TemporaryFiles::copyInPlace(coverFile, path).isEmpty()) {
        // Copied beside the old cover first: on any failure the old one stays.
        log.error(node, u"Unable to copy downloaded cover file"_s);
    } else if (existed) {
        log.warning(node, u"Cover file already exists. File replaced."_s);
    }
    log.makeVisible(node);
    return path;
}
