#pragma once
// Wizard page 2, the rename page: the album fields (AlbumFieldsBox), the rename list with the
// live preview of the selected row's new path, the naming options, and the tag versions and
// album outputs (RenameOptionsBox). "&Rename and tag" (renameAndTag) runs the album rename job
// from here.

#include "WizardPage.h"

#include "audio/TagVersions.h"
#include "album/RenameList.h"
#include "naming/NamingInput.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class AlbumFieldsBox;
class MainContext;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class ButtonEx;
class RenameListView;
class RenameOptionsBox;
struct AlbumRenamePlan;
struct LookupHandOver;
struct RenameJobInput;
struct StoredControl;

class PageRename : public QWidget
{
    Q_OBJECT
public:
    explicit PageRename(MainContext &context, QWidget *parent = nullptr);
    ~PageRename() override;

    /// Fills the mask drop-down from the mask files (user masks first, then the defaults).
    void loadMasks();

    /// The album fields as typed (the genre is the drop-down's text).
    [[nodiscard]] AlbumFields albumFields() const;
    /// The naming options as chosen: mask text, destination text, effects.
    [[nodiscard]] NamingOptions namingOptions() const;
    /// The rename list in display order.
    [[nodiscard]] RenameList renameRows() const;
    /// The new path of a row (0-based) exactly as the rename job will build it.
    [[nodiscard]] QString newFileNameOf(int row) const;
    /// The tag versions to write, from the tag version drop-down; both while no entry is chosen.
    [[nodiscard]] TagVersions tagVersions() const;
    /// The ID3v2 revision to write, from the revision drop-down.
    [[nodiscard]] ID3v2Version id3v2Version() const;
    /// "Target": sets the options the profile at this position of targetProfiles() names.
    void applyTargetProfile(int index);

    /// Replaces the rename list; iconKeys gives each row's picture key.
    void setRenameList(const RenameList &rows, const QStringList &iconKeys = {});
    /// Fills the artist, album, year and genre fields; the comment only when keepComment is false.
    void setAlbumFields(const AlbumFields &album, bool keepComment);
    /// The album's number of tracks, used for the "n/total" form of the version-2 track.
    void setTotalTrack(const QString &text);
    /// A downloaded cover picture: enables the cover option and shows the picture. Empty hides it.
    void setCoverDownload(const QString &fileName);
    [[nodiscard]] QString coverDownloadFileName() const { return coverDownloadFileName_; }
    /// The genre drop-down still shows its first entry (a lookup without genre then takes the
    /// first file's).
    [[nodiscard]] bool genreAtFirstEntry() const;
    /// What OK of the track list hands over: the rename list, the total tracks, the album
    /// fields (the comment keeps its text) and the downloaded cover.
    void takeLookup(const LookupHandOver &handOver);

    /// True while the rename job runs.
    [[nodiscard]] bool isRenaming() const { return renaming_; }
    /// The button bar's Cancel: the running job stops after the file under way.
    void requestStop() { stopRequested_ = true; }

    /// The size that shows every control of the page without scrolling.
    [[nodiscard]] QSize sizeHint() const override;

    /// The page's controls the settings store keeps, with their keys.
    [[nodiscard]] QList<StoredControl> storedControls();
    /// Fills the genre drop-down with the genre names.
    void fillGenreLists();
    /// Gives the rename list the focus.
    void focusRenameList();
    /// The cover options wait for a downloaded cover: disabled, the picture hidden.
    void holdCoverOptions();
    /// The main window became active while this page is shown.
    void windowActivated();

public slots:
    /// "&Rename and tag": asks once per run of the program, then renames and tags every row.
    void renameAndTag();
    /// The rename list and album fields built from the files' own tags (the tag page's
    /// "&Use ID3 to rename files"); the comment keeps its text.
    void takeRenameListFromTags(const AlbumFields &album, const RenameList &rows, const QStringList &iconKeys,
                                const QString &totalTrack);
    /// "&Mask Editor" and the Tools menu's "&Mask editor...": opens the mask editor (modal) on
    /// the mask drop-down; its "&Ok" rebuilds the drop-down.
    void openMaskEditor();
    /// Recomputes the preview of the selected row while the rename list is shown.
    void refreshPreview();
    /// "&Edit selected track" and F2: starts the in-place edit of the selected title.
    void editSelectedTrack();
    /// Asks for the player on the rename list's current row (double click, Enter, "&Play MP3").
    void playCurrent();

signals:
    /// Asks the main window to show a page.
    void requestPage(WizardPage page);
    /// The rename job starts (true) or ended (false): whatever could start other work waits.
    void busyChanged(bool busy);
    /// A row was double-clicked or Enter was pressed on it: the file to play.
    void playRequested(const QStringList &fileNames, int row);
    /// The context-menu key or right button over the rename list.
    void contextMenuWanted(const QPoint &globalPos);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    QGroupBox *buildNamingBox();
    void connectControls();
    void chooseDestinationFolder();
    void playRow(int row);
    void onMaskChosen();
    /// False, after the "Invalid mask" message, when the mask is too long to be kept whole.
    bool maskLengthAccepted();
    void restoreMask(const QString &stored);
    void restoreDestination(const QString &stored);
    [[nodiscard]] RenameJobInput jobInput() const;
    /// Runs the job on the plan the pre-flight checked.
    void runJob(AlbumRenamePlan plan);

    MainContext &context_;
    bool albumWarningDisplay_ = false;
    bool renaming_ = false;
    bool stopRequested_ = false;
    QString coverDownloadFileName_;
    QWidget *content_ = nullptr;

    QLineEdit *txtDirectory = nullptr;
    AlbumFieldsBox *album_ = nullptr;
    RenameListView *lstResult = nullptr;
    ButtonEx *cmdEditTrack = nullptr;
    QComboBox *cboMask = nullptr;
    ButtonEx *cmdMaskEdit = nullptr;
    QComboBox *cboDestDir = nullptr;
    ButtonEx *cmdSelectDestDir = nullptr;
    QCheckBox *chkTextEffect = nullptr;
    QComboBox *cboTextEffect = nullptr;
    QCheckBox *chkReplaceSpaces = nullptr;
    QComboBox *cboReplaceSpaces = nullptr;
    QLineEdit *txtNewFileName = nullptr;
    RenameOptionsBox *options_ = nullptr;
};
