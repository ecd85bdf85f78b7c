// Build step: writes "Masks/Default.ini" into a folder with the same function the program
// uses on its first start, so the installed masks and the built-in ones cannot differ.
#include "foundation/AppFolder.h"
#include "naming/MaskFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: write-default-masks FOLDER\n";
        return 2;
    }
    const QString folder = QDir(args.at(1)).absolutePath();
    QDir().mkpath(folder);
    AppFolder::setOverride(folder);
    QFile::remove(defaultMasksFile());
    QStringList problems = writeDefaultMasks();
    if (problems.isEmpty() && readMaskInfo(problems).size() != defaultMasks().size())
        problems << defaultMasksFile() + QStringLiteral(" does not hold the default masks");
    for (const QString &problem : problems)
        QTextStream(stderr) << "write-default-masks: " << problem << "\n";
    return problems.isEmpty() ? 0 : 1;
}
