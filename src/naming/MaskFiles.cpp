#include "naming/MaskFiles.h"

#include "foundation/AppFolder.h"
#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "foundation/cIniFile.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

QString keyName(int number)
{
    return u"Mask"_s + QString::number(number);
}

QString readKey(const QString &file, const QString &section, int number)
{
    cIniFile ini;
    ini.setPath(file);
    ini.setSection(section);
    ini.setKey(keyName(number));
    return ini.Value();
}

using MaskValues = QList<std::pair<QString, QString>>;

// Writes the masks of one file, and removes the stale keys named, in one write of the file
// however many masks it holds; a file that cannot be written is reported once.
void writeMaskFile(const QString &file, const QString &section, const QStringList &masks,
                   const QStringList &staleKeys, QStringList &problems)
{
    MaskValues values;
    values.reserve(masks.size());
    for (qsizetype i = 0; i < masks.size(); ++i)
        values.append({keyName(int(i) + 1), masks.at(i)});
    cIniFile ini;
    ini.setPath(file);
    ini.setSection(section);
    ini.setValues(values, staleKeys);
    if (ini.LastReturnCode() == 0)
        problems << u"The mask file \""_s + file + u"\" could not be written."_s;
}

// Without the folder no mask file can be written: one message says so, rather than one per file.
bool ensureMasksFolder(QStringList &problems)
{
    const QString folder = masksFolder();
    if (Common::folderExists(folder) || Common::createFolderPath(folder))
        return true;
    problems << u"The folder \""_s + folder + u"\" could not be created."_s;
    return false;
}

// A mask file may be written when it exists or can be created as a new empty file.
bool fileWritable(const QString &file, bool createWhenMissing, QStringList &problems)
{
    if (Common::fileExists(file))
        return true;
    if (!createWhenMissing)
        return false;
    const int handle = Common::createNewFile(file);
    if (handle == -1) {
        problems << u"The mask file \""_s + file + u"\" could not be created."_s;
        return false;
    }
    Common::closeFileHandle(handle);
    return true;
}

