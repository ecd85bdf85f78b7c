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
