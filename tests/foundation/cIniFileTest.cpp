// INI files: reads with defaults and limits, writes that keep every other line, deletions.

#include "support/TestEnv.h"

#include "foundation/cIniFile.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

class IniFile : public VarneltTest
{
protected:
    cIniFile ini(const QString &section, const QString &key, const QString &file = u"masks.ini"_s)
    {
        cIniFile f;
        f.setPath(tempFile(file));
        f.setSection(section);
        f.setKey(key);
        return f;
    }
    QByteArray text(const QString &file = u"masks.ini"_s) { return readAll(tempFile(file)); }
};

} // namespace

TEST_F(IniFile, StartsEmpty)
{
    const cIniFile f;
    EXPECT_EQ(f.LastReturnCode(), 0);
    EXPECT_TRUE(f.Path().isEmpty());
    EXPECT_TRUE(f.Key().isEmpty());
    EXPECT_TRUE(f.Section().isEmpty());
    EXPECT_TRUE(f.Default().isEmpty());
}

TEST_F(IniFile, MissingFileSectionOrKeyReadsAsDefault)
{
    cIniFile f = ini(u"User masks"_s, u"Mask1"_s);
    EXPECT_EQ(f.Value(), QString());
    f.setDefault(u"none"_s);
    EXPECT_EQ(f.Value(), u"none"_s);
    EXPECT_FALSE(QFileInfo::exists(f.Path())); // reading creates nothing

    writeFile(u"masks.ini"_s, "[Other]\r\nMask1=x\r\n[User masks]\r\nMask2=y\r\n");
    EXPECT_EQ(f.Value(), u"none"_s);
    f.setDefault(QString(300, u'd'));
    EXPECT_EQ(f.Value(), QString(254, u'd'));
    EXPECT_EQ(f.LastReturnCode(), 0); // reads leave the code alone
}

TEST_F(IniFile, ReadsMatchNamesWithoutLetterCaseAndTrimValues)
{
    writeFile(u"masks.ini"_s,
              "; masks of the user\n"
              "  [ user MASKS ]  \n"
              "  mask1 =   %artist - %title   \r\n"
              "Mask2=\"  quoted  \"\n"
              "Mask3=\xC3\x84rger\n"
              "[Next]\n"
              "Mask1=other\n");
    EXPECT_EQ(ini(u"User masks"_s, u"MASK1"_s).Value(), u"%artist - %title"_s);
    EXPECT_EQ(ini(u"user masks"_s, u"Mask2"_s).Value(), u"  quoted  "_s);
    EXPECT_EQ(ini(u"User masks"_s, u"Mask3"_s).Value(), u"Ärger"_s);
    EXPECT_EQ(ini(u"next"_s, u"mask1"_s).Value(), u"other"_s);
}

TEST_F(IniFile, WritingCreatesFileSectionAndKey)
{
    cIniFile f = ini(u"Default masks"_s, u"Mask1"_s);
    QString value = u"%artist - %album\\%track - %title"_s;
    f.setValue(value);
    EXPECT_NE(f.LastReturnCode(), 0);
    EXPECT_EQ(text(), "[Default masks]\r\nMask1=%artist - %album\\%track - %title\r\n");
    f.setKey(u"Mask2"_s);
    f.setValue(u"%artist - %title"_s);
    EXPECT_EQ(text(), "[Default masks]\r\nMask1=%artist - %album\\%track - %title\r\nMask2=%artist - %title\r\n");
    EXPECT_EQ(f.Value(), u"%artist - %title"_s);
}

