#include "audio/TagAccess.h"

#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "audio/XAnalyzerAnalysis.h"
#include "foundation/Basic.h"
#include "foundation/MessageGateway.h"

#include <exception>

using namespace Qt::StringLiterals;

namespace TagKeywords {

namespace {

using V2Getter = QString (ID3Edit::*)() const;

// Keywords that always read the version-2 field, whatever version is asked for.
V2Getter v2OnlyField(const QString &keyword)
{
    static const QList<std::pair<QString, V2Getter>> fields = {
        { u"Composer"_s, &ID3Edit::Composer },
        { u"OriginalArtist"_s, &ID3Edit::OriginalArtist },
        { u"EncodedBy"_s, &ID3Edit::EncodedBy },
        { u"UserUrl"_s, &ID3Edit::UserUrl },
        { u"UserText"_s, &ID3Edit::UserText },
        { u"ArtistUrl"_s, &ID3Edit::ArtistUrl },
        { u"Preference"_s, &ID3Edit::Preference },
        { u"Tempo"_s, &ID3Edit::Tempo },
        { u"Mood"_s, &ID3Edit::Mood },
        { u"Situation"_s, &ID3Edit::Situation },
        { u"Copyright"_s, &ID3Edit::Copyright },
        { u"Lyrics"_s, &ID3Edit::Lyrics },
    };
    for (const auto &[name, getter] : fields) {
        if (name == keyword)
            return getter;
    }
    return nullptr;
}

// "Title", "Artist", "Album", "Comment": the version-2 field first for "v1v2".
QString textField(const QString &v1, const QString &v2, const QString &version)
{
    if (version == u"v1")
        return v1;
    if (version == u"v2")
        return v2;
    if (version == u"v1v2")
        return v2.isEmpty() ? v1 : v2;
    return {};
}

QString v1Genre(const TagSources &sources)
{
    if (!sources.tagV2.HasV1())
        return {};
    // Only bytes of the published list name a genre; 255 is "none".
    const int genre = sources.theTag.Genre();
    return genre >= 0 && genre < ID3::publishedGenres().size() ? QString::number(genre) : QString();
}

QString number(double value)
{
    return QString::number(value, 'g', 15);
}

TagRead tagValue(const QString &key, const QString &version, const TagSources &sources)
{
    const ID3Tag &v1 = sources.theTag;
    const ID3Edit &v2 = sources.tagV2;
    const bool known = version == u"v1" || version == u"v2" || version == u"v1v2";

    if (key == u"Title")
        return textField(v1.Title(), v2.Title(), version);
    if (key == u"Artist")
        return textField(v1.Artist(), v2.Artist(), version);
    if (key == u"Album")
        return textField(v1.Album(), v2.Album(), version);
    if (key == u"Comment")
        return textField(v1.Comment(), v2.Comment(), version);
    if (key == u"Year") {
        if (!known)
            return {};
        QString year;
        if (version == u"v1")
            year = QString::number(v1.TheYear());
        else if (version == u"v2")
            year = v2.Year();
        else
            year = (v2.Year().isEmpty() || v2.Year() == u"0") ? QString::number(v1.TheYear()) : v2.Year();
        return Basic::val(year) == 0 ? QString() : year;
    }
    if (key == u"Track") {
        if (!known)
            return {};
        QString track;
        if (version == u"v1") {
            track = QString::number(v1.Track());
        } else if (version == u"v2") {
            track = v2.Track();
        } else {
            track = v2.Track().isEmpty() ? QString() : number(Basic::val(v2.Track()));
            if (track.isEmpty() || track == u"0")
                track = QString::number(v1.Track());
        }
        return Basic::val(track) < 1 ? QString() : track;
    }
    if (key == u"Genre") {
        if (version == u"v1")
            return v1Genre(sources);
        if (version == u"v2")
            return v2.Genre();
        if (version == u"v1v2")
            return v2.Genre().isEmpty() ? v1Genre(sources) : v2.Genre();
        return {};
    }
    if (const V2Getter getter = v2OnlyField(key))
        return (v2.*getter)();
    if (key == u"UniqueKey")
        return {};
    return TagRead {{}, Msg::Message {u"Bad cTagName"_s, u"Errror"_s, Msg::Icon::Critical, Msg::Buttons::Ok, {}}};
}

QString formatMinutes(long long minutes, long long seconds)
{
    return QString::number(minutes) + u':' + Basic::formatDigits(seconds, 2);
}

QVariant builtInInfo(const QString &key, const FileInfoSources &sources)
{
    const Mp3InfoVBR::MpegInfo &info = sources.info;
    if (key == u"Bitrate")
        return info.bitrate;
    if (key == u"Duration")
        return info.duration;
    if (key == u"DurationFormated")
        return formatMinutes(info.duration / 60, info.duration % 60);
    if (key == u"SampleRate")
        return info.sampleRate;
    if (key == u"ChannelMode")
        return info.channelMode;
    if (key == u"bVBR")
        return sources.vbr;
    if (key == u"MPEGVersion")
        return info.mpegVersion;
    if (key == u"Layer")
        return info.layer;
    if (key == u"TotalFrames")
        return sources.vbrFrameCount;
    if (key == u"Padding")
        return info.padding;
    if (key == u"Protection")
        return info.protection;
    if (key == u"Emphasis")
        return info.emphasis;
    if (key == u"Copyright")
        return info.copyright;
    if (key == u"Original")
        return info.original;
    if (key == u"PrivateBit")
        return info.privateBit;
    return {};
}

QVariant analyzerInfo(const QString &key, const XAnalyzer::Analysis &analyzer)
{
    if (key == u"Bitrate")
        return int(Basic::roundEven(analyzer.BitRate() / 1000.0));
    if (key == u"Duration")
        return Basic::roundEven(analyzer.Duration());
    if (key == u"DurationFormated") {
        const long long minutes = Basic::roundEven(analyzer.Duration()) / 60;
        return formatMinutes(minutes, Basic::roundEven(analyzer.Duration() - 60.0 * double(minutes)));
    }
    if (key == u"SampleRate")
        return analyzer.Frequency();
    if (key == u"ChannelMode")
        return analyzer.Mode();
    if (key == u"bVBR")
        return analyzer.VariableBitRate();
    if (key == u"MPEGVersion")
        return analyzer.MPegLevel();
    if (key == u"Layer")
        return analyzer.MPegLayer();
    static const QStringList headerOnly = { u"TotalFrames"_s, u"Padding"_s, u"Protection"_s, u"Emphasis"_s,
        u"Copyright"_s, u"Original"_s, u"PrivateBit"_s };
    if (headerOnly.contains(key))
        return u"n/a"_s;
    return {};
}

bool isInfoKeyword(const QString &key)
{
    static const QStringList keys = { u"Bitrate"_s, u"Duration"_s, u"DurationFormated"_s, u"SampleRate"_s,
        u"ChannelMode"_s, u"bVBR"_s, u"MPEGVersion"_s, u"Layer"_s, u"TotalFrames"_s, u"Padding"_s, u"Protection"_s,
        u"Emphasis"_s, u"Copyright"_s, u"Original"_s, u"PrivateBit"_s };
    return keys.contains(key);
}

} // namespace

FileInfoSources FileInfoSources::current(const XAnalyzer::Analysis &analyzer)
{
    return FileInfoSources { Mp3InfoVBR::lastInfo(), Mp3InfoVBR::isVBR(), Mp3InfoVBR::vbrFrameCount(), analyzer };
}

FileInfoSources FileInfoSources::of(const Mp3InfoVBR::Reading &reading, const XAnalyzer::Analysis &analyzer)
{
    return FileInfoSources { reading.info, reading.vbr, reading.frames, analyzer };
}

TagRead getTagValue(const QString &cTagName, const QString &version, const TagSources &sources)
{
    const auto error = [](const QString &description) {
        return TagRead {{}, Msg::Message {description, u"Error"_s, Msg::Icon::Critical, Msg::Buttons::Ok, {}}};
    };
    try {
        return tagValue(cTagName, version, sources);
    } catch (const std::exception &exception) {
        return error(QString::fromLocal8Bit(exception.what()));
    } catch (...) {
        return error(u"Unexpected error while reading the tag"_s);
    }
}

InfoRead getFileInfo(const QString &infoName, bool useAnalyzer, const FileInfoSources &sources)
{
    if (!isInfoKeyword(infoName))
        return InfoRead {{}, Msg::Message {u"Invalide infoName keyword"_s, u"Varnelt"_s, Msg::Icon::None, Msg::Buttons::Ok, {}}};
    return {useAnalyzer ? analyzerInfo(infoName, sources.analyzer) : builtInInfo(infoName, sources), {}};
}

} // namespace TagKeywords
