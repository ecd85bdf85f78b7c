#include "jobs/RenameJobFiles.h"

#include "foundation/Basic.h"
#include "foundation/Common.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

QString RenameJobFiles::withoutTrailingSeparator(QString path)
{
    while (path.size() > 1 && (path.endsWith(u'/') || path.endsWith(Common::separator())))
        path.chop(1);
    return path;
}

bool RenameJobFiles::sameObject(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca.compare(cb, Qt::CaseInsensitive) == 0;
#else
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#endif
}

Qt::CaseSensitivity RenameJobFiles::fileNameCase()
{
#ifdef Q_OS_WIN
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

bool RenameJobFiles::sameFolder(const QString &a, const QString &b)
{
    if (Common::folderExists(a) && Common::folderExists(b))
        return sameObject(a, b);
    return QDir::cleanPath(withoutTrailingSeparator(a))
               .compare(QDir::cleanPath(withoutTrailingSeparator(b)), fileNameCase())
           == 0;
}

bool RenameJobFiles::clearReadOnly(const QString &path)
{
    const QFile::Permissions perms = QFile::permissions(path);
    if (perms & QFile::WriteOwner)
        return true;
    return QFile::setPermissions(path, perms | QFile::WriteOwner);
}

long long RenameJobFiles::sizeInKilobytes(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return -1;
    return Basic::roundEven(double(info.size()) / 1024.0);
}

QString RenameJobFiles::renameFolderCase(const QString &folder, const QString &scratch, const QString &newSpelling)
{
    const QString from = withoutTrailingSeparator(folder);
    const QString via = withoutTrailingSeparator(scratch);
    const QString to = withoutTrailingSeparator(newSpelling);
    QDir dir;
    // Never rename onto something that is there already: a rename could replace an empty folder.
    if (QFileInfo::exists(via) || !dir.rename(from, via))
        return Common::addBackslash(from);
    if ((QFileInfo::exists(to) && !sameObject(to, via)) || !dir.rename(via, to)) {
        // The folder must not stay under the scratch name: put the old name back.
        if (dir.rename(via, from))
            return Common::addBackslash(from);
        return Common::addBackslash(via);
    }
    return Common::addBackslash(to);
}

namespace {

// A playlist that only lists files of this album: its header, and every entry's file name
// (after the last "/" or "\") one of the album's names. Anything else is the user's.
bool listsOnlyAlbumFiles(const QString &path, const QStringList &albumNames)
{
    QFile file(path);
    constexpr qint64 MaxPlaylistBytes = 1 << 20;
    if (file.size() > MaxPlaylistBytes || !file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    bool header = false;
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (!header) {
            if (line.compare(u"[playlist]"_s, Qt::CaseInsensitive) != 0)
                return false;
            header = true;
            continue;
        }
        if (!line.startsWith(u"File"_s, Qt::CaseInsensitive))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            return false;
        const QString entry = line.mid(eq + 1);
        const QString name = entry.mid(std::max(entry.lastIndexOf(u'/'), entry.lastIndexOf(u'\\')) + 1);
        if (!albumNames.contains(name))
            return false;
    }
    return header;
}

} // namespace

RenameJobFiles::FolderTidying RenameJobFiles::tidyOldFolder(const QString &folder, const QString &albumFolder,
                                                            const QStringList &albumNames, const QStringList &keep)
{
    FolderTidying result;
    const QString path = withoutTrailingSeparator(folder);
    if (!Common::folderExists(path))
        return result;
    const QString base = Common::addBackslash(path);
    const QString name = Common::getLastPathPart(path);
    const QString playlist = name + u".pls"_s;
    const QStringList pictureAndPage {name + u".jpg"_s, name + u".htm"_s};

    QDir dir(path);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    // A file of the album (or anything else) still there: the folder and its outputs stay.
    for (const QString &entry : entries) {
        if ((entry != playlist && !pictureAndPage.contains(entry)) || !Common::fileExists(base + entry))
            return result;
        // An output of this run that happens to carry the folder's name keeps the folder alive.
        for (const QString &k : keep)
            if (sameObject(base + entry, k))
                return result;
    }

    // Everything is decided before anything is touched: either all goes or the folder stays
    // as it is. The picture and the page are the user's: they move to the album's new folder,
    // named after it; a playlist goes only when it lists nothing but this album's files.
    const QString target = Common::addBackslash(withoutTrailingSeparator(albumFolder));
    const QString targetName = Common::getLastPathPart(withoutTrailingSeparator(albumFolder));
    QList<std::pair<QString, QString>> moves;
    for (const QString &entry : entries) {
        if (entry == playlist) {
            if (!listsOnlyAlbumFiles(base + entry, albumNames)) {
                result.steps.append({u"Old folder kept: its playlist lists other files: "_s + base + entry, false});
                return result;
            }
            continue;
        }
        const QString destination = target + targetName + entry.mid(name.size());
        if (!Common::folderExists(target) || Common::fileExists(destination)) {
            result.steps.append({u"Old folder kept: "_s + base + entry + u" cannot move to "_s + destination
                                     + u", that name is taken"_s,
                                 false});
            return result;
        }
        moves.append({base + entry, destination});
    }

    for (const auto &[from, to] : std::as_const(moves)) {
        if (Common::moveFile(from, to) != Common::MoveResult::Moved) {
            result.steps.append({u"Old folder kept: unable to move "_s + from + u" to "_s + to, true});
            return result;
        }
        result.steps.append({u"Moved from the old folder: "_s + from + u" to "_s + to, false});
    }
    if (entries.contains(playlist)) {
        const QString file = base + playlist;
        clearReadOnly(file);
        if (!Common::deleteFile(file)) {
            result.steps.append({u"Old folder kept: unable to delete its playlist "_s + file, true});
            return result;
        }
        result.steps.append({u"Old playlist of this album deleted: "_s + file, false});
    }
    if (!clearReadOnly(path) || !dir.rmdir(path) || Common::folderExists(path))
        return result;
    result.removed = true;
    return result;
}
