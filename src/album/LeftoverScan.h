#pragma once
// What an interrupted run (a crash, a kill, a power cut) can leave in a folder, found without
// touching anything: temporary copies (the recognisable ".vnt-....tmp" names, and the
// ".<name>.mp3.XXXXXX" copies of earlier versions) and files or folders left under their
// letter-case scratch name ("..._VARNELT"). The directory scan shows them as warning lines;
// the rename job puts them right (jobs/CrashLeftovers.h).

#include <QList>
#include <QString>

struct CrashLeftover
{
    enum class Kind {
        TemporaryCopy,     ///< a temporary file of the program
        CaseRenamedFile,   ///< a file under its letter-case scratch name
        CaseRenamedFolder, ///< a folder under its letter-case scratch name
    };
    Kind kind = Kind::TemporaryCopy;
    QString path;     ///< the leftover itself
    QString realPath; ///< the file it was made for, or the name it is to get back; empty when unknown
};

/// The leftovers in a folder (not below it), read-only.
[[nodiscard]] QList<CrashLeftover> findCrashLeftovers(const QString &folder);

/// The warning the directory scan shows for a leftover.
[[nodiscard]] QString leftoverWarningText(const CrashLeftover &leftover);

/// The suffix of a letter-case scratch name.
[[nodiscard]] const QString &caseRenameSuffix();

/// The file name part of a path.
[[nodiscard]] QString leftoverName(const QString &path);
