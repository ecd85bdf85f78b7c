// What we write is read by an independent reader (python3-mutagen), and what it writes is read
// by us: every field is compared.

#include "audio/ID3Edit.h"
#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

// "dump PATH" prints the file's ID3v2 frames (the tag alone, no ID3v1 merged in) and its ID3v1
// trailer as JSON. "write PATH" gives the file a v2.4 tag holding every field.
constexpr const char *Script = R"PY(
import hashlib, json, sys
from mutagen.id3 import (ID3, ID3NoHeaderError, ParseID3v1, APIC, COMM, TALB, TBPM, TCOM, TCON, TCOP,
                         TDRC, TENC, TIT2, TOPE, TPE1, TRCK, TXXX, USLT, WOAR, WXXX)

def text_of(frame):
    if hasattr(frame, "url"):
        return frame.url
    if isinstance(frame.text, str):
        return frame.text
    return [str(t) for t in frame.text]

mode, path = sys.argv[1], sys.argv[2]
if mode == "write":
    tag = ID3()
    tag.add(TIT2(encoding=3, text="Zürich — 東京"))
    tag.add(TPE1(encoding=3, text="Artist"))
    tag.add(TALB(encoding=3, text="Album"))
    tag.add(TDRC(encoding=3, text="2004"))
    tag.add(TRCK(encoding=3, text="5/9"))
    tag.add(TCON(encoding=3, text="Blues"))
    tag.add(COMM(encoding=3, lang="eng", desc="iTunNORM", text=" 0000 0000"))
    tag.add(COMM(encoding=3, lang="eng", desc="", text="Comment"))
    tag.add(TCOM(encoding=3, text="Composer"))
    tag.add(TOPE(encoding=3, text="Original"))
    tag.add(TENC(encoding=3, text="Encoder"))
    tag.add(TCOP(encoding=3, text="Copyright"))
    tag.add(TBPM(encoding=3, text="128"))
    tag.add(WOAR(url="http://artist.example/"))
    tag.add(WXXX(encoding=3, desc="", url="http://user.example/"))
    tag.add(TXXX(encoding=3, desc="", text="Free text"))
    tag.add(TXXX(encoding=3, desc="MOOD", text="Calm"))
    tag.add(TXXX(encoding=3, desc="SITUATION", text="Night"))
    tag.add(TXXX(encoding=3, desc="PREFERENCE", text="Favourite"))
    tag.add(TXXX(encoding=3, desc="REPLAYGAIN_TRACK_GAIN", text="-6.5 dB"))
    tag.add(USLT(encoding=3, lang="eng", desc="", text="Line one\nline two"))
    tag.add(APIC(encoding=0, mime="image/png", type=3, desc="", data=b"\x89PNG\r\n\x1a\n" + bytes(range(1, 200))))
    tag.add(APIC(encoding=0, mime="image/jpeg", type=4, desc="back", data=b"\xff\xd8\xff" + bytes(50)))
    tag.save(path, v2_version=4)
    sys.exit(0)

out = {}
try:
    tag = ID3(path, load_v1=False)
    out["version"] = list(tag.version)
    frames = {}
    for key, frame in tag.items():
        if key.startswith("APIC"):
            frames[key] = {"mime": frame.mime, "type": int(frame.type),
                           "sha1": hashlib.sha1(frame.data).hexdigest()}
        else:
            frames[key] = text_of(frame)
    out["v2"] = frames
except ID3NoHeaderError:
    out["v2"] = None
with open(path, "rb") as f:
    data = f.read()
if len(data) >= 128 and data[-128:-125] == b"TAG":
    out["v1"] = {key: text_of(frame) for key, frame in ParseID3v1(data[-128:]).items()}
else:
    out["v1"] = None
print(json.dumps(out))
)PY";

class ID3EditInteropTest : public VarneltTest {
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        QProcess probe;
        probe.start(u"/usr/bin/python3"_s, { u"-c"_s, u"import mutagen"_s });
        if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            GTEST_SKIP() << "python3-mutagen is not installed for /usr/bin/python3";
        scriptPath_ = writeFile(u"mutagen_io.py"_s, QByteArray(Script));
    }

    // Runs the script; the dump's JSON (empty for "write").
    QJsonObject mutagen(const QString &mode, const QString &path)
    {
        QProcess python;
        python.start(u"/usr/bin/python3"_s, { scriptPath_, mode, path });
        const bool finished = python.waitForFinished(60000);
        EXPECT_TRUE(finished);
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    }

    static QString text(const QJsonObject &frames, const QString &key)
    {
        const QJsonValue value = frames.value(key);
        if (value.isArray())
            return value.toArray().at(0).toString();
        return value.toString();
    }

    static QByteArray pngBytes()
    {
        QByteArray data("\x89PNG\r\n\x1a\n", 8);
        for (int i = 1; i < 200; ++i)
            data.append(char(i));
        return data;
    }

