#include "foundation/TemporaryFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <filesystem>
#include <system_error>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace TemporaryFiles {

namespace {

QString nameHash(const QString &realName)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(realName.toUtf8(), QCryptographicHash::Sha1).left(4).toHex());
}

const QRegularExpression &pattern()
{
    static const QRegularExpression re(u"^\\.vnt-([0-9a-f]{8})-[a-z0-9]{4}\\.tmp$"_s);
    return re;
}

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

/// Creates the temporary file for path (never an existing one) and fills it through write;
/// then flushes it to the disk and renames it over path. The old file's permissions carry over.
QString replaceThrough(const QString &path, const std::function<QString(QFile &)> &write)
{
    const QFileInfo old(path);
    if (old.isDir())
        return u"Is a directory"_s;
    QFile file;
    if (!openNewFor(file, path, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    QString error = write(file);
    if (error.isEmpty() && !syncToDisk(int(file.handle())))
        error = u"Unable to write the file to the disk"_s;
    file.close();
    if (error.isEmpty() && file.error() != QFileDevice::NoError)
        error = file.errorString();
    if (error.isEmpty() && old.exists())
        QFile::setPermissions(file.fileName(), old.permissions());
    if (error.isEmpty()) {
        StopPoints::reached("temporary-written");
        error = renameOver(file.fileName(), path);
    }
    if (!error.isEmpty())
        QFile::remove(file.fileName());
    return error;
}

QString writeAll(QFile &file, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return file.errorString();
        done += n;
    }
    return {};
}

} // namespace

QString pathFor(const QString &realPath)
{
    static const QString letters = u"abcdefghijklmnopqrstuvwxyz0123456789"_s;
    QString random;
    for (int i = 0; i < 4; ++i)
        random += letters.at(QRandomGenerator::global()->bounded(int(letters.size())));
    const QFileInfo info(realPath);
    return info.dir().filePath(u".vnt-"_s + nameHash(info.fileName()) + u'-' + random + u".tmp"_s);
}

bool openNewFor(QFile &file, const QString &realPath, QIODevice::OpenMode mode)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        file.setFileName(pathFor(realPath));
        if (file.open(mode | QIODevice::NewOnly))
            return true;
        if (!QFileInfo::exists(file.fileName()))
            return false; // anything but a clash of the random part
    }
    return false;
}

bool isTemporaryName(const QString &fileName)
{
    return pattern().match(fileName).hasMatch();
}

bool belongsTo(const QString &temporaryName, const QString &realName)
{
    const QRegularExpressionMatch m = pattern().match(temporaryName);
    return m.hasMatch() && m.captured(1) == nameHash(realName);
}

QStringList inFolder(const QString &folder)
{
    const QStringList names = QDir(folder).entryList({u".vnt-*.tmp"_s}, QDir::Files | QDir::Hidden | QDir::System,
                                                     QDir::Name);
    QStringList found;
    for (const QString &name : names)
        if (isTemporaryName(name))
            found.append(name);
    return found;
}

QString writeInPlace(const QString &path, const QByteArray &bytes)
{
    return replaceThrough(path, [&bytes](QFile &file) { return writeAll(file, bytes); });
}

QString copyInPlace(const QString &source, const QString &path)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return in.errorString();
    return replaceThrough(path, [&in](QFile &file) {
        while (!in.atEnd()) {
            const QByteArray chunk = in.read(1 << 20);
            if (chunk.isEmpty())
                return in.errorString();
            if (const QString error = writeAll(file, chunk); !error.isEmpty())
                return error;
        }
        return QString();
    });
}

QString renameOver(const QString &from, const QString &to)
{
    std::error_code failure;
    std::filesystem::rename(fsPath(from), fsPath(to), failure);
    return failure ? QString::fromLocal8Bit(failure.message().c_str()) : QString();
}

bool syncToDisk(int handle)
{
#ifdef Q_OS_WIN
    Q_UNUSED(handle);
    return true;
#else
    return handle >= 0 && ::fsync(handle) == 0;
#endif
}

NameLimits nameLimits(const QString &folder)
{
    NameLimits limits;
#ifndef Q_OS_WIN
    QString level = QDir::cleanPath(folder);
    while (!level.isEmpty() && !QFileInfo(level).isDir()) {
        const QString parent = QFileInfo(level).path();
        if (parent == level)
            break;
        level = parent;
    }
    const QByteArray native = QFile::encodeName(level);
    if (const long name = ::pathconf(native.constData(), _PC_NAME_MAX); name > 0)
        limits.name = int(name);
    if (const long path = ::pathconf(native.constData(), _PC_PATH_MAX); path > 0)
        limits.path = int(path);
#else
    Q_UNUSED(folder);
    limits.path = 260;
#endif
    return limits;
}

QString tooLongMessage(const QString &path)
{
    const QFileInfo info(path);
    const NameLimits limits = nameLimits(info.path());
    // Every level of the path, the file name last, must fit the file system's name limit.
    const QStringList levels = QDir::cleanPath(path).split(u'/', Qt::SkipEmptyParts);
    for (auto it = levels.crbegin(); it != levels.crend(); ++it) {
        const qsizetype bytes = QFile::encodeName(*it).size();
        if (bytes > limits.name)
            return u"File name too long for the destination: %1 bytes, at most %2"_s.arg(bytes).arg(limits.name);
    }
    const qsizetype bytes = QFile::encodeName(path).size();
    if (bytes >= limits.path)
        return u"Path too long for the destination: %1 bytes, at most %2"_s.arg(bytes).arg(limits.path - 1);
    return {};
}

} // namespace TemporaryFiles

namespace StopPoints {

namespace {
Hook &hook()
{
    static Hook h;
    return h;
}
} // namespace

void setHook(Hook h)
{
    hook() = std::move(h);
}

void reached(const char *step)
{
    if (hook())
        hook()(step);
}

} // namespace StopPoints
