#include "support/Ffprobe.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

using namespace Qt::StringLiterals;

bool haveFfprobe()
{
    return !QStandardPaths::findExecutable(u"ffprobe"_s).isEmpty();
}

std::optional<ProbedAudio> probeAudio(const QString &path)
{
    const QString ffprobe = QStandardPaths::findExecutable(u"ffprobe"_s);
    if (ffprobe.isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(ffprobe, {u"-v"_s, u"error"_s, u"-select_streams"_s, u"a:0"_s, u"-show_entries"_s,
                      u"stream=sample_rate,channels,duration,bit_rate"_s, u"-of"_s, u"default=nw=1"_s, path});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return std::nullopt;
    ProbedAudio e;
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n')) {
        const QString key = line.section(u'=', 0, 0);
        const QString value = line.section(u'=', 1);
        if (key == u"sample_rate"_s)
            e.sampleRate = value.toInt();
        else if (key == u"channels"_s)
            e.channels = value.toInt();
        else if (key == u"duration"_s)
            e.seconds = value.toDouble();
        else if (key == u"bit_rate"_s)
            e.bitrate = value.toInt();
    }
    return e;
}

std::optional<ProbedAudio> mutagenAudio(const QString &path)
{
    const QString python = QStandardPaths::findExecutable(u"python3"_s, {u"/usr/bin"_s});
    if (python.isEmpty())
        return std::nullopt;
    static const QString script = u"import sys\n"
                                  u"from mutagen.mp3 import MP3\n"
                                  u"i = MP3(sys.argv[1]).info\n"
                                  u"print(i.sample_rate, i.channels, repr(i.length), i.bitrate)\n"_s;
    QProcess p;
    p.start(python, {u"-c"_s, script, path});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    const QStringList f = QString::fromUtf8(p.readAllStandardOutput()).simplified().split(u' ');
    if (f.size() != 4)
        return std::nullopt;
    return ProbedAudio{.sampleRate = f[0].toInt(), .channels = f[1].toInt(), .seconds = f[2].toDouble(),
                       .bitrate = f[3].toInt()};
}

bool haveMutagen()
{
    const QString python = QStandardPaths::findExecutable(u"python3"_s, {u"/usr/bin"_s});
    if (python.isEmpty())
        return false;
    QProcess p;
    p.start(python, {u"-c"_s, u"import mutagen.mp3"_s});
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
