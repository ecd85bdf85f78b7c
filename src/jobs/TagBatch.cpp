#include "jobs/TagBatch.h"

#include "foundation/Common.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

TagBatch::~TagBatch()
{
    finish();
}

bool TagBatch::begin(ChangeKind kind, const QString &folder, const QStringList &paths)
{
    // The records of all the files go to the disk together, before the first file is written;
    // what follows them (each file's notes) is flushed with the end.
    journal_.hold();
    const QString root = QFileInfo(folder).absoluteFilePath();
    QStringList roots {root};
    for (const QString &path : paths)
        if (const QString dir = QFileInfo(path).absolutePath(); !roots.contains(dir))
            roots.append(dir);
    if (!journal_.begin(kind, root, int(paths.size()), roots))
        return false;
    for (int k = 1; k <= paths.size(); ++k) {
        const QString &path = paths.at(k - 1);
        if (Common::fileExists(path) && !journal_.recordFile(k, path, path))
            return false;
    }
    if (!journal_.commit())
        return false;
    journal_.hold();
    return true;
}

void TagBatch::finish()
{
    journal_.finish();
}

QString TagBatch::journalFailureText(const QString &error)
{
    return u"Unable to write the undo journal. Disk full, read-only media or not enough rights."_s + u'\n'
        + JobJournal::folder() + u'\n' + error + u"\nNothing was written."_s;
}
