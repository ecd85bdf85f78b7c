// INI files held as their lines: a write changes, adds or removes only the lines it must and
// keeps every other line (comments, blank lines, unknown text) as it was.

#include "foundation/cIniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct IniLines
{
    QStringList lines;
    bool readable = true; // false when the file exists but could not be read
};

IniLines load(const QString &path)
{
    IniLines ini;
    // The check follows links: a link to /dev/zero or to a pipe would never end a read.
    const QFileInfo info(path);
    if (!info.exists())
        return ini;
    QFile file(path);
    if (!info.isFile() || info.size() > cIniFile::MaxFileSize || !file.open(QIODevice::ReadOnly)) {
        ini.readable = false;
        return ini;
    }
    // Only as much as the file holds is asked for (a read of the limit would take 4 MiB of
    // memory for every small file); one byte more tells whether it grew since it was looked at.
    QByteArray bytes = file.read(info.size() + 1);
    if (bytes.size() > info.size())
        bytes += file.read(cIniFile::MaxFileSize + 1 - bytes.size());
    if (bytes.size() > cIniFile::MaxFileSize) {
        ini.readable = false;
        return ini;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    // Files written by older tools are in a single-byte code page; keep them readable.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.isEmpty())
        return ini;
    ini.lines = text.split(u'\n');
    if (ini.lines.last().isEmpty())
        ini.lines.removeLast();
    for (QString &line : ini.lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return ini;
}

bool save(const QString &path, const QStringList &lines)
{
    // A read-only file stays as it is, whoever runs the program.
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || !info.permissions().testFlag(QFileDevice::WriteOwner)))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// The name of a "[name]" line, or nothing when the line is no section header.
std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<QString> keyName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(u';'))
        return std::nullopt;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    return t.left(eq).trimmed();
}

QString valueOf(const QString &line)
{
    // A write removes NULs from a value and turns a carriage return inside it into a blank: a read
    // does too, so what was read is written back as it was.
    QString value = line.mid(line.indexOf(u'=') + 1);
    value.remove(QChar(u'\0'));
    value.replace(u'\r', u' ');
    value = value.trimmed();
    // A value in matching quotes is read without them.
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

// The lines [header, end) of the first section with that name; header is -1 when it is missing.
struct Span
{
    qsizetype header = -1;
    qsizetype end = -1;
};

Span findSection(const QStringList &lines, const QString &section)
{
    Span span;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines.at(i));
        if (!name)
            continue;
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (name->compare(section, Qt::CaseInsensitive) == 0)
            span.header = i;
    }
    if (span.header >= 0)
        span.end = lines.size();
    return span;
}

