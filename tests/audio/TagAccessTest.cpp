// Keyword access on real files: the tag objects and the readers loaded the way the windows do.

#include "audio/TagAccess.h"
#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "audio/Mp3InfoVBR.h"
#include "audio/XAnalyzerAnalysis.h"
#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

using namespace Qt::StringLiterals;
using TagKeywords::getFileInfo;
using TagKeywords::getTagValue;

namespace {

Mp3Writer::V1Fields v1Fields(const QString &text, const QString &year, int track, int genre)
{
    Mp3Writer::V1Fields fields;
    fields.title = u"V1 "_s + text;
    fields.artist = u"V1 "_s + text;
    fields.album = u"V1 "_s + text;
    fields.comment = u"V1 "_s + text;
    fields.year = year;
    fields.track = track;
    fields.genre = genre;
    return fields;
}

class TagAccessTest : public VarneltTest {
protected:
    // Writes a file with the given tags and loads it into both tag objects.
    void load(const QList<Mp3Writer::TextFrame> &v2Frames, const Mp3Writer::V1Fields *v1)
    {
        QByteArray bytes = v2Frames.isEmpty() ? QByteArray() : Mp3Writer::id3v2(v2Frames, 0, 64);
        bytes += Mp3Writer::cbrFile(1.0);
        if (v1)
            bytes += Mp3Writer::id3v1(*v1);
        const QString path = writeFile(u"file%1.mp3"_s.arg(++files_), bytes);
        theTag.ReadFromFile(path);
        tagV2.Load(path);
    }

    // As a window would: the reader hands back its problem, the caller shows it.
    QString value(const QString &keyword, const QString &version) const
    {
        const TagKeywords::TagRead read = getTagValue(keyword, version, { theTag, tagV2 });
        if (read.problem)
            Msg::ask(*read.problem);
        return read.value;
    }

    ID3Tag theTag;
    ID3Edit tagV2;

private:
    int files_ = 0;
};

TEST_F(TagAccessTest, TextFieldsFollowTheVersion)
{
    const auto v1 = v1Fields(u"text"_s, u"1998"_s, 4, 17);
    load({ { "TIT2", u"V2 text"_s }, { "TPE1", u"V2 text"_s }, { "TALB", u"V2 text"_s }, { "COMM", u"V2 text"_s } },
        &v1);
    for (const QString &key : { u"Title"_s, u"Artist"_s, u"Album"_s, u"Comment"_s }) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_EQ(value(key, u"v1"_s), u"V1 text"_s);
        EXPECT_EQ(value(key, u"v2"_s), u"V2 text"_s);
        EXPECT_EQ(value(key, u"v1v2"_s), u"V2 text"_s);
        EXPECT_EQ(value(key, u"V1"_s), QString()) << "versions are compared with letter case";
        EXPECT_EQ(value(key, QString()), QString());
    }

    // An empty version-2 field falls back to version 1.
    load({ { "TCOM", u"Only a composer"_s } }, &v1);
    for (const QString &key : { u"Title"_s, u"Artist"_s, u"Album"_s, u"Comment"_s }) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_EQ(value(key, u"v2"_s), QString());
        EXPECT_EQ(value(key, u"v1v2"_s), u"V1 text"_s);
    }
    EXPECT_EQ(answers->count(), 0);
}

TEST_F(TagAccessTest, YearRules)
{
    const auto v1 = v1Fields(u"x"_s, u"1998"_s, 4, 17);
    load({ { "TYER", u"2005"_s } }, &v1);
    EXPECT_EQ(value(u"Year"_s, u"v1"_s), u"1998"_s);
    EXPECT_EQ(value(u"Year"_s, u"v2"_s), u"2005"_s);
    EXPECT_EQ(value(u"Year"_s, u"v1v2"_s), u"2005"_s);
    EXPECT_EQ(value(u"Year"_s, u"v3"_s), QString());

    load({ { "TYER", u"0"_s } }, &v1);
    EXPECT_EQ(value(u"Year"_s, u"v2"_s), QString()) << "a year of value 0 is no year";
    EXPECT_EQ(value(u"Year"_s, u"v1v2"_s), u"1998"_s);

    const auto v1Odd = v1Fields(u"x"_s, u"199x"_s, 4, 17);
    load({ { "TIT2", u"t"_s } }, &v1Odd);
    EXPECT_EQ(value(u"Year"_s, u"v1"_s), u"199"_s);
    EXPECT_EQ(value(u"Year"_s, u"v1v2"_s), u"199"_s);

    load({}, nullptr);
    EXPECT_EQ(value(u"Year"_s, u"v1"_s), QString());
    EXPECT_EQ(value(u"Year"_s, u"v1v2"_s), QString());
}

