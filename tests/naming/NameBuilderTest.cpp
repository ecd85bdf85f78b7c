#include "naming/NameBuilder.h"
#include "naming/MaskFiles.h"
#include "naming/TextEffects.h"
#include "support/TestEnv.h"
#include "naming/QStringPrinter.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using Common::PathStyle;

namespace {

const QString FirstMask = uR"(%artist - %album\%track - %title)"_s;

AlbumFields album(const QString &artist, const QString &albumTitle, const QString &year = {},
                  const QString &genre = {}, const QString &comment = {})
{
    return {artist, albumTitle, year, genre, comment};
}

NamingOptions options(const QString &mask, const QString &destination)
{
    NamingOptions o;
    o.mask = mask;
    o.destination = destination;
    return o;
}

TrackInput track(const QString &title, const QString &trackText = u"01"_s, int fileNumber = 1,
                 const QString &fileName = u"old name.mp3"_s)
{
    return {title, fileNumber, fileName, trackText};
}

QString windows(const AlbumFields &a, const NamingOptions &o, const QString &dir, const TrackInput &t)
{
    return buildNewFileName(a, o, dir, t, parentFolderExists(dir, PathStyle::Windows), PathStyle::Windows);
}

} // namespace

// The worked examples of the name builder, in the Windows spelling, as pure string cases.
TEST(NameBuilderWindows, CleansArtistAlbumAndTitleButKeepsTheDestination)
{
    const AlbumFields a = album(u"Foo/Bar"_s, u"Live: Part 1"_s);
    const TrackInput t = track(u"Intro?"_s);
    EXPECT_EQ(windows(a, options(FirstMask, u"MP3 directory"_s), uR"(D:\Rips\new)"_s, t),
              uR"(D:\Rips\new\Foo-Bar - Live- Part 1\01 - Intro-.mp3)"_s);

    NamingOptions o = options(FirstMask, uR"(D:\My Music)"_s);
    o.replaceSpaces = SpaceReplacement::Underscores;
    EXPECT_EQ(windows(a, o, uR"(D:\Rips\new)"_s, t), uR"(D:\My Music\Foo-Bar_-_Live-_Part_1\01_-_Intro-.mp3)"_s);

    o.replaceSpaces = SpaceReplacement::Points;
    EXPECT_EQ(windows(a, o, uR"(D:\Rips\new)"_s, t), uR"(D:\My Music\Foo-Bar.-.Live-.Part.1\01.-.Intro-.mp3)"_s);
    o.replaceSpaces = SpaceReplacement::Nothing;
    EXPECT_EQ(windows(a, o, uR"(D:\Rips\new)"_s, t), uR"(D:\My Music\Foo-Bar-Live-Part1\01-Intro-.mp3)"_s);
    o.replaceSpaces = spaceReplacementAt(-1); // no selection: spaces removed
    EXPECT_EQ(windows(a, o, uR"(D:\Rips\new)"_s, t), uR"(D:\My Music\Foo-Bar-Live-Part1\01-Intro-.mp3)"_s);
}

