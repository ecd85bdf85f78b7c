#include "naming/MaskFiles.h"
#include "foundation/AppFolder.h"
#include "foundation/cIniFile.h"
#include "support/TestEnv.h"
#include "naming/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString readMask(const QString &file, const QString &section, int number)
{
    cIniFile ini;
    ini.setPath(file);
    ini.setSection(section);
    ini.setKey(u"Mask"_s + QString::number(number));
    return ini.Value();
}

void writeMask(const QString &file, const QString &section, int number, const QString &value)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    cIniFile ini;
    ini.setPath(file);
    ini.setSection(section);
    ini.setKey(u"Mask"_s + QString::number(number));
    ini.setValue(value);
    ASSERT_NE(ini.LastReturnCode(), 0);
}

QStringList texts(const QList<MaskEntry> &entries)
{
    QStringList list;
    for (const MaskEntry &e : entries)
        list << e.text;
    return list;
}

// As the windows and the CLI do: the mask files hand back their failures, the caller shows them.
QList<MaskEntry> readMasks()
{
    QStringList problems;
    const QList<MaskEntry> entries = readMaskInfo(problems);
    for (const QString &problem : problems)
        Msg::showError(problem);
    return entries;
}

void save(const QList<EditorMask> &entries)
{
    for (const QString &problem : saveMasks(entries))
        Msg::showError(problem);
}

} // namespace

class MaskFilesTest : public VarneltTest
{
protected:
    QString userIni() const { return appFolder() + u"/Masks/User.ini"_s; }
    QString defaultIni() const { return appFolder() + u"/Masks/Default.ini"_s; }
    void writeUser(int number, const QString &value) const { writeMask(userIni(), u"User masks"_s, number, value); }
};

TEST_F(MaskFilesTest, FirstStartWritesTheTwelveDefaultsAndNoUserFile)
{
    ASSERT_FALSE(QDir(appFolder() + u"/Masks"_s).exists());
    const QList<MaskEntry> entries = readMasks();

    EXPECT_EQ(defaultMasksFile(), defaultIni());
    EXPECT_EQ(userMasksFile(), userIni());
    EXPECT_TRUE(QFile::exists(defaultIni()));
    EXPECT_FALSE(QFile::exists(userIni()));
    ASSERT_EQ(entries.size(), 12);
    for (const MaskEntry &e : entries)
        EXPECT_EQ(e.itemValue, 0);
    EXPECT_EQ(entries.first().text, uR"(%artist - %album\%track - %title)"_s);
    EXPECT_EQ(entries[6].text, uR"((%year) %album\%artist - %track %title)"_s);
    EXPECT_EQ(entries.last().text, u"%artist - %title"_s);
    EXPECT_EQ(answers->count(), 0);

    // The file itself: one section, twelve keys in order, CR LF line ends, masks kept verbatim.
    const QString content = QString::fromUtf8(readAll(defaultIni()));
    QStringList expected{u"[Default masks]"_s};
    const QStringList masks = defaultMasks();
    for (int i = 0; i < masks.size(); ++i)
        expected << u"Mask"_s + QString::number(i + 1) + u'=' + masks[i];
    EXPECT_EQ(content.trimmed().split(u"\r\n"_s), expected);
}

TEST_F(MaskFilesTest, DefaultFileWithEmptyFirstMaskIsRefilled)
{
    writeMask(defaultIni(), u"Default masks"_s, 2, u"%title only"_s);
    writeMask(defaultIni(), u"Default masks"_s, 14, u"%track kept"_s);
    const QList<MaskEntry> entries = readMasks();
    EXPECT_EQ(texts(entries), defaultMasks()); // the list still ends at the missing "Mask13"
    EXPECT_EQ(readMask(defaultIni(), u"Default masks"_s, 2), defaultMasks()[1]);
    EXPECT_EQ(readMask(defaultIni(), u"Default masks"_s, 14), u"%track kept"_s); // later keys stay
}

TEST_F(MaskFilesTest, ExistingDefaultFileIsReadAsItIs)
{
    writeMask(defaultIni(), u"Default masks"_s, 1, u"%title"_s);
    writeMask(defaultIni(), u"Default masks"_s, 2, u"%track"_s);
    EXPECT_EQ(texts(readMasks()), QStringList({u"%title"_s, u"%track"_s}));
}

