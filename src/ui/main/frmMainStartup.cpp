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
#include "ui/widgets/GenreCombo.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

double twipsPerPixel(const QScreen *screen)
{
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

// A stored number, or nothing when the text is not one; the user then hears about it and the
// control keeps what it shows.
std::optional<double> storedNumber(const Settings &settings, const SettingsKey &key, const QString &def)
{
    const QString text = settings.value(key.name, def);
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok) {
        Msg::showError(u"Type mismatch"_s);
        return std::nullopt;
    }
    return value;
}

std::optional<double> storedNumber(const Settings &settings, const SettingsKey &key)
{
    return storedNumber(settings, key, key.defaultValue);
}

// The default of a number key, for when the stored text is not a number.
double defaultNumber(const SettingsKey &key)
{
    return QString(key.defaultValue).toDouble();
}

void restoreListIndex(const Settings &settings, QComboBox *combo, const SettingsKey &key)
{
    if (!combo)
        return;
    const auto value = storedNumber(settings, key);
    if (!value)
        return;
    const long long index = Basic::roundEven(*value);
    if (index < -1 || index >= combo->count()) {
        Msg::showError(u"Invalid property value"_s);
        return;
    }
    combo->setCurrentIndex(int(index));
}

void restoreCheck(const Settings &settings, QCheckBox *check, const SettingsKey &key)
{
    if (!check)
        return;
    const auto value = storedNumber(settings, key);
    if (!value)
        return;
    const long long state = Basic::roundEven(*value);
    if (state != 0 && state != 1) {
        Msg::showError(u"Invalid property value"_s);
        return;
    }
    check->setChecked(state == 1);
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

    if (auto *page = qobject_cast<PageRename *>(pageRename_))
        page->loadMasks();
    restoreSettings();
    restorePlacement();
    pageDirectory_->addColumnsLstViewFiles();
    if (auto *tags = qobject_cast<PageTag *>(pageTag_))
        tags->addColumnsLstViewFilesTag();
    fillGenreLists();
    selectLastFolder();
    setWindowTitle(Version::caption());
    affichePage(0);
    measureCaptionHeight();
    startingUp_ = false;
    return true;
}

bool frmMain::browserCheck()
{
    const BrowserCheck::Outcome outcome
        = BrowserCheck::evaluate(engineVersionSource_ ? engineVersionSource_() : std::nullopt);
    ieVersion_ = outcome.ieVersion;
    if (!outcome.mustAsk)
        return true;
    return Msg::ask(outcome.question, BrowserCheck::questionTitle(), Msg::Icon::Critical, Msg::Buttons::YesNo)
        == Msg::Answer::Yes;
}