TEST_F(TagAccessTest, TrackRules)
{
    const auto v1 = v1Fields(u"x"_s, u"1998"_s, 7, 17);
    load({ { "TRCK", u"3/12"_s } }, &v1);
    EXPECT_EQ(value(u"Track"_s, u"v1"_s), u"7"_s);
    EXPECT_EQ(value(u"Track"_s, u"v2"_s), u"3/12"_s);
    EXPECT_EQ(value(u"Track"_s, u"v1v2"_s), u"3"_s);
    EXPECT_EQ(value(u"Track"_s, u"v12"_s), QString());

    load({ { "TRCK", u"0"_s } }, &v1);
    EXPECT_EQ(value(u"Track"_s, u"v2"_s), QString());
    EXPECT_EQ(value(u"Track"_s, u"v1v2"_s), u"7"_s);

    // No tag at all: no track in either version.
    load({}, nullptr);
    EXPECT_EQ(value(u"Track"_s, u"v1"_s), QString());
    EXPECT_EQ(value(u"Track"_s, u"v1v2"_s), QString());
}

TEST_F(TagAccessTest, GenreRules)
{
    auto v1 = v1Fields(u"x"_s, u"1998"_s, 1, 17);
    load({ { "TCON", u"Jazz"_s } }, &v1);
    EXPECT_EQ(value(u"Genre"_s, u"v1"_s), u"17"_s);
    EXPECT_EQ(value(u"Genre"_s, u"v2"_s), u"Jazz"_s);
    EXPECT_EQ(value(u"Genre"_s, u"v1v2"_s), u"Jazz"_s);
    EXPECT_EQ(value(u"Genre"_s, u"v 1"_s), QString());

    load({ { "TIT2", u"no genre"_s } }, &v1);
    EXPECT_EQ(value(u"Genre"_s, u"v1v2"_s), u"17"_s);

    // Every byte of the published list (0-147) is a genre; past it, and 255 ("none"), nothing.
    for (const auto &[byte, text] : {std::pair{147, u"147"_s}, {145, u"145"_s}, {148, QString()}, {200, QString()},
                                     {255, QString()}}) {
        v1.genre = byte;
        load({ { "TIT2", u"no genre"_s } }, &v1);
        EXPECT_EQ(value(u"Genre"_s, u"v1"_s), text) << byte;
    }

    // The version-1 genre counts only when the loaded file has a version-1 tag.
    load({ { "TIT2", u"no genre"_s } }, nullptr);
    ASSERT_TRUE(theTag.setGenre(17));
    EXPECT_EQ(value(u"Genre"_s, u"v1"_s), QString());
    EXPECT_EQ(value(u"Genre"_s, u"v1v2"_s), QString());
}

TEST_F(TagAccessTest, ExtraKeywordsReadTheVersion2FieldWhateverTheVersion)
{
    const QString path = writeFile(u"extra.mp3"_s, Mp3Writer::cbrFile(1.0));
    {
        ID3Edit writer;
        writer.setComposer(u"Composer"_s);
        writer.setOriginalArtist(u"OriginalArtist"_s);
        writer.setEncodedBy(u"EncodedBy"_s);
        writer.setUserUrl(u"UserUrl"_s);
        writer.setUserText(u"UserText"_s);
        writer.setArtistUrl(u"ArtistUrl"_s);
        writer.setPreference(u"Preference"_s);
        writer.setTempo(u"Tempo"_s);
        writer.setMood(u"Mood"_s);
        writer.setSituation(u"Situation"_s);
        writer.setCopyright(u"Copyright"_s);
        writer.setLyrics(u"Lyrics"_s);
        ASSERT_EQ(writer.SaveV2(path), ID3Edit::Ok);
    }
    theTag.ReadFromFile(path);
    tagV2.Load(path);
    const QStringList keys = { u"Composer"_s, u"OriginalArtist"_s, u"EncodedBy"_s, u"UserUrl"_s, u"UserText"_s,
        u"ArtistUrl"_s, u"Preference"_s, u"Tempo"_s, u"Mood"_s, u"Situation"_s, u"Copyright"_s, u"Lyrics"_s };
    for (const QString &key : keys) {
        for (const QString &version : { u"v1"_s, u"v2"_s, u"v1v2"_s, u"anything"_s })
            EXPECT_EQ(value(key, version), key) << key.toStdString() << " " << version.toStdString();
    }
    EXPECT_EQ(value(u"UniqueKey"_s, u"v2"_s), QString());
    EXPECT_EQ(answers->count(), 0);
}