private:
    QString scriptPath_;
};

TEST_F(ID3EditInteropTest, WhatWeWriteIsReadByAnotherReader)
{
    const QByteArray audio = Mp3Writer::cbrFile(1.0);
    const QString path = writeFile(u"ours.mp3"_s, audio);
    const QByteArray jpeg = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(700, 'j');
    ID3Edit tag;
    tag.setTitle(u"Ωmega — 東京"_s);
    tag.setArtist(u"Café Müller"_s);
    tag.setAlbum(u"Album"_s);
    tag.setYear(u"1999"_s);
    tag.setTrack(u"3/12"_s);
    tag.setGenre(u"Jazz"_s);
    tag.setComment(u"A comment"_s);
    tag.setComposer(u"Composer"_s);
    tag.setOriginalArtist(u"Original"_s);
    tag.setEncodedBy(u"Encoder"_s);
    tag.setCopyright(u"2003 Label"_s);
    tag.setTempo(u"120"_s);
    tag.setArtistUrl(u"http://artist.example/"_s);
    tag.setUserUrl(u"http://user.example/"_s);
    tag.setUserText(u"Free text"_s);
    tag.setMood(u"Calm"_s);
    tag.setSituation(u"Night"_s);
    tag.setPreference(u"Favourite"_s);
    tag.setLyrics(u"La la\nla"_s);
    tag.setPicture({ jpeg, u"image/jpeg"_s });
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);

    tag.setV1Title(u"Café title"_s);
    tag.setV1Artist(u"Ωmega"_s);
    tag.setV1Album(u"V1 album"_s);
    tag.setV1Year(u"1999"_s);
    tag.setV1Comment(u"V1 comment"_s);
    tag.setV1Track(3);
    tag.setV1Genre(8);
    ASSERT_EQ(tag.SaveV1(path), ID3Edit::Ok);

    const QJsonObject read = mutagen(u"dump"_s, path);
    EXPECT_EQ(read.value(u"version"_s).toArray(), QJsonArray({ 2, 3, 0 }));
    const QJsonObject v2 = read.value(u"v2"_s).toObject();
    const QList<std::pair<QString, QString>> expected = {
        { u"TIT2"_s, u"Ωmega — 東京"_s },
        { u"TPE1"_s, u"Café Müller"_s },
        { u"TALB"_s, u"Album"_s },
        { u"TDRC"_s, u"1999"_s },
        { u"TRCK"_s, u"3/12"_s },
        { u"TCON"_s, u"Jazz"_s },
        { u"COMM::eng"_s, u"A comment"_s },
        { u"TCOM"_s, u"Composer"_s },
        { u"TOPE"_s, u"Original"_s },
        { u"TENC"_s, u"Encoder"_s },
        { u"TCOP"_s, u"2003 Label"_s },
        { u"TBPM"_s, u"120"_s },
        { u"WOAR:http://artist.example/"_s, u"http://artist.example/"_s },
        { u"WXXX:"_s, u"http://user.example/"_s },
        { u"TXXX:"_s, u"Free text"_s },
        { u"TXXX:MOOD"_s, u"Calm"_s },
        { u"TXXX:SITUATION"_s, u"Night"_s },
        { u"TXXX:PREFERENCE"_s, u"Favourite"_s },
        { u"USLT::eng"_s, u"La la\nla"_s },
    };
    for (const auto &[key, value] : expected)
        EXPECT_EQ(text(v2, key), value) << key.toStdString();
    EXPECT_EQ(v2.size(), expected.size() + 1) << QJsonDocument(v2).toJson().toStdString();
    const QJsonObject picture = v2.value(u"APIC:"_s).toObject();
    EXPECT_EQ(picture.value(u"mime"_s).toString(), u"image/jpeg"_s);
    EXPECT_EQ(picture.value(u"type"_s).toInt(), 3) << "front cover";
    EXPECT_EQ(picture.value(u"sha1"_s).toString(),
        QString::fromLatin1(QCryptographicHash::hash(jpeg, QCryptographicHash::Sha1).toHex()));

    // The trailer: ISO-8859-1 text, "?" for what it cannot hold, track and genre bytes.
    const QJsonObject v1 = read.value(u"v1"_s).toObject();
    EXPECT_EQ(text(v1, u"TIT2"_s), u"Café title"_s);
    EXPECT_EQ(text(v1, u"TPE1"_s), u"?mega"_s);
    EXPECT_EQ(text(v1, u"TALB"_s), u"V1 album"_s);
    EXPECT_EQ(text(v1, u"TDRC"_s), u"1999"_s);
    EXPECT_EQ(text(v1, u"COMM"_s), u"V1 comment"_s);
    EXPECT_EQ(text(v1, u"TRCK"_s), u"3"_s);
    EXPECT_EQ(text(v1, u"TCON"_s), u"8"_s);

    EXPECT_TRUE(readAll(path).contains(audio));
}

