// cIniFile over the bytes as an INI file: every read agrees with the one-pass section read,
// and a write changes the key it names and nothing that other keys read.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "foundation/cIniFile.h"

#include <QStringList>

int Fuzz::ini_file(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    // The first line names the section to look at; the rest is the file.
    const qsizetype lineEnd = input.indexOf('\n');
    const QString section = QString::fromUtf8(lineEnd < 0 ? QByteArray() : input.left(lineEnd)).trimmed();
    const QString path = FuzzSupport::writeFile(FuzzSupport::freshScratch(), QStringLiteral("a.ini"),
                                                lineEnd < 0 ? input : input.mid(lineEnd + 1));
    cIniFile ini;
    ini.setPath(path);
    ini.setSection(section);
    const QHash<QString, QString> values = ini.SectionValues();
    const QStringList keys = ini.INISection().split(QChar(u'\0'), Qt::SkipEmptyParts);
    for (const QString &key : keys) {
        ini.setKey(key);
        const QString value = ini.Value();
        FUZZ_CHECK(value.size() <= cIniFile::MaxReadLength);
        // The key list is cut at 254 characters: its last name may be cut too.
        if (values.contains(key.toCaseFolded()))
            FUZZ_CHECK(values.value(key.toCaseFolded()) == value);
    }

    ini.setKey(QStringLiteral("FuzzKey"));
    const QByteArray before = FuzzSupport::readFile(path);
    ini.setValue(QStringLiteral("written"));
    // A name that could not be read back is refused, and the file stays as it was.
    if (ini.LastReturnCode() == 0) {
        FUZZ_CHECK(FuzzSupport::readFile(path) == before);
        return 0;
    }
    FUZZ_CHECK(ini.Value() == QStringLiteral("written"));
    const QHash<QString, QString> after = ini.SectionValues();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.key() != QStringLiteral("fuzzkey"))
            FUZZ_CHECK(after.value(it.key()) == it.value());
    }
    ini.DeleteValue();
    ini.DeleteSection();
    return 0;
}