TEST_F(IniFile, WritingKeepsEveryOtherLine)
{
    writeFile(u"masks.ini"_s,
              "; kept comment\r\n"
              "[User masks]\r\n"
              "MASK1 = old\r\n"
              "junk line without equals\r\n"
              "\r\n"
              "[Later]\r\n"
              "Key=v\r\n");
    cIniFile f = ini(u"user masks"_s, u"mask1"_s);
    f.setValue(u"new"_s);
    f.setKey(u"Mask2"_s);
    f.setValue(u"second"_s);
    f.setSection(u"Third"_s);
    f.setValue(u"3"_s);
    EXPECT_EQ(text(),
              "; kept comment\r\n"
              "[User masks]\r\n"
              "MASK1=new\r\n"
              "junk line without equals\r\n"
              "Mask2=second\r\n"
              "\r\n"
              "[Later]\r\n"
              "Key=v\r\n"
              "[Third]\r\n"
              "Mask2=3\r\n");
}

TEST_F(IniFile, NulsAreRemovedFromTheCallersValue)
{
    cIniFile f = ini(u"User masks"_s, u"Mask1"_s);
    QString value = u"%artist"_s + QChar(u'\0') + u" - %title"_s + QChar(u'\0');
    f.setValue(value);
    EXPECT_EQ(value, u"%artist - %title"_s);
    EXPECT_EQ(text(), "[User masks]\r\nMask1=%artist - %title\r\n");
    // A read takes them out of a file's value too, so reading and writing back changes nothing.
    writeFile(u"masks.ini"_s, QByteArray("[User masks]\r\nMask1=a\0\0b\r\n", 26));
    EXPECT_EQ(f.Value(), u"ab"_s);
}

TEST_F(IniFile, LineBreaksCannotForgeOtherEntries)
{
    cIniFile f = ini(u"User masks"_s, u"Mask1"_s);
    f.setValue(u"a\r\n[Evil]\nMask9=b"_s);
    EXPECT_EQ(ini(u"Evil"_s, u"Mask9"_s).Value(), QString());
    EXPECT_EQ(text().count("\r\n"), 2);
}

TEST_F(IniFile, LongValuesReadBackCutTo254)
{
    cIniFile f = ini(u"User masks"_s, u"Mask1"_s);
    const QString longValue = QString(100, u'a') + QString(200, u'b');
    f.setValue(longValue);
    EXPECT_TRUE(text().contains(longValue.toUtf8())); // stored whole
    EXPECT_EQ(f.Value(), longValue.left(254));
}

TEST_F(IniFile, DeleteValueAndDeleteSection)
{
    writeFile(u"masks.ini"_s, "[User masks]\r\nMask1=a\r\nMask2=b\r\n; note\r\n[Default masks]\r\nMask1=c\r\n");
    cIniFile f = ini(u"USER masks"_s, u"mask2"_s);
    f.setDefault(u"gone"_s);
    f.DeleteValue();
    EXPECT_NE(f.LastReturnCode(), 0);
    EXPECT_EQ(f.Value(), u"gone"_s);
    EXPECT_EQ(text(), "[User masks]\r\nMask1=a\r\n; note\r\n[Default masks]\r\nMask1=c\r\n");

    f.DeleteValue(); // already gone: fine, nothing changes
    EXPECT_NE(f.LastReturnCode(), 0);

    f.DeleteSection();
    EXPECT_NE(f.LastReturnCode(), 0);
    EXPECT_EQ(text(), "[Default masks]\r\nMask1=c\r\n");
    EXPECT_EQ(ini(u"Default masks"_s, u"Mask1"_s).Value(), u"c"_s);
}

TEST_F(IniFile, SectionKeyListIsNulSeparated)
{
    writeFile(u"masks.ini"_s, "[User masks]\r\nMask1=a\r\n;c=d\r\nMask3=b\r\n[X]\r\nY=1\r\n");
    cIniFile f = ini(u"user masks"_s, QString());
    const QChar nul(u'\0');
    EXPECT_EQ(f.INISection(), u"Mask1"_s + nul + u"Mask3"_s + nul);
    f.setSection(u"missing"_s);
    f.setDefault(u"dflt"_s);
    EXPECT_EQ(f.INISection(), u"dflt"_s);

    f.setSection(u"X"_s);
    f.setINISection(u"A=1"_s + nul + u"B=2"_s);
    EXPECT_EQ(text(), "[User masks]\r\nMask1=a\r\n;c=d\r\nMask3=b\r\n[X]\r\nA=1\r\nB=2\r\n");
    f.setINISection(QString());
    EXPECT_EQ(text(), "[User masks]\r\nMask1=a\r\n;c=d\r\nMask3=b\r\n");
}

