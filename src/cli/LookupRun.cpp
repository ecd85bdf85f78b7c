#include "cli/LookupRun.h"

#include "browser/PageBridge.h"
#include "cli/CliSupport.h"
#include "foundation/Common.h"
#include "foundation/MessageGateway.h"
#include "jobs/DirectoryListing.h"
#include "lookup/LookupPoll.h"
#include "lookup/MusicBrainz.h"
#include "lookup/TrackOrdering.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

bool parseLookupOption(const QStringList &args, int &i, LookupRunOptions &options, QString &error)
{
    const QString &arg = args.at(i);
    if (arg == u"--auto-order") {
        options.autoOrder = true;
        return true;
    }
    if (arg != u"--only" && arg != u"--timeout")
        return false;
    if (i + 1 >= args.size()) {
        error = u"%1 needs a value"_s.arg(arg);
        return true;
    }
    const QString value = args.at(++i);
    if (arg == u"--only") {
        options.only << value;
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

namespace {

/// Drives one page with the lookup window's timer and notifications until the record is read.
class LookupDriver
{
public:
    explicit LookupDriver(LookupContext &lookup)
        : lookup_(lookup), profile_(std::make_unique<QWebEngineProfile>()),
          page_(std::make_unique<QWebEnginePage>(profile_.get()))
    {
        QObject::connect(page_.get(), &QWebEnginePage::urlChanged, [this](const QUrl &url) {
            navigationCompleted(lookup_, url.toString());
            updateTimer();
        });
        QObject::connect(page_.get(), &QWebEnginePage::loadFinished, [this](bool) {
            documentCompleted(lookup_, page_->url().toString());
        });
        QObject::connect(&poll_, &QTimer::timeout, [this] { tick(); });
    }

    bool run(const QString &url, int timeoutSeconds)
    {
        QTimer::singleShot(timeoutSeconds * 1000, &loop_, [this] { finish(false); });
        updateTimer();
        page_->load(QUrl::fromUserInput(url));
        loop_.exec();
        return found_;
    }

private:
    void tick()
    {
        if (snapshotPending_ || done_)
            return;
        snapshotPending_ = true;
        PageBridge::takeSnapshot(page_.get(), [this](const HtmlDocument &doc) {
            snapshotPending_ = false;
            if (done_)
                return;
            const bool finished = pollTick(doc, lookup_);
            PageBridge::carryOut(page_.get(), lookup_.actions);
            if (finished)
                finish(true);
            else if (!lookup_.pendingRelease.isEmpty())
                fetchRelease(doc.url);
            updateTimer();
        });
    }

    void fetchRelease(const QString &address)
    {
        const QString id = std::exchange(lookup_.pendingRelease, QString());
        musicbrainz_.fetchRelease(lookup_.sites.musicbrainzService, id,
                                  [this, address](const QByteArray &body, const QString &error) {
            QString problem = error;
            if (problem.isEmpty())
                problem = readMusicBrainzRelease(body, lookup_.sites.coverArtService, lookup_);
            if (!problem.isEmpty()) {
                Msg::showError(problem);
                finish(false);
                return;
            }
            finishRecord(lookup_, address);
            finish(true);
        });
    }

    void updateTimer()
    {
        const int interval = lookup_.state.timerInterval;
        if (interval <= 0 || done_)
            poll_.stop();
        else if (!poll_.isActive() || poll_.interval() != interval)
            poll_.start(interval);
    }

    void finish(bool found)
    {
        if (done_)
            return;
        done_ = true;
        found_ = found && lookup_.record.trackCount() > 0;
        poll_.stop();
        page_->triggerAction(QWebEnginePage::Stop);
        loop_.quit();
    }

    LookupContext &lookup_;
    // The page must go before its profile.
    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<QWebEnginePage> page_;
    MusicBrainzClient musicbrainz_;
    QTimer poll_;
    QEventLoop loop_;
    bool snapshotPending_ = false;
    bool done_ = false;
    bool found_ = false;
};

} // namespace

bool runLookup(const LookupRunOptions &options, LookupContext &lookup, int &score)
{
    lookup.sites = SiteTable::fromSettings();
    lookup.search = SearchInput::forSelectedFile(Common::addBackslash(QFileInfo(options.folder).absoluteFilePath()),
                                                 lookup.files);
    LookupDriver driver(lookup);
    if (!driver.run(options.url, options.timeoutSeconds))
        return false;
    for (const QString &note : lookup.record.notes)
        Cli::err() << "varnelt-cli: " << note << Qt::endl;
    score = orderTracks(lookup.record.rows, !options.autoOrder);
    return true;
}