TEST(NameBuilderWindows, TextEffectsLeaveDestinationAndFixedLeadingFoldersAlone)
{
    NamingOptions o = options(uR"(Music\%artist\%title)"_s, uR"(D:\My Music)"_s);
    o.textEffect = TextEffect::UpperCase;
    const AlbumFields a = album(u"Foo Fighters"_s, {});
    EXPECT_EQ(windows(a, o, uR"(D:\x)"_s, track(u"best of you"_s)), uR"(D:\My Music\Music\FOO FIGHTERS\BEST OF YOU.mp3)"_s);
    o.textEffect = TextEffect::LowerCase;
    EXPECT_EQ(windows(a, o, uR"(D:\x)"_s, track(u"Best Of You"_s)), uR"(D:\My Music\Music\foo fighters\best of you.mp3)"_s);

    // Word capitals: a word starts after a space, ".", "-" and "\", not after an apostrophe.
    o = options(uR"(%album\%track - %title)"_s, uR"(D:\m)"_s);
    o.textEffect = TextEffect::WordCapitals;
    EXPECT_EQ(windows(album({}, u"the end.of-it"_s), o, uR"(D:\x)"_s, track(u"o'neil"_s, u"02"_s)),
              uR"(D:\m\The End.Of-It\02 - O'neil.mp3)"_s);

    // The extension is never touched by an effect.
    o.textEffect = TextEffect::UpperCase;
    EXPECT_TRUE(windows(album({}, u"a"_s), o, uR"(D:\x)"_s, track(u"b"_s)).endsWith(u".mp3"_s));

    // A mask made of "%filename" alone changes only the file level.
    o = options(uR"(Fixed Part\%filename)"_s, uR"(D:\m)"_s);
    o.textEffect = TextEffect::UpperCase;
    EXPECT_EQ(windows({}, o, uR"(D:\x)"_s, track({}, u"01"_s, 1, u"song"_s)), uR"(D:\m\Fixed Part\SONG.mp3)"_s);
}

TEST(NameBuilderWindows, DestinationChoices)
{
    const AlbumFields a = album(u"A"_s, u"B"_s);
    const NamingOptions parent = options(u"%title"_s, u"Parent directory"_s);
    // A drive root has no parent: the files stay in the root itself.
    EXPECT_EQ(windows(a, parent, uR"(E:\)"_s, track(u"t"_s)), uR"(E:\t.mp3)"_s);
    // A parent that does not exist falls back to the folder of the files.
    EXPECT_EQ(windows(a, parent, uR"(Q:\no such\album)"_s, track(u"t"_s)), uR"(Q:\no such\album\t.mp3)"_s);
    // A typed folder is trimmed and gets its separator; the texts are matched exactly.
    EXPECT_EQ(windows(a, options(u"%title"_s, uR"(  D:\Out  )"_s), uR"(D:\x)"_s, track(u"t"_s)), uR"(D:\Out\t.mp3)"_s);
    EXPECT_EQ(windows(a, options(u"%title"_s, u"mp3 directory"_s), uR"(D:\x)"_s, track(u"t"_s)),
              uR"(mp3 directory\t.mp3)"_s);
    // A blank destination is the folder of the files, never the folder the program runs in.
    EXPECT_EQ(windows(a, options(uR"(%artist\%title)"_s, u"  "_s), uR"(D:\x)"_s, track(u"t"_s)), uR"(D:\x\A\t.mp3)"_s);
    EXPECT_EQ(windows(a, options(u"%title"_s, QString()), uR"(D:\x)"_s, track(u"t"_s)), uR"(D:\x\t.mp3)"_s);
}

TEST(NameBuilderWindows, VariablesAndRawValues)
{
    const NamingOptions o = options(u"%year %genre %comment %title %track %filename %filenumber"_s, uR"(D:\m)"_s);
    // Year and genre keep ":", the double quote becomes an apostrophe, the genre is trimmed.
    EXPECT_EQ(windows(album({}, {}, u"1999:2"_s, u"  Rock: Hard "_s, u"c?"_s), o, uR"(D:\x)"_s,
                      track(u"Say \"hi\""_s, u"07"_s, 12, u"f.mp3"_s)),
              uR"(D:\m\1999:2 Rock: Hard c- Say 'hi' 07 f 12.mp3)"_s);

    // "%filename" is the name without its extension: a second run over the renamed file gives
    // the same name, not one more ".mp3".
    const NamingOptions keep = options(u"%filename"_s, uR"(D:\m)"_s);
    const QString once = windows({}, keep, uR"(D:\x)"_s, track({}, u"01"_s, 1, u"x.mp3"_s));
    EXPECT_EQ(once, uR"(D:\m\x.mp3)"_s);
    EXPECT_EQ(windows({}, keep, uR"(D:\x)"_s, track({}, u"01"_s, 1, Common::getFileName(once))), once);
    EXPECT_EQ(windows({}, keep, uR"(D:\x)"_s, track({}, u"01"_s, 1, u"Live 1.2.MP3"_s)), uR"(D:\m\Live 1.2.mp3)"_s);

    // Only the lower-case spelling is a variable; a row without a number keeps "%filenumber".
    EXPECT_EQ(windows(album(u"A"_s, {}), options(u"%Artist %artist %filenumber"_s, uR"(D:\m)"_s), uR"(D:\x)"_s,
                      track({}, u"01"_s, 0)),
              uR"(D:\m\%Artist A %filenumber.mp3)"_s);

    // A value holding a later variable's spelling is expanded again by that later step.
    EXPECT_EQ(windows(album(u"%title"_s, {}), options(u"%artist"_s, uR"(D:\m)"_s), uR"(D:\x)"_s, track(u"T"_s)),
              uR"(D:\m\T.mp3)"_s);

    // Spaces at both ends of the whole path go; a "/" typed in a mask separates folders.
    EXPECT_EQ(windows(album(u"A"_s, {}), options(u"%artist/%title  "_s, uR"(D:\m)"_s), uR"(D:\x)"_s, track(u"t"_s)),
              uR"(D:\m\A\t.mp3)"_s);
}