TEST_F(IniFile, UnwritableFileAnswersZeroAndStaysIntact)
{
    writeFile(u"masks.ini"_s, "[User masks]\r\nMask1=a\r\n");
    QFile::setPermissions(tempFile(u"masks.ini"_s), QFile::ReadOwner | QFile::ReadGroup);
    cIniFile f = ini(u"User masks"_s, u"Mask1"_s);
    f.setValue(u"b"_s);
    EXPECT_EQ(f.LastReturnCode(), 0);
    EXPECT_EQ(f.Value(), u"a"_s);
    f.DeleteSection();
    EXPECT_EQ(f.LastReturnCode(), 0);
    EXPECT_EQ(text(), "[User masks]\r\nMask1=a\r\n");

    cIniFile nowhere = ini(u"S"_s, u"K"_s, u"no/such/folder/x.ini"_s);
    nowhere.setValue(u"v"_s);
    EXPECT_EQ(nowhere.LastReturnCode(), 0);
    cIniFile folder = ini(u"S"_s, u"K"_s, QString());
    folder.setPath(tempPath());
    folder.setValue(u"v"_s);
    EXPECT_EQ(folder.LastReturnCode(), 0);
}

TEST_F(IniFile, AWriteLeavesNoTemporaryFileBehind)
{
    cIniFile f = ini(u"S"_s, u"K"_s);
    for (int i = 0; i < 5; ++i)
        f.setValue(QString::number(i));
    EXPECT_EQ(QDir(tempPath()).entryList(QDir::Files), QStringList{u"masks.ini"_s});
    EXPECT_EQ(f.Value(), u"4"_s);
}

TEST_F(IniFile, AWriteKeepsPermissionsAndFollowsALink)
{
    writeFile(u"real/masks.ini"_s, "[S]\r\nK=1\r\n");
    const QString real = tempFile(u"real/masks.ini"_s);
    QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_TRUE(QFile::link(real, tempFile(u"masks.ini"_s)));
    cIniFile f = ini(u"S"_s, u"K"_s);
    f.setValue(u"2"_s);
    EXPECT_NE(f.LastReturnCode(), 0);
    EXPECT_TRUE(QFileInfo(tempFile(u"masks.ini"_s)).isSymLink());
    EXPECT_EQ(readAll(real), "[S]\r\nK=2\r\n");
    EXPECT_EQ(QFileInfo(real).permissions() & 0x7777,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
}

TEST_F(IniFile, OnlyARegularFileOfBoundedSizeIsReadOrWritten)
{
    writeFile(u"masks.ini"_s, "[S]\r\nk=1\r\nK=2\r\nMask2=\"two\"\r\n[T]\r\nx=3\r\n");
    const QHash<QString, QString> values = ini(u"s"_s, QString()).SectionValues();
    EXPECT_EQ(values, (QHash<QString, QString>{{u"k"_s, u"1"_s}, {u"mask2"_s, u"two"_s}}));
    EXPECT_TRUE(ini(u"none"_s, QString()).SectionValues().isEmpty());

    // Past the limit the file reads as missing, and a write would lose what was not read.
    QByteArray big = "[S]\r\nK=1\r\n;" + QByteArray(cIniFile::MaxFileSize, 'x') + "\r\n";
    writeFile(u"big.ini"_s, big);
    cIniFile f = ini(u"S"_s, u"K"_s, u"big.ini"_s);
    f.setDefault(u"none"_s);
    EXPECT_EQ(f.Value(), u"none"_s);
    f.setValue(u"2"_s);
    EXPECT_EQ(f.LastReturnCode(), 0);
    EXPECT_EQ(QFileInfo(f.Path()).size(), big.size());

    // A link to a device never ends a read; it is not a file to rewrite either.
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, tempFile(u"zero.ini"_s)));
    cIniFile zero = ini(u"S"_s, u"K"_s, u"zero.ini"_s);
    zero.setDefault(u"none"_s);
    EXPECT_EQ(zero.Value(), u"none"_s);
    EXPECT_EQ(zero.INISection(), u"none"_s);
    zero.setValue(u"2"_s);
    EXPECT_EQ(zero.LastReturnCode(), 0);
    EXPECT_TRUE(QFileInfo(zero.Path()).isSymLink());
}