TEST_F(MaskFilesTest, UserMasksComeFirstWithTheirKeyNumbers)
{
    writeUser(1, u"%track %title"_s);
    writeUser(2, u"0"_s);
    writeUser(3, u"%title"_s);
    const QList<MaskEntry> entries = readMasks();
    ASSERT_EQ(entries.size(), 14);
    EXPECT_EQ(entries[0], (MaskEntry{u"%track %title"_s, 1}));
    EXPECT_EQ(entries[1], (MaskEntry{u"%title"_s, 3}));
    EXPECT_TRUE(entries[1].isUser());
    EXPECT_FALSE(entries[2].isUser());
}

TEST_F(MaskFilesTest, GapInUserKeysEndsTheList)
{
    writeUser(1, u"%track one"_s);
    writeUser(3, u"%track three"_s);
    const QList<MaskEntry> entries = readMasks();
    ASSERT_EQ(entries.size(), 13);
    EXPECT_EQ(entries[0], (MaskEntry{u"%track one"_s, 1}));
    EXPECT_EQ(entries[1].itemValue, 0);
}

TEST_F(MaskFilesTest, SavingRenumbersAndRemovesStaleUserKeys)
{
    (void)readMasks();
    for (int i = 1; i <= 5; ++i)
        writeUser(i, u"%track old "_s + QString::number(i));
    QFile file(userIni());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("MASK5=%track hidden\r\n"); // a second spelling of a stale key goes too
    file.close();

    QList<EditorMask> list{{u"%title b"_s, MaskType::User}, {u"%title a"_s, MaskType::User},
                           {u"%title c"_s, MaskType::User}};
    QStringList defaults = defaultMasks();
    std::swap(defaults[0], defaults[1]); // default masks can be reordered
    for (const QString &d : defaults)
        list.append({d, MaskType::Default});
    save(list);

    EXPECT_EQ(answers->count(), 0);
    EXPECT_EQ(readMask(userIni(), u"User masks"_s, 1), u"%title b"_s);
    EXPECT_EQ(readMask(userIni(), u"User masks"_s, 3), u"%title c"_s);
    EXPECT_FALSE(QString::fromUtf8(readAll(userIni())).contains(u"Mask4"_s, Qt::CaseInsensitive));
    EXPECT_FALSE(QString::fromUtf8(readAll(userIni())).contains(u"Mask5"_s, Qt::CaseInsensitive));
    EXPECT_EQ(readMask(defaultIni(), u"Default masks"_s, 1), defaultMasks()[1]);

    const QList<MaskEntry> reloaded = readMasks();
    EXPECT_EQ(reloaded, entriesFromEditorList(list));
    EXPECT_EQ(editorListFromEntries(reloaded), list);
}

TEST_F(MaskFilesTest, SavingWithoutUserMasksEmptiesTheUserSection)
{
    writeUser(1, u"%track x"_s);
    writeUser(2, u"%track y"_s);
    QList<EditorMask> list;
    for (const QString &d : defaultMasks())
        list.append({d, MaskType::Default});
    save(list);
    EXPECT_TRUE(readMask(userIni(), u"User masks"_s, 1).isEmpty());
    EXPECT_TRUE(readMask(userIni(), u"User masks"_s, 2).isEmpty());
    EXPECT_EQ(texts(readMasks()), defaultMasks());
}

TEST_F(MaskFilesTest, NoUserFileIsCreatedWhenTheListStartsWithADefault)
{
    save({{u"%title"_s, MaskType::Default}});
    EXPECT_FALSE(QFile::exists(userIni()));
    EXPECT_EQ(readMask(defaultIni(), u"Default masks"_s, 1), u"%title"_s);

    save({{u"%track mine"_s, MaskType::User}, {u"%title"_s, MaskType::Default}});
    EXPECT_EQ(readMask(userIni(), u"User masks"_s, 1), u"%track mine"_s);
}

TEST_F(MaskFilesTest, EntryWithoutTextDoesNotHideTheMasksAfterIt)
{
    const QList<EditorMask> list{{QString(), MaskType::User}, {u"%track kept"_s, MaskType::User},
                                 {u"%title"_s, MaskType::Default}};
    save(list);
    const QList<MaskEntry> reloaded = readMasks();
    EXPECT_EQ(reloaded, (QList<MaskEntry>{{u"%track kept"_s, 1}, {u"%title"_s, 0}}));
    EXPECT_EQ(entriesFromEditorList(list), reloaded);
}