TEST_F(TagAccessTest, UnknownTagKeywordShowsTheMessage)
{
    load({ { "TIT2", u"Title"_s } }, nullptr);
    EXPECT_EQ(value(u"title"_s, u"v2"_s), QString());
    ASSERT_EQ(answers->count(), 1);
    const Msg::Message &message = answers->messages().first();
    EXPECT_EQ(message.text, u"Bad cTagName"_s);
    EXPECT_EQ(message.title, u"Errror"_s);
    EXPECT_EQ(message.icon, Msg::Icon::Critical);
    EXPECT_EQ(value(u"Bitrate"_s, u"v1"_s), QString());
    EXPECT_EQ(answers->count(), 2);
}

class FileInfoTest : public VarneltTest {
protected:
    QVariant info(const QString &keyword, bool useAnalyzer) const
    {
        const TagKeywords::InfoRead read = getFileInfo(keyword, useAnalyzer, TagKeywords::FileInfoSources::current(analyzer));
        if (read.problem)
            Msg::ask(*read.problem);
        return read.value;
    }

    XAnalyzer::Analysis analyzer;
};

TEST_F(FileInfoTest, BuiltInReaderKeywords)
{
    Mp3Writer::Frame frame;
    frame.original = true;
    frame.emphasis = 1;
    frame.copyright = true;
    // 128 kbit/s and 4,000,000 bytes: 250 seconds.
    QByteArray bytes = Mp3Writer::cbrFile(240.0, 128, frame);
    bytes += Mp3Writer::zeros(4000000 - int(bytes.size()));
    const QString path = writeFile(u"cbr.mp3"_s, bytes);
    Mp3InfoVBR::readMpegInfo(path);

    EXPECT_EQ(info(u"Bitrate"_s, false).toInt(), 128);
    EXPECT_EQ(info(u"Duration"_s, false).toInt(), 250);
    EXPECT_EQ(info(u"DurationFormated"_s, false).toString(), u"4:10"_s);
    EXPECT_EQ(info(u"SampleRate"_s, false).toInt(), 44100);
    EXPECT_EQ(info(u"ChannelMode"_s, false).toString(), u"Joint Stereo"_s);
    EXPECT_EQ(info(u"bVBR"_s, false), QVariant(false));
    EXPECT_EQ(info(u"MPEGVersion"_s, false).toInt(), 1);
    EXPECT_EQ(info(u"Layer"_s, false).toInt(), 3);
    EXPECT_EQ(info(u"Padding"_s, false).toString(), u"No"_s);
    EXPECT_EQ(info(u"Protection"_s, false).toString(), u"No"_s);
    EXPECT_EQ(info(u"Emphasis"_s, false).toString(), u"50/15"_s);
    EXPECT_EQ(info(u"Copyright"_s, false).toString(), u"Yes"_s);
    EXPECT_EQ(info(u"Original"_s, false).toString(), u"Yes"_s);
    EXPECT_EQ(info(u"PrivateBit"_s, false).toString(), u"No"_s);
    EXPECT_EQ(answers->count(), 0);
}