// Values come from web pages and other people's tags: they must not change the folder structure.
TEST(NameBuilderSafety, ValuesNeverOpenOrLeaveFolderLevels)
{
    const NamingOptions o = options(uR"(%artist\%year\%genre\%track %filename)"_s, uR"(D:\m)"_s);
    EXPECT_EQ(windows(album(u"a\\b"_s, {}, u"1999\\2000"_s, u"Pop/Rock"_s), o, uR"(D:\x)"_s,
                      track({}, uR"(0\1)"_s, 1, u"x/y"_s)),
              uR"(D:\m\a-b\1999-2000\Pop-Rock\0-1 x-y.mp3)"_s);

    // Levels that read as the current or parent folder get "_" for their dots.
    EXPECT_EQ(windows(album(u".."_s, u"."_s), options(uR"(%artist\%album\%title)"_s, uR"(D:\m)"_s), uR"(D:\x)"_s,
                      track(u".."_s)),
              uR"(D:\m\__\_\__.mp3)"_s);
    EXPECT_EQ(windows(album(u"."_s, u"."_s), options(uR"(%artist%album\%title)"_s, uR"(D:\m)"_s), uR"(D:\x)"_s,
                      track(u"t"_s)),
              uR"(D:\m\__\t.mp3)"_s);
    // Dots elsewhere stay.
    EXPECT_EQ(windows(album(u"..a"_s, u"b.."_s), options(uR"(%artist\%album)"_s, uR"(D:\m)"_s), uR"(D:\x)"_s,
                      track(u"t"_s)),
              uR"(D:\m\..a\b...mp3)"_s);

    // Spaces turned into points must not make a parent folder either.
    NamingOptions points = options(uR"(%artist\%title)"_s, uR"(D:\m)"_s);
    points.replaceSpaces = SpaceReplacement::Points;
    EXPECT_EQ(windows(album(u"  "_s, {}), points, uR"(D:\x)"_s, track(u"a b"_s)), uR"(D:\m\__\a.b.mp3)"_s);

    // Control characters, NUL included, are removed from every value.
    EXPECT_EQ(windows(album(u"A\tB"_s, {}, QString(u"19\u000099"_s)), options(u"%artist %year %title"_s, uR"(D:\m)"_s),
                      uR"(D:\x)"_s, track(u"In\ntro\u0085"_s)),
              uR"(D:\m\AB 1999 Intro.mp3)"_s);

    // Without any folder an empty first level does not put the file at the root of the drive.
    EXPECT_EQ(windows(album({}, {}), options(uR"(%artist\%title)"_s, {}), QString(), track(u"t"_s)), u"t.mp3"_s);
}