TEST_F(ID3EditInteropTest, WeReadWhatAnotherWriterWroteAndKeepWhatWeDoNotKnow)
{
    const QByteArray audio = Mp3Writer::cbrFile(1.0);
    const QString path = writeFile(u"theirs.mp3"_s, audio);
    mutagen(u"write"_s, path);

    ID3Edit tag;
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    EXPECT_TRUE(tag.HasV2());
    EXPECT_FALSE(tag.HasV1());
    EXPECT_EQ(tag.Title(), u"Zürich — 東京"_s);
    EXPECT_EQ(tag.Artist(), u"Artist"_s);
    EXPECT_EQ(tag.Album(), u"Album"_s);
    EXPECT_EQ(tag.Year(), u"2004"_s);
    EXPECT_EQ(tag.Track(), u"5/9"_s);
    EXPECT_EQ(tag.Genre(), u"Blues"_s);
    EXPECT_EQ(tag.Comment(), u"Comment"_s) << "not the player's bookkeeping comment";
    EXPECT_EQ(tag.Composer(), u"Composer"_s);
    EXPECT_EQ(tag.OriginalArtist(), u"Original"_s);
    EXPECT_EQ(tag.EncodedBy(), u"Encoder"_s);
    EXPECT_EQ(tag.Copyright(), u"Copyright"_s);
    EXPECT_EQ(tag.Tempo(), u"128"_s);
    EXPECT_EQ(tag.ArtistUrl(), u"http://artist.example/"_s);
    EXPECT_EQ(tag.UserUrl(), u"http://user.example/"_s);
    EXPECT_EQ(tag.UserText(), u"Free text"_s);
    EXPECT_EQ(tag.Mood(), u"Calm"_s);
    EXPECT_EQ(tag.Situation(), u"Night"_s);
    EXPECT_EQ(tag.Preference(), u"Favourite"_s);
    EXPECT_EQ(tag.Lyrics(), u"Line one\nline two"_s);
    EXPECT_EQ(tag.Picture().data, pngBytes()) << "the front cover, not the back";
    EXPECT_EQ(tag.Picture().mimeType, u"image/png"_s);

    // Changing one field rewrites the tag as v2.3 and keeps every other frame as it was.
    tag.setTitle(u"Changed"_s);
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    const QJsonObject read = mutagen(u"dump"_s, path);
    EXPECT_EQ(read.value(u"version"_s).toArray(), QJsonArray({ 2, 3, 0 }));
    const QJsonObject v2 = read.value(u"v2"_s).toObject();
    EXPECT_EQ(text(v2, u"TIT2"_s), u"Changed"_s);
    EXPECT_EQ(text(v2, u"TXXX:"_s), u"Free text"_s);
    EXPECT_EQ(text(v2, u"TXXX:REPLAYGAIN_TRACK_GAIN"_s), u"-6.5 dB"_s);
    EXPECT_EQ(text(v2, u"COMM:iTunNORM:eng"_s), u" 0000 0000"_s);
    EXPECT_EQ(text(v2, u"COMM::eng"_s), u"Comment"_s);
    EXPECT_EQ(text(v2, u"TDRC"_s), u"2004"_s);
    EXPECT_EQ(v2.value(u"APIC:back"_s).toObject().value(u"type"_s).toInt(), 4);
    EXPECT_EQ(v2.value(u"APIC:"_s).toObject().value(u"mime"_s).toString(), u"image/png"_s);
    EXPECT_EQ(v2.size(), 23) << "all frames written by the other program" << QJsonDocument(v2).toJson().toStdString();
    EXPECT_TRUE(readAll(path).endsWith(audio));
}

} // namespace
