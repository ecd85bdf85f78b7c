#include "album/Mp3InfoText.h"

#include "audio/ID3Edit.h"
#include "audio/TagAccess.h"
#include "audio/TagVersions.h"
#include "audio/XAnalyzerAnalysis.h"
#include "foundation/Basic.h"
#include "album/DirectoryListing.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

QString tagVersionText(bool hasV1, bool hasV2)
{
    return byTagState(hasV1, hasV2, u"ID3v1 + ID3v2"_s, u"ID3v1"_s, u"ID3v2"_s, u"ID3 not found"_s);
}

QStringList mp3InfoLines(const QString &path, const ID3Edit &tagV2)
{
    return mp3InfoLines(path, !tagV2.Picture().isNull(), tagV2.HasV1(), tagV2.HasV2());
}

QStringList mp3InfoLines(const QString &path, bool tagHasPicture, bool hasV1, bool hasV2)
{
    XAnalyzer::Analysis analyzer;
    const bool useAnalyzer = readAudioProperties(path, tagHasPicture, analyzer);
    const TagKeywords::FileInfoSources sources = TagKeywords::FileInfoSources::current(analyzer);
    auto info = [&](const QString &keyword) { return TagKeywords::getFileInfo(keyword, useAnalyzer, sources).value; };

    const qint64 bytes = QFileInfo(path).size();
    const bool vbr = info(u"bVBR"_s).toBool();
    QString bitrate = u"Bitrate: "_s + info(u"Bitrate"_s).toString() + u" kbps"_s;
    if (vbr)
        bitrate += u" ("_s + info(u"TotalFrames"_s).toString() + u" frames)"_s;
    return {
        u"Size: "_s + QString::number(bytes) + u" bytes ("_s
            + Basic::formatThousands(Basic::roundEven(double(bytes) / 1024.0)) + u" Ko)"_s,
        u"Length: "_s + info(u"Duration"_s).toString() + u" seconds ("_s + info(u"DurationFormated"_s).toString()
            + u')',
        vbr ? u"Encoding type: VBR (Variable bitrate)"_s : u"Encoding type: CBR (Constant bitrate)"_s,
        bitrate,
        u"Frequency: "_s + info(u"SampleRate"_s).toString() + u" Hz "_s,
        u"Mode: "_s + info(u"ChannelMode"_s).toString(),
        u"Padding: "_s + info(u"Padding"_s).toString(),
        u"CRCs: "_s + info(u"Protection"_s).toString(),
        u"Copyrighted: "_s + info(u"Copyright"_s).toString(),
        u"Original: "_s + info(u"Original"_s).toString(),
        u"Private Bit: "_s + info(u"PrivateBit"_s).toString(),
        u"Emphasis: "_s + info(u"Emphasis"_s).toString(),
        QString(),
        u"ID3 Tag version : "_s + tagVersionText(hasV1, hasV2),
    };
}