TEST(NameBuilderSafety, DestinationFolderNamedLikeAVariableCannotBeLeft)
{
    // The destination takes part in the expansion, but a value cannot climb out through it.
    EXPECT_EQ(windows(album(u".."_s, {}), options(u"%title"_s, u"MP3 directory"_s), uR"(D:\%artist)"_s, track(u"t"_s)),
              uR"(D:\__\t.mp3)"_s);
    EXPECT_EQ(windows(album(u"Foo"_s, {}), options(u"%title"_s, uR"(D:\by %artist)"_s), uR"(D:\x)"_s, track(u"t"_s)),
              uR"(D:\by Foo\t.mp3)"_s);
}

TEST(NameBuilderEffects, OnlyTheLeadingBaseIsCutOff)
{
    // A relative path whose base is spelled again in a variable level keeps every level.
    NamingOptions o = options(uR"(Music\%artist\%title)"_s, {});
    o.textEffect = TextEffect::UpperCase;
    EXPECT_EQ(windows(album(u"music"_s, {}), o, QString(), track(u"t"_s)), uR"(Music\MUSIC\T.mp3)"_s);
    // A relative path without a fixed base keeps its separators.
    o.mask = uR"(%artist\%title)"_s;
    EXPECT_EQ(windows(album(u"foo"_s, {}), o, QString(), track(u"t"_s)), uR"(FOO\T.mp3)"_s);

    // An empty value leaves its level empty; the effect still stops at the destination and the
    // fixed folders (on a case-sensitive disk a respelled destination is another folder).
    o.mask = uR"(Fixed\%title)"_s;
    o.destination = uR"(D:\My Music)"_s;
    EXPECT_EQ(windows(album(u"a"_s, {}), o, QString(), track(QString())), uR"(D:\My Music\Fixed\_.mp3)"_s);
    o.mask = uR"(%artist\%title)"_s;
    EXPECT_EQ(windows(album(QString(), {}), o, QString(), track(u"t"_s)), uR"(D:\My Music\\T.mp3)"_s);

    // applyTextEffects alone: the album output name (no separator) is changed whole.
    NamingOptions out = options(FirstMask, u"MP3 directory"_s);
    out.textEffect = TextEffect::WordCapitals;
    out.replaceSpaces = SpaceReplacement::Underscores;
    EXPECT_EQ(applyTextEffects(u"foo bar - live"_s, out), u"Foo_Bar_-_Live"_s);
    out.textEffect.reset();
    out.replaceSpaces.reset();
    EXPECT_EQ(applyTextEffects(uR"(d:\a b\c d)"_s, out), uR"(d:\a b\c d)"_s);
}

// The same rules on the real file system with POSIX paths.
class NameBuilderPosix : public VarneltTest
{
protected:
    QString build(const AlbumFields &a, const NamingOptions &o, const QString &dir, const TrackInput &t) const
    {
        return buildNewFileName(a, o, dir, t, parentFolderExists(dir, PathStyle::Posix), PathStyle::Posix);
    }
};

TEST_F(NameBuilderPosix, DestinationsOnDisk)
{
    const QString rips = tempFile(u"Rips"_s);
    const QString current = rips + u"/new"_s;
    ASSERT_TRUE(QDir().mkpath(current));
    const AlbumFields a = album(u"Foo/Bar"_s, u"Live: Part 1"_s);
    const TrackInput t = track(u"Intro?"_s);

    EXPECT_EQ(build(a, options(FirstMask, u"MP3 directory"_s), current, t),
              current + u"/Foo-Bar - Live- Part 1/01 - Intro-.mp3"_s);
    EXPECT_EQ(build(a, options(FirstMask, u"Parent directory"_s), current, t),
              rips + u"/Foo-Bar - Live- Part 1/01 - Intro-.mp3"_s);
    // The root has no parent: its files stay in the root.
    EXPECT_EQ(build(a, options(u"%title"_s, u"Parent directory"_s), u"/"_s, t), u"/Intro-.mp3"_s);
    // A folder just below the root has the root as parent.
    EXPECT_EQ(build(a, options(u"%title"_s, u"Parent directory"_s), u"/tmp"_s, t), u"/Intro-.mp3"_s);

    NamingOptions o = options(FirstMask, tempFile(u"My Music"_s));
    o.replaceSpaces = SpaceReplacement::Underscores;
    EXPECT_EQ(build(a, o, current, t), tempFile(u"My Music/Foo-Bar_-_Live-_Part_1/01_-_Intro-.mp3"_s));

    o = options(uR"(%album\%track - %title)"_s, tempFile(u"the end"_s));
    o.textEffect = TextEffect::WordCapitals;
    EXPECT_EQ(build(album({}, u"the end.of-it"_s), o, current, track(u"o'neil"_s, u"02"_s)),
              tempFile(u"the end/The End.Of-It/02 - O'neil.mp3"_s));
}

