#include "RenameJobFixture.h"

#include "support/Mp3Writer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>

#include <unistd.h>

using namespace Qt::StringLiterals;

QString RenameJobFixture::makeAlbum(const QString &relativeFolder, const QList<SourceFile> &files) const
{
    QList<Mp3Writer::AlbumFile> album;
    for (const SourceFile &f : files) {
        album.append({f.fileName, {.title = f.title, .artist = u"Old Artist"_s, .album = u"Old Album"_s,
                                   .seconds = f.seconds, .withV2 = f.withV2, .withV1 = f.withV1}});
    }
    return Mp3Writer::makeAlbum(tempFile(relativeFolder), album);
}

bool RenameJobFixture::lockFolder(const QString &folder)
{
    locked_.append(folder);
    if (::geteuid() == 0)
        QProcess::execute(u"chattr"_s, {u"+i"_s, folder});
    else
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    // Probe: the lock only counts when a new file really cannot be made there.
    QFile probe(folder + u"/probe"_s);
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        return false;
    }
    return true;
}

void RenameJobFixture::TearDown()
{
    for (const QString &folder : std::as_const(locked_)) {
        if (::geteuid() == 0)
            QProcess::execute(u"chattr"_s, {u"-i"_s, folder});
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    locked_.clear();
    VarneltTest::TearDown();
}

QStringList RenameJobFixture::warningsOf(const ResultLog &log, int root)
{
    return log.childTexts(log.findChild(log.roots().at(root), u"Warning and error"_s));
}

QList<RenameJobFixture::SourceFile> RenameJobFixture::threeSongs()
{
    return {{u"a.mp3"_s, u"One"_s, 1.0}, {u"b.mp3"_s, u"Two"_s, 2.0}, {u"c.mp3"_s, u"Three"_s, 3.0}};
}

QString RenameJobFixture::makeThreeSongAlbum(const QString &relativeFolder) const
{
    return makeAlbum(relativeFolder, threeSongs());
}

RenameJobInput RenameJobFixture::inputFor(const QString &folder, const QList<SourceFile> &files, const QString &mask,
                                          const QString &destination)
{
    RenameJobInput in;
    in.currentDirectory = folder;
    for (int i = 0; i < files.size(); ++i)
        in.rows.append({files[i].title, files[i].fileName, QString::asprintf("%02d", i + 1)});
    in.album = {u"Foo"_s, u"Bar"_s, u"2001"_s, u"Rock"_s, u"Ripped"_s};
    in.naming.mask = mask;
    in.naming.destination = destination;
    in.tagVersions = TagVersions::Both;
    return in;
}

QStringList RenameJobFixture::treeOf(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

QJsonObject readV2WithMutagen(const QString &path)
{
    static const QString script = uR"(
import sys, json
from mutagen.id3 import ID3, ID3NoHeaderError
try:
    t = ID3(sys.argv[1], load_v1=False, translate=False)
except ID3NoHeaderError:
    print(json.dumps({"v2": False}))
    sys.exit(0)
out = {"v2": True, "version": t.version[1]}
for k in ["TIT2", "TPE1", "TALB", "TRCK", "TCON", "TYER", "TDRC", "TCOM", "TBPM"]:
    if k in t:
        out[k] = str(t[k].text[0])
        out[k + "enc"] = int(t[k].encoding)
comms = t.getall("COMM")
if comms:
    out["COMM"] = str(comms[0].text[0])
out["APIC"] = len(t.getall("APIC"))
if out["APIC"]:
    out["APICmime"] = t.getall("APIC")[0].mime
    out["APICsize"] = len(t.getall("APIC")[0].data)
print(json.dumps(out))
)"_s;
    QProcess python;
    python.start(u"/usr/bin/python3"_s, {u"-c"_s, script, path});
    if (!python.waitForFinished(20000) || python.exitCode() != 0) {
        ADD_FAILURE() << "mutagen failed: " << python.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

RawV1 readRawV1(const QString &path)
{
    RawV1 v1;
    const QByteArray bytes = readAll(path);
    if (bytes.size() < 128 || !bytes.right(128).startsWith("TAG"))
        return v1;
    const QByteArray t = bytes.right(128);
    auto field = [&t](int at, int size) {
        QByteArray raw = t.mid(at, size);
        const qsizetype nul = raw.indexOf('\0');
        if (nul >= 0)
            raw.truncate(nul);
        return QString::fromLatin1(raw).trimmed();
    };
    v1.present = true;
    v1.title = field(3, 30);
    v1.artist = field(33, 30);
    v1.album = field(63, 30);
    v1.year = field(93, 4);
    const bool v11 = t.at(125) == '\0' && t.at(126) != '\0';
    v1.comment = field(97, v11 ? 28 : 30);
    v1.track = v11 ? quint8(t.at(126)) : -1;
    v1.genre = quint8(t.at(127));
    return v1;
}