TEST_F(FileInfoTest, BuiltInVbrFlagAndFrameCount)
{
    Mp3Writer::Frame frame;
    frame.mode = Mp3Writer::Mode::Stereo;
    const QString path = writeFile(u"vbr.mp3"_s, Mp3Writer::vbrStream(frame, { 128, 192, 256 }, 300));
    Mp3InfoVBR::readMpegInfo(path);
    EXPECT_EQ(info(u"bVBR"_s, false), QVariant(true));
    EXPECT_EQ(info(u"TotalFrames"_s, false).toLongLong(), 300);
}

TEST_F(FileInfoTest, BuiltInDurationFormatting)
{
    XAnalyzer::Analysis unused;
    for (const auto &[seconds, text] : { std::pair { 245, u"4:05"_s }, std::pair { 59, u"0:59"_s },
             std::pair { 0, u"0:00"_s }, std::pair { 3600, u"60:00"_s } }) {
        Mp3InfoVBR::MpegInfo mpeg;
        mpeg.duration = seconds;
        const TagKeywords::FileInfoSources sources { mpeg, false, 0, unused };
        EXPECT_EQ(getFileInfo(u"DurationFormated"_s, false, sources).value.toString(), text);
    }
}

TEST_F(FileInfoTest, AnalyzerKeywords)
{
    const QString path = writeFile(u"cbr.mp3"_s, Mp3Writer::cbrFile(10.0, 192));
    analyzer.setFilename(path);
    ASSERT_FALSE(analyzer.HadError());
    EXPECT_EQ(info(u"Bitrate"_s, true).toInt(), 192);
    EXPECT_EQ(info(u"Duration"_s, true).toInt(), 10);
    EXPECT_EQ(info(u"DurationFormated"_s, true).toString(), u"0:10"_s);
    EXPECT_EQ(info(u"SampleRate"_s, true).toInt(), 44100);
    EXPECT_EQ(info(u"ChannelMode"_s, true).toString(), u"Joint Stereo"_s);
    EXPECT_EQ(info(u"bVBR"_s, true), QVariant(false));
    EXPECT_EQ(info(u"MPEGVersion"_s, true).toString(), u"MPEG1"_s);
    EXPECT_EQ(info(u"Layer"_s, true).toInt(), 3);
    for (const QString &key : { u"TotalFrames"_s, u"Padding"_s, u"Protection"_s, u"Emphasis"_s, u"Copyright"_s,
             u"Original"_s, u"PrivateBit"_s })
        EXPECT_EQ(info(key, true).toString(), u"n/a"_s) << key.toStdString();
}

TEST_F(FileInfoTest, AnalyzerRoundsHalvesToEven)
{
    // 128 kbit/s with exactly 40,000 and 56,000 bytes of audio: 2.5 and 3.5 seconds.
    const auto halfSecond = [this](const QString &name, int bytes) {
        QByteArray audio = Mp3Writer::cbrFile(bytes / 16000.0 - 0.2, 128);
        audio += Mp3Writer::zeros(bytes - int(audio.size()));
        analyzer.setFilename(writeFile(name, audio));
    };
    halfSecond(u"a.mp3"_s, 40000);
    ASSERT_DOUBLE_EQ(analyzer.Duration(), 2.5);
    EXPECT_EQ(info(u"Duration"_s, true).toInt(), 2);
    EXPECT_EQ(info(u"DurationFormated"_s, true).toString(), u"0:02"_s);

    halfSecond(u"b.mp3"_s, 56000);
    ASSERT_DOUBLE_EQ(analyzer.Duration(), 3.5);
    EXPECT_EQ(info(u"Duration"_s, true).toInt(), 4);
    EXPECT_EQ(info(u"DurationFormated"_s, true).toString(), u"0:04"_s);
}

TEST_F(FileInfoTest, UnknownInfoKeywordShowsTheMessage)
{
    for (const bool useAnalyzer : { false, true }) {
        answers->clear();
        EXPECT_FALSE(info(u"bitrate"_s, useAnalyzer).isValid());
        ASSERT_EQ(answers->count(), 1);
        EXPECT_EQ(answers->lastText(), u"Invalide infoName keyword"_s);
        EXPECT_EQ(answers->messages().first().icon, Msg::Icon::None);
    }
    EXPECT_FALSE(info(u"Title"_s, false).isValid());
    EXPECT_EQ(answers->count(), 2);
}

} // namespace