TEST_F(NameBuilderPosix, BackslashInRawValuesIsAnOrdinaryCharacterButSlashIsNot)
{
    const QString dest = tempPath();
    EXPECT_EQ(build(album({}, {}, u"1999/2000"_s, u"A\\B"_s), options(u"%year %genre"_s, dest), dest, track({})),
              dest + u"/1999-2000 A\\B.mp3"_s);
}

// Whatever the tags say, every default mask places the file inside the chosen destination,
// with exactly the folder levels that the mask names.
TEST_F(NameBuilderPosix, NoTagValuePlacesAFileOutsideTheDestination)
{
    const QString dest = tempFile(u"dest"_s);
    ASSERT_TRUE(QDir().mkpath(dest));
    const QStringList hostile = {u".."_s, u"."_s, u"../.."_s, u"/etc/passwd"_s, u"..\\..\\x"_s, QString(u"a\u0000b"_s),
                                 u" .. "_s, u"%artist"_s, u"../%title"_s, u"\n..\n"_s, u"...."_s, u"~"_s};
    QStringList masks = defaultMasks();
    masks << uR"(%year\%genre\%track\%filename)"_s << uR"(%comment\%filenumber %title)"_s << u"%artist%album"_s;

    for (const QString &mask : masks) {
        for (const QString &value : hostile) {
            for (int effect = -1; effect < 4; ++effect) {
                NamingOptions o = options(mask, dest);
                o.textEffect = textEffectAt(effect);
                if (effect == 1)
                    o.replaceSpaces = SpaceReplacement::Points;
                const AlbumFields a = album(value, value, value, value, value);
                const QString path = build(a, o, tempPath(), track(value, value, 3, value));
                SCOPED_TRACE(qPrintable(mask + u" / "_s + value + u" -> "_s + path));

                EXPECT_TRUE(path.startsWith(dest + u'/'));
                EXPECT_EQ(QDir::cleanPath(path), path); // no "." or ".." level, no empty level
                const QString relative = path.mid(dest.size() + 1);
                EXPECT_EQ(relative.count(u'/'), mask.count(u'\\'));
                for (const QChar c : path)
                    EXPECT_NE(c.category(), QChar::Other_Control);
            }
        }
    }
}

TEST(NameBuilderLimits, AMegabyteMaskIsExpandedInOnePass)
{
    // The expansion once moved the rest of the text at every variable: 600 KB took half a
    // minute, this one minutes. The rename page and the CLI refuse such a mask before; the
    // builder itself must still finish.
    NamingOptions o = options(u"%track %title "_s.repeated(150'000) + u"x"_s, u"MP3 directory"_s);
    o.replaceSpaces = SpaceReplacement::Underscores;
    const QString built = buildNewFileName(album(u"A"_s, u"B"_s), o, u"/music"_s, track(u"T"_s),
                                           true, PathStyle::Posix);
    EXPECT_EQ(built.size(), QString(u"/music/"_s).size() + 150'000 * 5 + 1 + 4);
    EXPECT_TRUE(built.startsWith(u"/music/01_T_01_T_"_s));
    EXPECT_TRUE(built.endsWith(u"01_T_x.mp3"_s));
}
