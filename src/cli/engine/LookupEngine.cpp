// The part of varnelt-cli that runs the embedded engine, built as a module the program loads
// only for the commands that look an album up: every other command starts without loading the
// engine's libraries, which take longer to load than a whole folder takes to list.
#include "browser/LookupPageDriver.h"
#include "browser/PageBridge.h"
#include "lookup/TrackListReader.h"

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
          page_(std::make_unique<QWebEnginePage>(profile_.get())), poller_(page_.get(), lookup)
    {
        QObject::connect(&poller_, &LookupPageDriver::recordRead, [this] { finish(true); });
        QObject::connect(&poller_, &LookupPageDriver::readFailed, [this](const QString &problem) {
            problem_ = problem;
            finish(false);
        });
    }

    /// Why the page that was read gave no record; empty when none was read in time.
    [[nodiscard]] QString problem() const { return problem_; }

    bool run(const QString &url, int timeoutSeconds)
    {
        QTimer::singleShot(timeoutSeconds * 1000, &loop_, [this] { finish(false); });
        page_->load(QUrl::fromUserInput(url));
        loop_.exec();
        return found_;
    }

private:
    void finish(bool found)
    {
        if (poller_.isPaused())
            return;
        poller_.setPaused(true);
        found_ = found && lookup_.record.trackCount() > 0;
        if (found && !found_)
            problem_ = u"The album page lists no tracks."_s;
        page_->triggerAction(QWebEnginePage::Stop);
        loop_.quit();
    }

    LookupContext &lookup_;
    // The page must go before its profile.
    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<QWebEnginePage> page_;
    LookupPageDriver poller_;
    QEventLoop loop_;
    bool found_ = false;
    QString problem_;
};

/// Opens a page and reads its track list once it has loaded; on a known site's search page the
/// site's filler submits the search first and the result page is read.
class CaptureDriver
{
public:
    explicit CaptureDriver(LookupContext &lookup)
        : lookup_(lookup), profile_(std::make_unique<QWebEngineProfile>()),
          page_(std::make_unique<QWebEnginePage>(profile_.get()))
    {
        QObject::connect(page_.get(), &QWebEnginePage::loadFinished, &loop_, [this](bool ok) { loaded(ok); });
    }

    bool run(const QString &url, int timeoutSeconds, QString &problem)
    {
        QTimer::singleShot(timeoutSeconds * 1000, &loop_, [this, timeoutSeconds] {
            finish(false, u"the page did not load within %1 s"_s.arg(timeoutSeconds));
        });
        page_->load(QUrl::fromUserInput(url));
        loop_.exec();
        problem = problem_;
        return found_;
    }

private:
    void loaded(bool ok)
    {
        if (done_)
            return;
        // A submitted search ends the search page's load early; the result page follows.
        if (!ok && !submitted_) {
            finish(false, u"The page could not be opened."_s);
            return;
        }
        if (!ok)
            return;
        // The page's own scripts may still be building the list: read it a moment later.
        QTimer::singleShot(300, &loop_, [this] {
            PageBridge::takeSnapshot(page_.get(), [this](const HtmlDocument &doc) { read(doc); },
                                     PageBridge::SnapshotKind::TrackList);
        });
    }

    void read(const HtmlDocument &doc)
    {
        if (done_)
            return;
        if (TrackList::submitSiteSearch(doc, lookup_)) {
            submitted_ = true;
            PageBridge::carryOut(page_.get(), lookup_.actions);
            return;
        }
        const bool found = TrackList::capture(doc, lookup_);
        finish(found, found ? QString() : TrackList::noTrackListOnPage());
    }

    void finish(bool found, const QString &problem)
    {
        if (done_)
            return;
        done_ = true;
        found_ = found;
        problem_ = problem;
        page_->triggerAction(QWebEnginePage::Stop);
        loop_.quit();
    }

    LookupContext &lookup_;
    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<QWebEnginePage> page_;
    QEventLoop loop_;
    QString problem_;
    bool found_ = false;
    bool done_ = false;
    bool submitted_ = false;
};

} // namespace

/// The application the engine needs: a GUI application (offscreen without a display).
extern "C" Q_DECL_EXPORT QCoreApplication *varneltEngineApplication(int &argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return new QGuiApplication(argc, argv);
}

/// Opens the address and runs the lookup window's polling on the page until the record is read
/// or the time is up; true when a record with tracks was read. Otherwise problem says why a page
/// that was read gave none, and stays empty when no album page was recognised in time.
extern "C" Q_DECL_EXPORT bool varneltDriveLookup(LookupContext &lookup, const QString &url, int timeoutSeconds,
                                                 QString &problem)
{
    LookupDriver driver(lookup);
    const bool found = driver.run(url, timeoutSeconds);
    problem = driver.problem();
    return found;
}

/// Opens the address and captures its track list once it has loaded (after the search a
/// known site's filler submits); true when tracks were read, else problem says why.
extern "C" Q_DECL_EXPORT bool varneltCaptureTrackList(LookupContext &lookup, const QString &url, int timeoutSeconds,
                                                      QString &problem)
{
    CaptureDriver driver(lookup);
    return driver.run(url, timeoutSeconds, problem);
}
