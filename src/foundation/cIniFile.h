#pragma once
// Key-by-key access to INI files, used for the naming-mask files.
//
// Sections and keys are matched without regard to letter case; lines that are not the key being
// written (comments, other keys, unknown lines) are kept as they are. Files are UTF-8 with CR LF
// line ends and are replaced in one step (written beside and renamed), so a crash never leaves a
// half-written file. No operation throws: reads fall back to Default, writes report through
// LastReturnCode (non-zero for success, 0 for failure).
//
// Every operation reads the file once, and only a regular file of at most MaxFileSize bytes:
// a link to a device, a pipe, a folder or a larger file reads as missing and is never written,
// so a hostile mask file can neither hang the program nor be cut short by a write.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class cIniFile
{
public:
    /// The longest value a read returns; longer values come back cut to this length.
    static constexpr int MaxReadLength = 254;
    /// The largest INI file read or rewritten (4 MiB).
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    cIniFile() = default;

    /// The result of the last write: non-zero for success, 0 for failure.
    [[nodiscard]] long LastReturnCode() const { return lastReturnCode_; }

    /// The value a read returns when the file, section or key is missing.
    [[nodiscard]] QString Default() const { return default_; }
    void setDefault(const QString &sDefault) { default_ = sDefault; }

    /// The INI file.
    [[nodiscard]] QString Path() const { return path_; }
    void setPath(const QString &sPath) { path_ = sPath; }

    /// The key name.
    [[nodiscard]] QString Key() const { return key_; }
    void setKey(const QString &sKey) { key_ = sKey; }

    /// The section name.
    [[nodiscard]] QString Section() const { return section_; }
    void setSection(const QString &sSection) { section_ = sSection; }

    /// Reads Section / Key from Path, trimmed and cut to MaxReadLength; Default when missing.
    [[nodiscard]] QString Value() const;

    /// Removes every NUL from the caller's text, then writes it as Section / Key of Path,
    /// creating the file, section and key as needed; sets LastReturnCode. A value with blanks
    /// around it or in matching quotes is written inside quotes, so Value() reads it back whole.
    /// Names are taken without NULs and outer blanks; a name that would not read back as itself
    /// (a line break in it, a section with "]", a key with "=" or starting with ";" or "[") is
    /// refused: LastReturnCode 0 and the file as it was.
    void setValue(QString &sValue);
    /// Writes a value that is not the caller's variable (NULs removed all the same).
    void setValue(const QString &sValue);

    /// Writes each key / value pair into Section as setValue() would, one after the other, then
    /// removes every line of Section whose key is one of removals; all from one read and one
    /// write of the file, whatever the number of keys. One refused name refuses the whole batch.
    /// Nothing to change: no write, LastReturnCode 1.
    void setValues(const QList<std::pair<QString, QString>> &values, const QStringList &removals = {});

    /// Removes Key from Section; sets LastReturnCode.
    void DeleteValue();

    /// Removes Section with all its keys; sets LastReturnCode.
    void DeleteSection();

    /// Returns the names of all keys of Section, each followed by a NUL, cut to MaxReadLength;
    /// Default when the section is missing.
    [[nodiscard]] QString INISection() const;

    /// Every key of Section with its value as Value() would read it, from one read of the file;
    /// keyed by the key's case-folded name (the first of two spellings of one key counts, as for
    /// Value()). Empty when the file or section is missing.
    [[nodiscard]] QHash<QString, QString> SectionValues() const;

    /// Replaces the keys of Section with the "key=value" lines of the text (separated by NUL or
    /// line breaks); an empty text removes the section. Sets LastReturnCode.
    void setINISection(const QString &sValue);

private:
    QString path_;
    QString key_;
    QString section_;
    QString default_;
    long lastReturnCode_ = 0;
};
