// varnelt-cli: the program's core without windows.
#include "foundation/Version.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

namespace {
const char *const kUsage =
    "Usage: varnelt-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  list DIR            list the MP3 files of a folder with their audio properties\n"
    "  tags FILE           show a file's ID3v1 and ID3v2 fields and file information\n"
    "  masks               list the naming masks\n"
    "  rename DIR [opts]   rename, move and tag the album in DIR\n"
    "  --help              show this text\n"
    "  --version           show the version\n";
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Varnelt"));
    QCoreApplication::setApplicationName(QStringLiteral("Varnelt"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        err << kUsage;
        return 2;
    }
    const QString command = args.first();
    if (command == u"--help" || command == u"-h") {
        out << kUsage;
        return 0;
    }
    if (command == u"--version") {
        out << "varnelt-cli " << Version::number() << Qt::endl;
        return 0;
    }
    err << "varnelt-cli: unknown command '" << command << "' (see varnelt-cli --help)" << Qt::endl;
    return 2;
}