void frmMain::restoreSettings()
{
    const Settings settings;
    if (auto *mask = findChild<QComboBox *>(u"cboMask"_s)) {
        const QString stored = settings.value(SettingsKeys::LastMask);
        if (!stored.isEmpty() && !Basic::isNumeric(stored))
            mask->setCurrentText(stored);
        if (mask->currentText().isEmpty() && mask->count() > 0)
            mask->setCurrentIndex(0);
    }

    restoreListIndex(settings, findChild<QComboBox *>(u"cboPlaylistDir"_s), SettingsKeys::LastPlaylistDir);
    restoreListIndex(settings, findChild<QComboBox *>(u"cboCoverDir"_s), SettingsKeys::LastCoverDir);
    restoreListIndex(settings, findChild<QComboBox *>(u"cboTextEffect"_s), SettingsKeys::LastTextEffect);
    restoreListIndex(settings, findChild<QComboBox *>(u"cboReplaceSpaces"_s), SettingsKeys::LastReplaceSpaces);
    auto *id3Mode = findChild<QComboBox *>(u"cboID3Mode"_s);
    restoreListIndex(settings, id3Mode, SettingsKeys::Id3Mode);
    if (auto *id3Rename = findChild<QComboBox *>(u"cboId3TagRename"_s); id3Mode && id3Rename
        && id3Mode->currentIndex() < id3Rename->count())
        id3Rename->setCurrentIndex(id3Mode->currentIndex());

    const QString destination = settings.value(SettingsKeys::LastDestinationDir);
    if (auto *destDir = findChild<QComboBox *>(u"cboDestDir"_s)) {
        if (destination == u"Parent directory")
            destDir->setCurrentIndex(1);
        else if (destination == u"MP3 directory")
            destDir->setCurrentIndex(0);
        else {
            destDir->addItem(destination, 0);
            destDir->setCurrentIndex(destDir->count() - 1);
        }
    }
    context_->selectedDestinationDirectory = destination;

    restoreCheck(settings, findChild<QCheckBox *>(u"chkPlayList"_s), SettingsKeys::CheckPlaylist);
    restoreCheck(settings, findChild<QCheckBox *>(u"chkCover"_s), SettingsKeys::CheckCover);
    restoreCheck(settings, findChild<QCheckBox *>(u"chkTotalTracks"_s), SettingsKeys::TotalTracks);
    restoreCheck(settings, findChild<QCheckBox *>(u"chkJoliet"_s), SettingsKeys::CheckJoliet);
    restoreCheck(settings, findChild<QCheckBox *>(u"chkTextEffect"_s), SettingsKeys::CheckTextEffect);
    restoreCheck(settings, findChild<QCheckBox *>(u"chkReplaceSpaces"_s), SettingsKeys::CheckReplaceSpaces);
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
    // The first run gives every page the room it asks for, as far as the screen allows: the
    // default size is too small for the tag and rename pages. A stored size is used as it is.
    const QRect room = display ? display->availableGeometry() : screenArea;
    const bool firstRun = !settings.contains(SettingsKeys::AppWidth.name) && !settings.contains(SettingsKeys::AppHeight.name);
    if (firstRun) {
        const QSize wanted = sizeHint().boundedTo(room.size());
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
    QPoint position(int(Basic::roundEven(left / tpp)), int(Basic::roundEven(top / tpp)));
    // A place on a screen that is no longer there would leave the window out of reach.
    const QRect everyScreen = display ? display->virtualGeometry() : screenArea;
    if (!everyScreen.intersects(QRect(position, size)))
        position = QPoint(screenArea.center().x() - size.width() / 2, screenArea.center().y() - size.height() / 2);
    if (firstRun) // a window as large as the screen starts at its top left, not above it
        position = QPoint(std::max(position.x(), room.left()), std::max(position.y(), room.top()));
    resize(size.expandedTo(minimumSizeHint()));
    move(position);
    if (state == 2)
        setWindowState(Qt::WindowMaximized);
    else if (state == 1)
        setWindowState(Qt::WindowMinimized);
}

void frmMain::fillGenreLists()
{
    for (const QString &name : {u"cboGenre"_s, u"cboGenre2"_s, u"cboGenreEdit"_s}) {
        if (auto *combo = findChild<QComboBox *>(name))
            fillGenreList(combo);
    }
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
        settings.setValue(SettingsKeys::AppWindowState.name, maximized ? u"2"_s : u"0"_s);
        if (!maximized) {
            const double tpp = twipsPerPixel(screen());
            settings.setValue(SettingsKeys::AppTop.name, QString::number(pos().y() * tpp));
            settings.setValue(SettingsKeys::AppLeft.name, QString::number(pos().x() * tpp));
            settings.setValue(SettingsKeys::AppWidth.name, QString::number(width() * tpp));
            settings.setValue(SettingsKeys::AppHeight.name, QString::number(height() * tpp));
        }
    }

    // A control that is not there stores nothing rather than an empty value.
    const auto storeText = [&](const SettingsKey &key, const QString &name) {
        if (const auto *combo = findChild<QComboBox *>(name))
            settings.setValue(key.name, combo->currentText());
    };
    const auto storeIndex = [&](const SettingsKey &key, const QString &name) {
        if (const auto *combo = findChild<QComboBox *>(name))
            settings.setValue(key.name, QString::number(combo->currentIndex()));
    };
    const auto storeCheck = [&](const SettingsKey &key, const QString &name) {
        if (const auto *check = findChild<QCheckBox *>(name))
            settings.setValue(key.name, check->isChecked() ? u"1"_s : u"0"_s);
    };
    storeText(SettingsKeys::LastMask, u"cboMask"_s);
    storeText(SettingsKeys::LastDestinationDir, u"cboDestDir"_s);
    storeIndex(SettingsKeys::LastPlaylistDir, u"cboPlaylistDir"_s);
    storeIndex(SettingsKeys::LastCoverDir, u"cboCoverDir"_s);
    storeIndex(SettingsKeys::LastTextEffect, u"cboTextEffect"_s);
    storeIndex(SettingsKeys::LastReplaceSpaces, u"cboReplaceSpaces"_s);
    storeIndex(SettingsKeys::Id3Mode, u"cboID3Mode"_s);
    storeCheck(SettingsKeys::CheckPlaylist, u"chkPlayList"_s);
    storeCheck(SettingsKeys::CheckCover, u"chkCover"_s);
    storeCheck(SettingsKeys::TotalTracks, u"chkTotalTracks"_s);
    storeCheck(SettingsKeys::CheckJoliet, u"chkJoliet"_s);
    storeCheck(SettingsKeys::CheckTextEffect, u"chkTextEffect"_s);
    storeCheck(SettingsKeys::CheckReplaceSpaces, u"chkReplaceSpaces"_s);
    settings.sync();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!started_ || stopped_) {
        event->accept();
        return;
    }
    const int page = context_->activeWizardPage;
    if ((page == 1 || page == 2)
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
    if (context_->activeWizardPage == 2) {
        auto *list = findChild<QWidget *>(u"lstResult"_s);
        if (list && list->isVisible()) {
            list->setFocus();
            if (auto *page = qobject_cast<PageRename *>(pageRename_))
                page->refreshPreview();
        }
    }
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
