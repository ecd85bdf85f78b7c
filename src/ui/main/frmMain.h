#pragma once
// The main window: a four-page wizard (directory, tag editor, rename, result) with the button
// bar that moves between the pages, the menus, and the settings restored at start-up and
// stored at exit.

#include "WizardPage.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class MainContext;
class MainWindowSettings;
class PageDirectory;
class PageRename;
class PageResult;
class PageTag;
class QAction;
class ButtonEx;
class QStackedWidget;
class QToolButton;
class QWebEngineView;
struct JournalContents;
struct StoredControl;

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    /// Runs the start-up sequence once: the browser check, masks, settings, window placement,
    /// columns, genre lists, the last folder, the caption and page 0. False when the user chose
    /// to stop at the browser check (the window is then closed and nothing was stored).
    bool startUp();
    [[nodiscard]] bool isStarted() const { return started_; }
    /// The paths given on the command line: start-up opens them instead of the last folder when
    /// one of them exists (see openPaths), and tells the user when none does.
    void setStartPaths(const QStringList &paths) { startPaths_ = paths; }
    /// Opens what the paths name on the directory page: a folder, or the folder of the files,
    /// with the files selected. False, after telling the user, when none of them exists; false
    /// without a word while a job runs.
    bool openPaths(const QStringList &paths);

    /// Shows a page with its buttons.
    void affichePage(WizardPage page);
    [[nodiscard]] WizardPage activeWizardPage() const;

    /// "ID3 Mode : ID3v1", "ID3 Mode : ID3v2" or "ID3 Mode : ID3v1 + ID3v2" for the mode chosen
    /// on the tag page; empty for anything else.
    [[nodiscard]] QString getId3ModeCaption() const;
    /// The web engine version found at start-up, or "N/A" (shown by the about window).
    [[nodiscard]] QString webEngineVersion() const { return webEngineVersion_; }
    /// The height of the title bar and borders in twips, measured at start-up.
    [[nodiscard]] int captionHeight() const { return captionHeight_; }

    /// Empties and removes the "Download" folder of the application folder.
    static void clearDownloadFolder();

    [[nodiscard]] MainContext &context() { return *context_; }
    [[nodiscard]] PageDirectory *pageDirectory() const { return pageDirectory_; }
    /// The banner web view; null until page 3 was first shown.
    [[nodiscard]] QWebEngineView *bannerView() const { return webbanner_; }

    /// Replaces where start-up reads the web engine's version (tests); nullopt means no engine.
    void setEngineVersionSource(std::function<std::optional<QString>()> source);
    /// Replaces the banner page's address (tests).
    void setBannerUrl(const QString &url) { bannerUrl_ = url; }

    /// The maker's addresses used by the Help menu and the banner.
    static QString homePage();
    static QString bannerPage();
    static QString feedbackAddress();
    static QString bugReportAddress();

public slots:
    /// "&Select a directory": back to the directory page, on the result page with the folder
    /// tree moved to the destination folder.
    void selectDirectoryCommand();
    /// "&Work with ID3 tag" of the directory page: the tag page with the listed files.
    void workWithTagCommand();
    /// "&Find album informations on Internet" of the directory or tag page: the lookup window,
    /// modal, over that page's files; a record handed over fills the rename page, shown next.
    void findAlbumOnInternet();
    /// "Paste track list" of the directory page: the clipboard's track list in the track list
    /// dialog, paired with the page's files; its OK hands the album over as a lookup's does.
    void pasteTrackList();
    /// "&MP3 Player..." and the lists' "&Play MP3": the player on the list of the page shown.
    void playerCommand();
    /// Shows the player modally on files of the current folder, starting at a row.
    void openPlayer(const QStringList &fileNames, int row);
    /// "&Check for update..." and "&About...": the side windows, modally.
    void checkUpdateCommand();
    void aboutCommand();
    /// "&Undo <change> (N files)": asks, undoes the newest change not undone yet from its journal
    /// and shows what was restored and what was left.
    void undoLastChange();
    /// "Undo &history...": the recorded changes, modal to the window; any one of them can be
    /// undone there.
    void undoHistoryCommand();
    /// Names the change "&Undo" would take back in its caption, or disables it when none is left.
    void refreshUndoMenu();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void setVisible(bool visible) override;

private:
    void buildPages();
    void buildButtonBar(QWidget *host);
    void buildMenus();
    void connectPages();
    bool browserCheck();
    void measureCaptionHeight();
    /// The stored controls and placement, restored at start-up and stored at exit.
    [[nodiscard]] MainWindowSettings keptSettings();
    void selectLastFolder();
    void fillGenreLists();
    void setButtonBar(WizardPage page);
    /// While the rename job runs, whatever could start other work is disabled.
    void setBusy(bool busy);
    /// Every page's controls the settings store keeps.
    [[nodiscard]] QList<StoredControl> storedControls() const;
    void showBanner();
    void workWithTagFromLaterPage(bool fromLog);
    void notAvailableYet();
    /// After an undo: what the window shows of the undone change's files is read again.
    void afterUndo(const JournalContents &change);
    void openDocument(const QString &address);

    MainContext *context_ = nullptr;
    QStackedWidget *fraWizard_ = nullptr;
    PageDirectory *pageDirectory_ = nullptr;
    PageTag *pageTag_ = nullptr;
    PageRename *pageRename_ = nullptr;
    PageResult *pageResult_ = nullptr;
    QWidget *bannerHost_ = nullptr;
    QWebEngineView *webbanner_ = nullptr;

    ButtonEx *cmdFindInternet_ = nullptr;
    ButtonEx *cmdWorkWithTag_ = nullptr;
    ButtonEx *cmdFindInternetTag_ = nullptr;
    ButtonEx *cmdRenameWithTag_ = nullptr;
    ButtonEx *cmdRename_ = nullptr;
    ButtonEx *cmdWorkWithTagRename_ = nullptr;
    ButtonEx *cmdWorkWithTagLog_ = nullptr;
    ButtonEx *cmdSelectDirectory_ = nullptr;
    ButtonEx *cmdEnd_ = nullptr;
    /// Shown while the rename job or a tag batch runs: stops it after the file under way.
    ButtonEx *cmdCancel_ = nullptr;
    QToolButton *imgDir_ = nullptr;

    QAction *mnuSelDir_ = nullptr;
    QAction *mnuUndoRename_ = nullptr;
    QAction *mnuUndoHistory_ = nullptr;
    QAction *mnuPlayer_ = nullptr;

    std::function<std::optional<QString>()> engineVersionSource_;
    QStringList startPaths_;
    QString bannerUrl_;
    QString webEngineVersion_ = QStringLiteral("N/A");
    int captionHeight_ = 0;
    bool started_ = false;
    bool startingUp_ = false;
    bool bannerLoaded_ = false;
    bool busy_ = false;
    bool stopped_ = false;
};