TEST_F(IniFile, ValuesWithOuterBlanksOrQuotesReadBackWhole)
{
    // Reads trim and take one pair of quotes off: such values are written inside quotes.
    cIniFile f = ini(u"S"_s, u"K"_s);
    for (const QString &value : {u"'%title'"_s, u"\"%title\""_s, u" %track "_s, u"\"a'"_s, u"plain"_s}) {
        f.setValue(value);
        ASSERT_NE(f.LastReturnCode(), 0);
        EXPECT_EQ(f.Value(), value);
    }
    EXPECT_EQ(text(), "[S]\r\nK=plain\r\n"); // an ordinary value is written as it is
}

TEST_F(IniFile, NamesThatWouldNotReadBackAreRefusedOnWrite)
{
    // A header with a carriage return inside, as another tool may have left it.
    const QByteArray before = "[User\rmasks]\r\nMask1=a\r\n[User masks]\r\nMask1=b\r\n";
    writeFile(u"masks.ini"_s, before);
    const std::pair<QString, QString> names[] = {
        {u"User\nmasks"_s, u"Mask1"_s}, {u"User\rmasks"_s, u"Mask1"_s}, {u"a]b"_s, u"k"_s},
        {u"S"_s, u"a\r\nb"_s},          {u"S"_s, u"[Evil]"_s},          {u"S"_s, u"k=v"_s},
        {u"S"_s, u";k"_s},
    };
    for (const auto &[section, key] : names) {
        cIniFile f = ini(section, key);
        f.setValue(u"x"_s);
        EXPECT_EQ(f.LastReturnCode(), 0);
        f.setValues({{u"Mask2"_s, u"y"_s}, {key, u"x"_s}}); // one refused name refuses the batch
        EXPECT_EQ(f.LastReturnCode(), 0);
        f.setINISection(key + u"=x"_s);
        EXPECT_EQ(f.LastReturnCode() != 0, section == u"S"_s); // the hostile entry is left out
    }
    EXPECT_EQ(text(), before + "[S]\r\n");
    // Reads look a name up as given, so the file's own header is still found.
    EXPECT_EQ(ini(u"User\rmasks"_s, u"Mask1"_s).Value(), u"a"_s);
    EXPECT_EQ(ini(u"User masks"_s, u"Mask1"_s).Value(), u"b"_s);
}

TEST_F(IniFile, ABatchOfWritesAndRemovalsIsOneRewriteAsKeyByKeyWrites)
{
    writeFile(u"masks.ini"_s, "[S]\r\nmask1=old\r\nMask3=c\r\n; note\r\nMASK3=hidden\r\n\r\n[T]\r\nMask3=t\r\n");
    cIniFile f = ini(u"s"_s, QString());
    f.setValues({{u"Mask1"_s, u"a"_s}, {u"Mask2"_s, u" b "_s}, {u"Mask2"_s, u"b"_s}}, {u"mask3"_s});
    EXPECT_NE(f.LastReturnCode(), 0);
    EXPECT_EQ(text(), "[S]\r\nmask1=a\r\n; note\r\nMask2=b\r\n\r\n[T]\r\nMask3=t\r\n");

    cIniFile none = ini(u"S"_s, QString(), u"none.ini"_s);
    none.setValues({}, {u"Mask1"_s}); // nothing to change: no file is written
    EXPECT_NE(none.LastReturnCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(none.Path()));
}
