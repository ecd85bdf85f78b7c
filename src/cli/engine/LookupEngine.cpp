// The part of varnelt-cli that runs the embedded engine, built as a module the program loads
// only for the commands that look an album up: every other command starts without loading the
// engine's libraries, which take longer to load than a whole folder takes to list.
#include "browser/LookupPoller.h"
#include "foundation/MessageGateway.h"

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
        QObject::connect(&poller_, &LookupPoller::recordRead, [this] { finish(true); });
        QObject::connect(&poller_, &LookupPoller::readFailed, [this](const QString &problem) {
            Msg::showError(problem);
            finish(false);
        });
    }

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
        page_->triggerAction(QWebEnginePage::Stop);
        loop_.quit();
    }

    LookupContext &lookup_;
    // The page must go before its profile.
    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<QWebEnginePage> page_;
    LookupPoller poller_;
    QEventLoop loop_;
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
