// frmMain's start-up and shut-down: the browser check, the settings and window placement
// restored at start and stored at exit, the last folder, and the download folder clean-up.
#include "frmMain.h"

#include "BrowserCheck.h"
#include "MainContext.h"
#include "PageDirectory.h"
#include "PageRename.h"
#include "PageTag.h"
#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "foundation/MessageGateway.h"
#include "foundation/Settings.h"
#include "foundation/Version.h"
#include "ui/widgets/StoredControls.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QScreen>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

// The default of a number key, for when the stored text is not a number.
double defaultNumber(const SettingsKey &key)
{
    return QString(key.defaultValue).toDouble();
}

} // namespace

void frmMain::setEngineVersionSource(std::function<std::optional<QString>()> source)
{
    engineVersionSource_ = std::move(source);
}

void frmMain::measureCaptionHeight()
{
    captionHeight_ = int(Basic::roundEven((frameGeometry().height() - geometry().height()) * twipsPerPixel(screen())));
}

void frmMain::setVisible(bool visible)
{
    // Showing the window loads it first, as the first reference to a form runs its load event.
    if (visible && !started_ && !startUp())
        return;
    if (visible && stopped_)
        return;
    QMainWindow::setVisible(visible);
    // The frame is known only once the window system has shown the window.
    if (visible)
        measureCaptionHeight();
}

bool frmMain::startUp()
{
    if (started_)
        return !stopped_;
    started_ = true;
    startingUp_ = true;

    // The tag objects and the analyzer live in the context, made with the window.
    if (!browserCheck()) {
        // Nothing was restored yet: storing now would put the controls' blank values over the
        // user's settings, so the window ends without storing anything.
        stopped_ = true;
        startingUp_ = false;
        return false;
    }

    pageRename_->loadMasks();
    restoreSettings();
    restorePlacement();
    pageDirectory_->addColumnsLstViewFiles();
    pageTag_->addColumnsLstViewFilesTag();
    fillGenreLists();
    const bool opened = !startPaths_.isEmpty() && openPaths(startPaths_);
    if (!opened)
        selectLastFolder();
    setWindowTitle(Version::caption());
    affichePage(WizardPage::Directory);
    // Showing page 0 unticks "&Use only selected files"; files named on the command line are
    // the ones to work with, as a selection of two or more made by hand would be.
    if (opened)
        pageDirectory_->updateOnlySelectedCheck();
    measureCaptionHeight();
    startingUp_ = false;
    return true;
}

bool frmMain::browserCheck()
{
    const BrowserCheck::Outcome outcome
        = BrowserCheck::evaluate(engineVersionSource_ ? engineVersionSource_() : std::nullopt);
    webEngineVersion_ = outcome.webEngineVersion;
    if (!outcome.mustAsk)
        return true;
    return Msg::ask(outcome.question, BrowserCheck::questionTitle(), Msg::Icon::Critical, Msg::Buttons::YesNo)
        == Msg::Answer::Yes;
}

QList<StoredControl> frmMain::storedControls() const
{
    return pageRename_->storedControls() + pageTag_->storedControls();
}

void frmMain::restoreSettings()
{
    QList<StoredControl> controls = storedControls();
    const auto rank = [](const StoredControl &control) {
        const auto &order = SettingsKeys::MainWindowRestoreOrder;
        return std::find_if(order.begin(), order.end(),
                   [&](const SettingsKey *key) { return key->name == control.key.name; })
            - order.begin();
    };
    std::stable_sort(controls.begin(), controls.end(),
        [&](const StoredControl &a, const StoredControl &b) { return rank(a) < rank(b); });
    const Settings settings;
    for (const StoredControl &control : controls)
        restoreControl(settings, control);
}

