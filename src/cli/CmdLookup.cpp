// varnelt-cli lookup DIR URL [--capture] | lookup DIR --from-text FILE|- | lookup DIR --search [--best],
// [--only NAME]... [--auto-order | --pairing position|auto|best] [--timeout S]
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/LookupRun.h"
#include "lookup/TrackOrdering.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

int runLookupCommand(const QStringList &args)
{
    LookupRunOptions options;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        QString error;
        if (parseLookupOption(args, i, options, error)) {
            if (!error.isEmpty())
                return Cli::fail(error);
        } else if (args.at(i).startsWith(u"--"_s)) {
            return Cli::fail(u"unknown option of lookup: %1"_s.arg(args.at(i)));
        } else {
            positional << args.at(i);
        }
    }
    if (options.search) {
        if (positional.size() != 1 || options.capture || !options.fromText.isEmpty())
            return Cli::fail(u"lookup --search takes a folder and no address: varnelt-cli lookup DIR --search"_s);
        options.folder = positional.at(0);
        if (!QFileInfo(options.folder).isDir())
            return Cli::fail(u"no such folder: %1"_s.arg(options.folder));
        Cli::installPresenter();
        return runSearchCommand(options);
    }
    if (options.best || !options.searchArtist.isEmpty() || !options.searchAlbum.isEmpty())
        return Cli::fail(u"--best, --artist and --album go with --search"_s);
    if (!options.fromText.isEmpty()) {
        if (positional.size() != 1 || options.capture)
            return Cli::fail(u"lookup --from-text takes a folder and no address: varnelt-cli lookup DIR --from-text FILE"_s);
    } else if (positional.size() != 2) {
        return Cli::fail(u"lookup takes a folder and an address: varnelt-cli lookup DIR URL"_s);
    }
    options.folder = positional.at(0);
    options.url = positional.value(1);
    if (!QFileInfo(options.folder).isDir())
        return Cli::fail(u"no such folder: %1"_s.arg(options.folder));
    Cli::installPresenter();

    LookupContext lookup;
    if (const QString problem = workingListFor(options, lookup.files); !problem.isEmpty())
        return Cli::fail(problem);
    int score = 0;
    QString failure;
    if (!runLookup(options, lookup, score, failure)) {
        Cli::err() << "varnelt-cli: " << failure << Qt::endl;
        return Cli::JobErrors;
    }
    QList<PairScore> scores;
    if (options.pairing == PairingChoice::Best)
        score = pairLookupByBestMatch(options.folder, lookup, scores);
    printLookupRecord(lookup.record, score, scores);
    return Cli::Success;
}
