#include "cli/LookupRun.h"

#include "cli/CliSupport.h"
#include "cli/EngineModule.h"
#include "foundation/Common.h"
#include "foundation/MessageGateway.h"
#include "album/DirectoryListing.h"
#include "lookup/TrackListReader.h"
#include "lookup/TrackOrdering.h"

#include <QFile>

#include <QFileInfo>
#include <QLoggingCategory>
#include <unistd.h>

using namespace Qt::StringLiterals;

bool parseLookupOption(const QStringList &args, int &i, LookupRunOptions &options, QString &error)
{
    if (parseSearchOption(args, i, options, error))
        return true;
    const QString &arg = args.at(i);
    if (arg == u"--auto-order") {
        options.autoOrder = true;
        options.pairing = PairingChoice::Auto;
        return true;
    }
    if (arg == u"--capture") {
        options.capture = true;
        return true;
    }
    if (arg != u"--only" && arg != u"--timeout" && arg != u"--from-text")
        return false;
    if (i + 1 >= args.size()) {
        error = u"%1 needs a value"_s.arg(arg);
        return true;
    }
    const QString value = args.at(++i);
    if (arg == u"--only") {
        options.only << value;
    } else if (arg == u"--from-text") {
        options.fromText = value;
        if (value.isEmpty())
            error = u"--from-text needs a file, or - for standard input"_s;
    } else {
        bool ok = false;
        options.timeoutSeconds = value.toInt(&ok);
        if (!ok || options.timeoutSeconds < 1 || options.timeoutSeconds > 3600)
            error = u"--timeout takes seconds from 1 to 3600, not '%1'"_s.arg(value);
    }
    return true;
}

QString workingListFor(const LookupRunOptions &options, WorkingList &files)
{
    files.fileNames = findMp3Files(options.folder, ListingOrder::FileName);
    files.onlySelected = !options.only.isEmpty();
    for (const QString &name : options.only) {
        if (!files.fileNames.contains(name))
            return u"--only: no MP3 file '%1' in %2"_s.arg(name, options.folder);
    }
    for (int i = 0; i < files.fileNames.size(); ++i) {
        // Without --only the first file is the selected one, whose tags give the search text.
        const bool selected = files.onlySelected ? options.only.contains(files.fileNames.at(i)) : i == 0;
        files.selected.append(selected);
    }
    return {};
}

void prepareEngineEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    // The engine's start-up report is no message for a user of the command.
    QLoggingCategory::setFilterRules(u"qt.webenginecontext.info=false"_s);
}


bool readPastedText(const QString &file, QString &text, QString &error)
{
    QFile in;
    const bool opened = file == u"-" ? in.open(stdin, QIODevice::ReadOnly) : (in.setFileName(file), in.open(QIODevice::ReadOnly));
    if (!opened) {
        error = u"cannot read %1: %2"_s.arg(file, in.errorString());
        return false;
    }
    // Bounded: the reader looks at no more characters than this anyway.
    const QByteArray bytes = in.read(qint64(TrackList::MaxTextLength) * 4);
    text = TrackList::textFromBytes(bytes);
    return true;
}

bool runLookup(const LookupRunOptions &options, LookupContext &lookup, int &score, QString &failure)
{
    lookup.sites = SiteTable::fromSettings();
    lookup.search = SearchInput::forSelectedFile(Common::addBackslash(QFileInfo(options.folder).absoluteFilePath()),
                                                 lookup.files);
    if (!options.fromText.isEmpty()) {
        QString text;
        if (!readPastedText(options.fromText, text, failure))
            return false;
        if (!TrackList::captureText(text, lookup)) {
            failure = TrackList::noTrackListInText();
            return false;
        }
    } else if (options.capture) {
        const auto capture = reinterpret_cast<EngineModule::CaptureTrackList>(
            EngineModule::resolve("varneltCaptureTrackList", &failure));
        if (!capture || !capture(lookup, options.url, options.timeoutSeconds, failure))
            return false;
    } else {
        const auto drive = reinterpret_cast<EngineModule::DriveLookup>(
            EngineModule::resolve("varneltDriveLookup", &failure));
        if (!drive)
            return false;
        if (!drive(lookup, options.url, options.timeoutSeconds, failure)) {
            if (failure.isEmpty())
                failure = u"no album page was recognised within %1 s"_s.arg(options.timeoutSeconds);
            return false;
        }
    }
    for (const QString &note : lookup.record.notes)
        Cli::err() << "varnelt-cli: " << note << Qt::endl;
    score = orderTracks(lookup.record.rows, !options.autoOrder);
    return true;
}