void frmMain::restorePlacement()
{
    const Settings settings;
    const QScreen *display = screen();
    const double tpp = twipsPerPixel(display);
    const QRect screenArea = display ? display->geometry() : QRect(0, 0, 1024, 768);

    int state = 0;
    if (const auto value = storedNumber(settings, SettingsKeys::AppWindowState))
        state = int(Basic::roundEven(*value));
    double width = defaultNumber(SettingsKeys::AppWidth);
    double height = defaultNumber(SettingsKeys::AppHeight);
    if (const auto value = storedNumber(settings, SettingsKeys::AppWidth))
        width = *value;
    if (const auto value = storedNumber(settings, SettingsKeys::AppHeight))
        height = *value;
    // The first run opens large enough for the lists to show whole names and every page the
    // room it asks for, as far as the screen allows: the default size is far too small for a
    // folder of long file names. A stored size is used as it is, unless the screen is smaller.
    const QRect room = display ? display->availableGeometry() : screenArea;
    const bool firstRun = !settings.contains(SettingsKeys::AppWidth) && !settings.contains(SettingsKeys::AppHeight);
    if (firstRun) {
        // Names of about 60 characters ("07 - Artist - Title (Live at ...).mp3") show whole.
        constexpr int NameChars = 60;
        const QSize roomy(pageDirectory_->preferredWidth(NameChars) + 2 * style()->pixelMetric(QStyle::PM_LayoutLeftMargin),
                          room.height() * 9 / 10);
        const QSize wanted = sizeHint().expandedTo(roomy).boundedTo(room.size());
        width = std::max(width, wanted.width() * tpp);
        height = std::max(height, wanted.height() * tpp);
    }
    // The defaults of top and left centre the size just restored, 200 twips above the middle.
    const double screenWidth = screenArea.width() * tpp;
    const double screenHeight = screenArea.height() * tpp;
    double top = screenHeight / 2 - height / 2 - 200;
    double left = screenWidth / 2 - width / 2;
    if (const auto value = storedNumber(settings, SettingsKeys::AppTop, QString::number(top)))
        top = *value;
    if (const auto value = storedNumber(settings, SettingsKeys::AppLeft, QString::number(left)))
        left = *value;

    const QSize size(int(Basic::roundEven(width / tpp)), int(Basic::roundEven(height / tpp)));
    const QPoint position(int(Basic::roundEven(left / tpp)), int(Basic::roundEven(top / tpp)));
    resize(size.expandedTo(minimumSizeHint()));
    move(position);
    // A place on a screen that is no longer there, or a size stored on a larger screen or at
    // another scale, would leave the window (its bottom buttons first) out of reach.
    fitOnScreen(this);
    if (state == 2)
        setWindowState(Qt::WindowMaximized);
    else if (state == 1)
        setWindowState(Qt::WindowMinimized);
}

void frmMain::fillGenreLists()
{
    pageTag_->fillGenreLists();
    pageRename_->fillGenreLists();
}

void frmMain::selectLastFolder()
{
    const Settings settings;
    QString stored = settings.value(SettingsKeys::LastDirectory);
    if (stored.trimmed().isEmpty())
        stored = QDir::toNativeSeparators(QDir::homePath());
    pageDirectory_->navigateTo(stored);
    if (QDir::cleanPath(context_->currentDirectory) == QDir::cleanPath(QDir::fromNativeSeparators(stored)))
        return;
    // The folder is gone: the nearest folder above it that still exists is shown instead.
    QString parent = Common::getParentFolder(stored);
    while (!parent.isEmpty() && !pageDirectory_->navigateTo(parent)) {
        const QString next = Common::getParentFolder(parent);
        if (next == parent)
            break;
        parent = next;
    }
}

void frmMain::storeSettings()
{
    Settings settings;
    const Qt::WindowStates state = windowState();
    if (!(state & Qt::WindowMinimized)) {
        const bool maximized = state & (Qt::WindowMaximized | Qt::WindowFullScreen);
        settings.setValue(SettingsKeys::AppWindowState, maximized ? u"2"_s : u"0"_s);
        if (!maximized) {
            const double tpp = twipsPerPixel(screen());
            settings.setValue(SettingsKeys::AppTop, QString::number(pos().y() * tpp));
            settings.setValue(SettingsKeys::AppLeft, QString::number(pos().x() * tpp));
            settings.setValue(SettingsKeys::AppWidth, QString::number(width() * tpp));
            settings.setValue(SettingsKeys::AppHeight, QString::number(height() * tpp));
        }
    }

    for (const StoredControl &control : storedControls())
        storeControl(settings, control);
    settings.sync();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Closing the window mid-job would pull the pages out from under the running job.
    if (pageRename_->isRenaming() || pageTag_->isBatchRunning()) {
        event->ignore();
        return;
    }
    if (!started_ || stopped_) {
        event->accept();
        return;
    }
    const WizardPage page = context_->activeWizardPage;
    if ((page == WizardPage::Tag || page == WizardPage::Rename)
        && Msg::ask(u"Are you sure you want to quit ?"_s, u"Exit confirmation"_s, Msg::Icon::Question,
               Msg::Buttons::YesNo)
            != Msg::Answer::Yes) {
        event->ignore();
        return;
    }
    storeSettings();
    clearDownloadFolder();
    event->accept();
    // Other windows end with the program, without their own closing steps.
    QCoreApplication::exit(0);
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || startingUp_)
        return;
    if (context_->activeWizardPage == WizardPage::Rename)
        pageRename_->windowActivated();
}

void frmMain::clearDownloadFolder()
{
    const QString folder = Common::addBackslash(Common::downloadFolder());
    if (!Common::folderExists(folder))
        return;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name == u"." || name == u"..")
            continue;
        (void)Common::deleteFile(folder + name);
    }
    if (!QDir().rmdir(folder))
        Msg::showError(u"Path/File access error ("_s + folder + u")"_s);
}