qsizetype findKey(const QStringList &lines, const Span &span, const QString &key)
{
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const auto name = keyName(lines.at(i));
        if (name && name->compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// Line breaks inside a name or value would split its line and forge other entries.
QString oneLine(QString text)
{
    text.remove(QChar(u'\0'));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// A read trims the value and takes off one pair of matching quotes: a value that would lose
// its own blanks or quotes that way is written inside a pair of quotes, so it reads back whole.
QString storedForm(const QString &value)
{
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front();
    if (!quoted && value.trimmed() == value)
        return value;
    const QChar quote = quoted && value.front() == u'"' ? u'\'' : u'"';
    return quote + value + quote;
}

// A section or key is looked up without its NULs and outer blanks, as a write names it (a line
// break inside a name is kept: a file's own line may hold a lone carriage return).
QString cleanName(const QString &name)
{
    QString clean = name;
    clean.remove(QChar(u'\0'));
    return clean.trimmed();
}

// A write refuses a name that a read could not find again or that would change the file's
// structure: a line break would split its line, a "]" end the header early; a key with "=" or
// that starts as a comment or a header would read as another key, a comment or a section.
bool writableSection(const QString &section)
{
    if (section.contains(u'\r') || section.contains(u'\n'))
        return false;
    const auto name = sectionName(u'[' + section + u']');
    return name && *name == section;
}

bool writableKey(const QString &key)
{
    if (key.isEmpty() || key.contains(u'\r') || key.contains(u'\n'))
        return false;
    const QString line = key + u"=x"_s;
    if (sectionName(line))
        return false;
    const auto name = keyName(line);
    return name && *name == key;
}

QString cut(const QString &text)
{
    return text.left(cIniFile::MaxReadLength);
}

} // namespace

QString cIniFile::Value() const
{
    const IniLines ini = load(path_);
    const Span span = findSection(ini.lines, cleanName(section_));
    if (span.header < 0)
        return cut(default_);
    const qsizetype at = findKey(ini.lines, span, cleanName(key_));
    return at < 0 ? cut(default_) : cut(valueOf(ini.lines.at(at)));
}

void cIniFile::setValue(QString &sValue)
{
    sValue.remove(QChar(u'\0'));
    setValues({{key_, sValue}});
}

void cIniFile::setValue(const QString &sValue)
{
    QString copy = sValue;
    setValue(copy);
}

void cIniFile::setValues(const QList<std::pair<QString, QString>> &values, const QStringList &removals)
{
    lastReturnCode_ = 0;
    const QString section = cleanName(section_);
    if (path_.isEmpty() || !writableSection(section))
        return;
    QList<std::pair<QString, QString>> entries;
    entries.reserve(values.size());
    for (const auto &[key, value] : values) {
        const QString name = cleanName(key);
        if (!writableKey(name))
            return;
        QString text = value;
        text.remove(QChar(u'\0'));
        entries.append({name, storedForm(oneLine(text))});
    }
    IniLines ini = load(path_);
    if (!ini.readable)
        return;

    Span span = findSection(ini.lines, section);
    if (span.header < 0) {
        if (entries.isEmpty()) {
            lastReturnCode_ = 1; // nothing to remove
            return;
        }
        ini.lines.append(u'[' + section + u']');
        span = {ini.lines.size() - 1, ini.lines.size()};
    }
    // The section's keys by name, the first of two spellings of one key, as findKey() finds them.
    QHash<QString, qsizetype> existing;
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        if (const auto name = keyName(ini.lines.at(i))) {
            if (!existing.contains(name->toCaseFolded()))
                existing.insert(name->toCaseFolded(), i);
        }
    }
    // New keys follow the section's last non-blank line, before the blank lines that separate
    // it from the next section, in the order they are written.
    qsizetype insertAt = span.end;
    while (insertAt - 1 > span.header && ini.lines.at(insertAt - 1).trimmed().isEmpty())
        --insertAt;
    QStringList added;
    QHash<QString, qsizetype> addedAt;
    bool changed = false;
    for (const auto &[name, value] : entries) {
        const QString folded = name.toCaseFolded();
        if (const auto at = existing.constFind(folded); at != existing.cend()) {
            // The key keeps the spelling it already has in the file.
            QString &line = ini.lines[*at];
            line = *keyName(line) + u'=' + value;
        } else if (const auto pending = addedAt.constFind(folded); pending != addedAt.cend()) {
            QString &line = added[*pending];
            line = *keyName(line) + u'=' + value;
        } else {
            addedAt.insert(folded, added.size());
            added.append(name + u'=' + value);
        }
        changed = true;
    }

    QSet<QString> removed;
    for (const QString &key : removals)
        removed.insert(cleanName(key).toCaseFolded());
    const auto keep = [&removed](const QString &line) {
        const auto name = keyName(line);
        return !name || !removed.contains(name->toCaseFolded());
    };
    QStringList lines;
    lines.reserve(ini.lines.size() + added.size());
    for (qsizetype i = 0; i <= ini.lines.size(); ++i) {
        if (i == insertAt) {
            for (const QString &line : std::as_const(added)) {
                if (keep(line))
                    lines.append(line);
            }
        }
        if (i == ini.lines.size())
            break;
        const QString &line = ini.lines.at(i);
        if (i > span.header && i < span.end && !keep(line)) {
            changed = true;
            continue;
        }
        lines.append(line);
    }
    if (!changed) {
        lastReturnCode_ = 1;
        return;
    }
    lastReturnCode_ = save(path_, lines) ? 1 : 0;
}

void cIniFile::DeleteValue()
{
    IniLines ini = load(path_);
    if (path_.isEmpty() || !ini.readable) {
        lastReturnCode_ = 0;
        return;
    }
    const Span span = findSection(ini.lines, cleanName(section_));
    const qsizetype at = span.header < 0 ? -1 : findKey(ini.lines, span, cleanName(key_));
    if (at < 0) {
        lastReturnCode_ = 1; // nothing to remove
        return;
    }
    ini.lines.removeAt(at);
    lastReturnCode_ = save(path_, ini.lines) ? 1 : 0;
}

void cIniFile::DeleteSection()
{
    IniLines ini = load(path_);
    if (path_.isEmpty() || !ini.readable) {
        lastReturnCode_ = 0;
        return;
    }
    const Span span = findSection(ini.lines, cleanName(section_));
    if (span.header < 0) {
        lastReturnCode_ = 1;
        return;
    }
    ini.lines.remove(span.header, span.end - span.header);
    lastReturnCode_ = save(path_, ini.lines) ? 1 : 0;
}

QString cIniFile::INISection() const
{
    const IniLines ini = load(path_);
    const Span span = findSection(ini.lines, cleanName(section_));
    if (span.header < 0)
        return cut(default_);
    QString names;
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        if (const auto name = keyName(ini.lines.at(i)))
            names += *name + QChar(u'\0');
    }
    return cut(names);
}

QHash<QString, QString> cIniFile::SectionValues() const
{
    const IniLines ini = load(path_);
    const Span span = findSection(ini.lines, cleanName(section_));
    QHash<QString, QString> values;
    if (span.header < 0)
        return values;
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const auto name = keyName(ini.lines.at(i));
        if (name && !values.contains(name->toCaseFolded()))
            values.insert(name->toCaseFolded(), cut(valueOf(ini.lines.at(i))));
    }
    return values;
}

void cIniFile::setINISection(const QString &sValue)
{
    IniLines ini = load(path_);
    const QString section = cleanName(section_);
    if (path_.isEmpty() || !ini.readable || !writableSection(section)) {
        lastReturnCode_ = 0;
        return;
    }
    const Span span = findSection(ini.lines, section);
    qsizetype insertAt = ini.lines.size();
    if (span.header >= 0) {
        ini.lines.remove(span.header, span.end - span.header);
        insertAt = span.header;
    }
    QStringList entries;
    for (const QString &entry : sValue.split(QRegularExpression(u"[\\x{0}\\r\\n]"_s), Qt::SkipEmptyParts)) {
        // Entries that would read as a comment, a header or another key are left out.
        const auto key = keyName(entry);
        if (key && writableKey(*key))
            entries.append(entry.trimmed());
    }
    if (!sValue.isEmpty()) {
        entries.prepend(u'[' + section + u']');
        for (qsizetype i = 0; i < entries.size(); ++i)
            ini.lines.insert(insertAt + i, entries.at(i));
    }
    lastReturnCode_ = save(path_, ini.lines) ? 1 : 0;
}