// An installed program starts its user's masks from the ones it comes with, which a packager
// may have changed; when they cannot be copied the built-in defaults are written as usual.
void seedMasks(const QString &defaultIni)
{
    const QString seed = AppFolder::places().masksSeed;
    if (seed.isEmpty() || Common::fileExists(defaultIni))
        return;
    const QString source = Common::addBackslash(seed) + u"Default.ini"_s;
    const QString folder = masksFolder();
    if (!Common::fileExists(source) || !(Common::folderExists(folder) || Common::createFolderPath(folder)))
        return;
    // The copy is the user's own file from now on, whatever the installed one's mode.
    if (QFile::copy(source, defaultIni))
        QFile::setPermissions(defaultIni, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

// The masks of one file, read in one go: a file of many thousand masks is read once, not once
// per key.
void appendMasks(QList<MaskEntry> &entries, const QString &file, const QString &section, bool user)
{
    cIniFile ini;
    ini.setPath(file);
    ini.setSection(section);
    const QHash<QString, QString> values = ini.SectionValues();
    for (int i = 1;; ++i) {
        const QString value = values.value(keyName(i).toCaseFolded());
        if (value.isEmpty())
            break;
        if (value != u"0"_s)
            entries.append({value, user ? i : 0});
    }
}

} // namespace

QString maskTypeText(MaskType type)
{
    return type == MaskType::User ? u"User"_s : u"Default"_s;
}

QStringList defaultMasks()
{
    return {
        u"%artist - %album\\%track - %title"_s,
        u"%artist - %album\\%track - %artist - %title"_s,
        u"%artist - %album [%year]\\[%track] %title"_s,
        u"%artist - %album - %year\\%track - %title"_s,
        u"%artist\\%artist - %album\\%track - %title"_s,
        u"%artist\\%album\\%track - %title"_s,
        u"(%year) %album\\%artist - %track %title"_s,
        u"%artist - %album\\%artist - %track - %title"_s,
        u"%track - %artist - %album - %title"_s,
        u"%artist - %album - %track - %title"_s,
        u"%artist - %track - %title"_s,
        u"%artist - %title"_s,
    };
}

QString masksFolder()
{
    return Common::addBackslash(AppFolder::path()) + u"Masks"_s;
}

QString defaultMasksFile()
{
    return Common::addBackslash(masksFolder()) + u"Default.ini"_s;
}

QString userMasksFile()
{
    return Common::addBackslash(masksFolder()) + u"User.ini"_s;
}

QStringList writeDefaultMasks()
{
    QStringList problems;
    if (!ensureMasksFolder(problems))
        return problems;
    const QString file = defaultMasksFile();
    if (!fileWritable(file, true, problems))
        return problems;
    writeMaskFile(file, defaultMasksSection(), defaultMasks(), {}, problems);
    return problems;
}

QList<MaskEntry> readMaskInfo(QStringList &problems)
{
    const QString defaultIni = defaultMasksFile();
    seedMasks(defaultIni);
    if (!Common::fileExists(defaultIni) || readKey(defaultIni, defaultMasksSection(), 1).isEmpty())
        problems << writeDefaultMasks();

    QList<MaskEntry> entries;
    appendMasks(entries, userMasksFile(), userMasksSection(), true);
    const qsizetype userCount = entries.size();
    appendMasks(entries, defaultIni, defaultMasksSection(), false);

    // A default file that could not be written must not leave the program without masks.
    if (entries.size() == userCount && readKey(defaultIni, defaultMasksSection(), 1).isEmpty()) {
        for (const QString &mask : defaultMasks())
            entries.append({mask, 0});
    }
    return entries;
}

QStringList saveMasks(const QList<EditorMask> &entries)
{
    QStringList problems;
    if (!ensureMasksFolder(problems))
        return problems;
    const QString defaultIni = defaultMasksFile();
    const QString userIni = userMasksFile();
    const bool writeDefault = fileWritable(defaultIni, true, problems);
    const bool firstIsUser = !entries.isEmpty() && entries.first().type == MaskType::User;
    const bool writeUser = fileWritable(userIni, firstIsUser, problems);

    QStringList user;
    QStringList defaults;
    for (const EditorMask &entry : entries) {
        if (entry.text.isEmpty())
            continue;
        (entry.type == MaskType::User ? user : defaults).append(entry.text);
    }

    if (writeUser) {
        // The keys after the last mask saved held masks of an earlier list: they go in the same
        // write, every spelling of each, so none of them turns up again.
        cIniFile ini;
        ini.setPath(userIni);
        ini.setSection(userMasksSection());
        const QHash<QString, QString> left = ini.SectionValues();
        QStringList stale;
        for (int k = int(user.size()) + 1; !left.value(keyName(k).toCaseFolded()).isEmpty(); ++k)
            stale << keyName(k);
        writeMaskFile(userIni, userMasksSection(), user, stale, problems);
    }
    if (writeDefault)
        writeMaskFile(defaultIni, defaultMasksSection(), defaults, {}, problems);
    return problems;
}

QList<EditorMask> editorListFromEntries(const QList<MaskEntry> &entries)
{
    QList<EditorMask> list;
    for (const MaskEntry &entry : entries)
        list.append({entry.text, entry.isUser() ? MaskType::User : MaskType::Default});
    return list;
}

QList<MaskEntry> entriesFromEditorList(const QList<EditorMask> &entries)
{
    QList<MaskEntry> list;
    int u = 0;
    for (const EditorMask &entry : entries) {
        if (entry.text.isEmpty())
            continue;
        list.append({entry.text, entry.type == MaskType::User ? ++u : 0});
    }
    return list;
}

MaskChoice chooseRememberedMask(const QList<MaskEntry> &entries, const QString &lastMask)
{
    MaskChoice choice;
    if (!lastMask.isEmpty() && !Basic::isNumeric(lastMask)) {
        choice.text = lastMask;
        for (int i = 0; i < entries.size(); ++i) {
            if (entries[i].text == lastMask) {
                choice.index = i;
                break;
            }
        }
        return choice;
    }
    if (!entries.isEmpty()) {
        choice.index = 0;
        choice.text = entries.first().text;
    }
    return choice;
}