TEST_F(MaskFilesTest, UnwritableMasksFolderIsReportedAndDefaultsStillOffered)
{
    // A file where the folder should be: neither the folder nor the mask files can be created.
    writeFile(u"app/Masks"_s, "not a folder");
    const QList<MaskEntry> entries = readMasks();
    EXPECT_EQ(texts(entries), defaultMasks());
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().first().title, u"Error"_s);
    EXPECT_EQ(answers->messages().first().icon, Msg::Icon::Critical);
    EXPECT_TRUE(answers->lastText().contains(appFolder() + u"/Masks"_s));

    answers->clear();
    save({{u"%track mine"_s, MaskType::User}});
    EXPECT_EQ(answers->count(), 1); // the user's masks were not saved, and the user is told so
    EXPECT_EQ(readAll(appFolder() + u"/Masks"_s), QByteArray("not a folder"));
}

TEST(MaskChoice, RememberedMaskPicksItsEntry)
{
    const QList<MaskEntry> entries{{u"%track mine"_s, 1}, {u"%title"_s, 0}};
    MaskChoice c = chooseRememberedMask(entries, u"%title"_s);
    EXPECT_EQ(c.index, 1);
    EXPECT_EQ(c.text, u"%title"_s);
    // A mask that no entry holds stands as typed text.
    c = chooseRememberedMask(entries, u"%artist %title"_s);
    EXPECT_EQ(c.index, -1);
    EXPECT_EQ(c.text, u"%artist %title"_s);
    // A numeric or empty remembered text is ignored: the first entry.
    for (const QString &ignored : {u"3"_s, u" 3 "_s, QString()}) {
        c = chooseRememberedMask(entries, ignored);
        EXPECT_EQ(c.index, 0);
        EXPECT_EQ(c.text, u"%track mine"_s);
    }
    EXPECT_EQ(chooseRememberedMask({}, u"3"_s).index, -1);
    EXPECT_EQ(maskTypeText(MaskType::User), u"User"_s);
    EXPECT_EQ(maskTypeText(MaskType::Default), u"Default"_s);
}

TEST_F(MaskFilesTest, InstalledProgramStartsTheUsersMasksFromTheOnesItComesWith)
{
    // An installed tree: the program in bin, its masks in share/varnelt/Masks; the user's
    // masks go to the per-user data folder and nothing is written beside the program.
    const QString bin = tempFile(u"prefix/bin"_s);
    QDir().mkpath(bin);
    const QString seed = tempFile(u"prefix/share/varnelt/Masks/Default.ini"_s);
    writeMask(seed, u"Default masks"_s, 1, u"%artist\\%title"_s);
    writeMask(seed, u"Default masks"_s, 2, u"%title"_s);
    QFile::setPermissions(seed, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    AppFolder::setOverride(bin);
    const QString userDefault = tempFile(u"userdata/Masks/Default.ini"_s);
    EXPECT_EQ(defaultMasksFile(), userDefault);

    EXPECT_EQ(texts(readMasks()), QStringList({u"%artist\\%title"_s, u"%title"_s}));
    EXPECT_EQ(readAll(userDefault), readAll(seed));
    EXPECT_TRUE(QFileInfo(userDefault).permissions() & QFile::WriteOwner);
    EXPECT_FALSE(QFileInfo::exists(bin + u"/Masks"_s));
    // The editor saves into the user's copy; the installed file stays as it came.
    const QByteArray installed = readAll(seed);
    save({{u"%track mine"_s, MaskType::User}, {u"%title"_s, MaskType::Default}});
    EXPECT_EQ(readMask(userDefault, u"Default masks"_s, 1), u"%title"_s);
    EXPECT_EQ(readMask(tempFile(u"userdata/Masks/User.ini"_s), u"User masks"_s, 1), u"%track mine"_s);
    EXPECT_EQ(readAll(seed), installed);

    // A damaged installed file (no "Mask1") gives the built-in defaults in the user's file.
    QFile::remove(userDefault);
    QFile::remove(tempFile(u"userdata/Masks/User.ini"_s));
    QFile::setPermissions(seed, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(QFile(seed).open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_EQ(texts(readMasks()), defaultMasks());
    EXPECT_EQ(readMask(userDefault, u"Default masks"_s, 12), u"%artist - %title"_s);
    EXPECT_EQ(answers->count(), 0);
}
