// The part of varnelt-cli that runs the embedded engine, built as a module the program loads
// only for the commands that look an album up: every other command starts without loading the
// engine's libraries, which take longer to load than a whole folder takes to list.
#include "browser/PageBridge.h"
#include "foundation/MessageGateway.h"
#include "lookup/LookupPoll.h"
#include "lookup/MusicBrainz.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <memory>

using namespace Qt::StringLiterals;

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

/// The application the engine needs: a GUI application (offscreen without a display).
extern "C" Q_DECL_EXPORT QCoreApplication *varneltEngineApplication(int &argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return new QGuiApplication(argc, argv);
}

/// Opens the address and runs the lookup window's polling on the page until the record is read
/// or the time is up; true when a record with tracks was read.
extern "C" Q_DECL_EXPORT bool varneltDriveLookup(LookupContext &lookup, const QString &url, int timeoutSeconds)
{
    LookupDriver driver(lookup);
    return driver.run(url, timeoutSeconds);
}
