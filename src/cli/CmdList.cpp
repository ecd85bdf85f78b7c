// varnelt-cli list DIR
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "album/DirectoryListing.h"
#include "foundation/PrintableText.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

int runListCommand(const QStringList &args)
{
    if (args.size() != 1)
        return Cli::fail(u"list takes one folder: varnelt-cli list DIR"_s);
    const QString folder = args.first();
    if (!QFileInfo(folder).isDir())
        return Cli::fail(u"no such folder: %1"_s.arg(folder));
    Cli::installPresenter();

    Cli::Progress progress;
    bool readable = true;
    const ListingOptions options;
    const QStringList names = findMp3Files(folder, options.order, &readable);
    if (!readable) {
        Cli::out() << totalsFailureText(0) << Qt::endl;
        return Cli::fail(u"cannot read the folder: %1"_s.arg(folder), Cli::JobErrors);
    }
    const int total = int(names.size());
    const ListingResult result = listFiles(folder, names, options, [&](const ListedFile &file, int index, const QString &) {
        progress.show(index + 1, total, file.fileName);
    });
    progress.finish();
    for (const ListedFile &file : result.files) {
        const QStringList fields{printableText(file.fileName), file.size,      file.length,    file.bitrate,
                                 file.frequency, file.mode, file.tagState()};
        Cli::out() << fields.join(u'\t') << '\n';
    }
    Cli::out() << result.totalsLine << Qt::endl;
    for (const QString &warning : result.warnings)
        Cli::err() << "varnelt-cli: warning: " << printableText(warning) << Qt::endl;
    if (result.files.isEmpty())
        Cli::err() << "varnelt-cli: no MP3 files in " << folder << Qt::endl;
    return Cli::Success;
}
