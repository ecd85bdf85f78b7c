#pragma once
// The rename page's "Options" box: which tags and which ID3v2 revision are written, the total
// tracks, the playlist, cover and HTML page with their folders, Joliet, the embedded cover and
// the "Target" profiles. It turns its controls into the rename job's option values and puts a
// profile's values back into its controls.

#include "audio/TagVersions.h"
#include "jobs/CoverEmbedding.h"

#include <QGroupBox>
#include <QList>

class MainContext;
class QCheckBox;
class QComboBox;
class QLineEdit;
struct RenameJobInput;
struct StoredControl;
struct TargetProfile;

/// The two-entry folder choice (the MP3 folder, its parent) the outputs and the destination use.
[[nodiscard]] QComboBox *folderChoice(const QString &name, QWidget *parent);

class RenameOptionsBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit RenameOptionsBox(MainContext &context, QWidget *parent = nullptr);

    /// The tag versions to write, from the tag version drop-down; both while no entry is chosen.
    [[nodiscard]] TagVersions tagVersions() const;
    /// The ID3v2 revision to write, from the revision drop-down.
    [[nodiscard]] ID3v2Version id3v2Version() const;
    /// The album's number of tracks, used for the "n/total" form of the version-2 track.
    void setTotalTrack(const QString &text);
    /// The cover options follow whether a downloaded cover is at hand (`coverFileName` empty:
    /// none); the embedded cover is that file.
    void setCoverFile(const QString &coverFileName);
    /// The cover options wait for a downloaded cover: disabled, whatever file was set.
    void holdCoverOptions();

    /// "Target": sets this box's options the profile at this position of targetProfiles()
    /// names; null (and nothing changed) for a position out of range.
    const TargetProfile *applyTargetProfile(int index);
    /// Fills the job's option values: tag versions and revision, total tracks, Joliet, the
    /// outputs' choices and the embedded cover. The outputs' cover picture is the page's.
    void fillJobInput(RenameJobInput &input) const;
    /// The box's controls the settings store keeps, with their keys.
    [[nodiscard]] QList<StoredControl> storedControls();

signals:
    /// A profile was chosen in "Target"; the page applies it (it also sets a naming option).
    void targetChosen(int index);

private:
    void buildControls();
    void connectControls();
    void updateTotalTracksEnabling();
    void updateCoverEnabling();

    MainContext &context_;
    QString coverFileName_;
    /// The limits of the chosen target on an embedded cover.
    CoverFit coverFit_;

    QComboBox *cboId3TagRename = nullptr;
    QCheckBox *chkTotalTracks = nullptr;
    QLineEdit *txtTotalTrack = nullptr;
    QCheckBox *chkPlayList = nullptr;
    QComboBox *cboPlaylistDir = nullptr;
    QCheckBox *chkCover = nullptr;
    QComboBox *cboCoverDir = nullptr;
    QCheckBox *chkHtml = nullptr;
    QComboBox *cboHtmlDir = nullptr;
    QCheckBox *chkJoliet = nullptr;
    QComboBox *cboId3v2Rename = nullptr;
    QCheckBox *chkEmbedCover = nullptr;
    QComboBox *cboTarget = nullptr;
};
