#include "RenameOptionsBox.h"

#include "MainContext.h"

#include "ui/widgets/Named.h"
#include "ui/widgets/StoredControls.h"

#include "jobs/AlbumRenameJob.h"
#include "jobs/TargetProfiles.h"
#include "naming/NameBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

QComboBox *folderChoice(const QString &name, QWidget *parent)
{
    auto *combo = named(new QComboBox(parent), name);
    combo->addItem(Destination::mp3Directory(), 0);
    combo->addItem(Destination::parentDirectory(), 0);
    return combo;
}

RenameOptionsBox::RenameOptionsBox(MainContext &context, QWidget *parent)
    : QGroupBox(u"Options"_s, parent)
    , context_(context)
{
    setObjectName(u"fraOptions"_s);
    buildControls();
    connectControls();
}

void RenameOptionsBox::buildControls()
{
    cboId3TagRename = named(new QComboBox(this), u"cboId3TagRename"_s);
    cboId3TagRename->addItem(u"ID3v1 + ID3v2"_s, tagVersionsNumber(TagVersions::Both));
    cboId3TagRename->addItem(u"ID3v1 Only"_s, tagVersionsNumber(TagVersions::V1Only));
    cboId3TagRename->addItem(u"ID3v2 Only"_s, tagVersionsNumber(TagVersions::V2Only));
    chkTotalTracks = named(new QCheckBox(u"Add total tracks to ID3v2 track"_s, this), u"chkTotalTracks"_s);
    txtTotalTrack = named(new QLineEdit(this), u"txtTotalTrack"_s);
    txtTotalTrack->setMaximumWidth(50);

    // The album outputs: a check box and the folder the file goes to, one grid row each.
    struct OutputRow
    {
        QString text;
        QString checkName;
        QString listName;
        QString toolTip;
        QCheckBox *&check;
        QComboBox *&list;
    };
    const OutputRow outputs[] = {
        {u"Create playlist"_s, u"chkPlayList"_s, u"cboPlaylistDir"_s, {}, chkPlayList, cboPlaylistDir},
        {u"Copy cover image"_s, u"chkCover"_s, u"cboCoverDir"_s, {}, chkCover, cboCoverDir},
        {u"Create HTML page"_s, u"chkHtml"_s, u"cboHtmlDir"_s,
         u"A page of the album (artist, album, cover, tracks with their lengths, linked to the "
         u"files), named like the playlist with \".htm\""_s,
         chkHtml, cboHtmlDir},
    };
    for (const OutputRow &output : outputs) {
        output.check = named(new QCheckBox(output.text, this), output.checkName);
        if (!output.toolTip.isEmpty())
            output.check->setToolTip(output.toolTip);
        output.list = folderChoice(output.listName, this);
    }
    chkJoliet = named(new QCheckBox(u"Force Joliet compatibility for CD burning"_s, this), u"chkJoliet"_s);

    auto *grid = new QGridLayout(this);
    grid->addWidget(named(new QLabel(u"Use this ID3 version ->"_s, this), u"lblId3TagRename"_s), 0, 0);
    grid->addWidget(cboId3TagRename, 0, 1);
    grid->addWidget(chkTotalTracks, 1, 0);
    grid->addWidget(txtTotalTrack, 1, 1, Qt::AlignLeft);
    int row = 2;
    for (const OutputRow &output : outputs) {
        grid->addWidget(output.check, row, 0);
        grid->addWidget(output.list, row, 1);
        ++row;
    }
    grid->addWidget(chkJoliet, row, 0, 1, 2);

    // The target choices come last in the tab order, as they were added to the box.
    cboId3v2Rename = named(new QComboBox(this), u"cboId3v2Rename"_s);
    cboId3v2Rename->addItem(u"ID3v2.3"_s, int(ID3v2Version::V3));
    cboId3v2Rename->addItem(u"ID3v2.4"_s, int(ID3v2Version::V4));
    cboId3v2Rename->setToolTip(u"ID3v2.3: what the most players read. ID3v2.4: UTF-8 text, for current players."_s);
    chkEmbedCover = named(new QCheckBox(u"Embed cover in the files"_s, this), u"chkEmbedCover"_s);
    chkEmbedCover->setEnabled(false);
    cboTarget = named(new QComboBox(this), u"cboTarget"_s);
    for (const TargetProfile &profile : targetProfiles())
        cboTarget->addItem(QString(profile.label), QString(profile.name));

    grid->addWidget(cboId3v2Rename, 0, 2);
    row = grid->rowCount();
    grid->addWidget(chkEmbedCover, row, 0, 1, 2);
    grid->addWidget(named(new QLabel(u"Target :"_s, this), u"lblTarget"_s), row + 1, 0);
    grid->addWidget(cboTarget, row + 1, 1, 1, 2);
    grid->setRowStretch(grid->rowCount(), 1);
}

void RenameOptionsBox::connectControls()
{
    connect(cboId3TagRename, &QComboBox::currentIndexChanged, this, &RenameOptionsBox::updateTotalTracksEnabling);
    // The tag page shows the same two choices: each follows the other through the context.
    connect(cboId3TagRename, &QComboBox::activated, &context_, &MainContext::id3ModeChosen);
    connect(&context_, &MainContext::id3ModeChosen, this, [this](int index) {
        // A mode restored as -1 leaves no entry chosen here either.
        if (index >= -1 && index < cboId3TagRename->count())
            cboId3TagRename->setCurrentIndex(index);
    });
    connect(chkTotalTracks, &QCheckBox::toggled, this, &RenameOptionsBox::updateTotalTracksEnabling);

    // The playlist's and the page's folder choices follow their boxes; the cover's also waits
    // for a cover.
    connect(chkPlayList, &QCheckBox::toggled, cboPlaylistDir, &QComboBox::setEnabled);
    cboPlaylistDir->setEnabled(chkPlayList->isChecked());
    connect(chkCover, &QCheckBox::toggled, this, &RenameOptionsBox::updateCoverEnabling);
    connect(chkHtml, &QCheckBox::toggled, cboHtmlDir, &QComboBox::setEnabled);
    cboHtmlDir->setEnabled(chkHtml->isChecked());

    connect(cboTarget, &QComboBox::activated, this, &RenameOptionsBox::targetChosen);
    connect(cboId3v2Rename, &QComboBox::activated, &context_, &MainContext::id3v2VersionChosen);
    connect(&context_, &MainContext::id3v2VersionChosen, this, [this](int index) {
        if (index >= 0 && index < cboId3v2Rename->count())
            cboId3v2Rename->setCurrentIndex(index);
    });

    updateTotalTracksEnabling();
    updateCoverEnabling();
}

TagVersions RenameOptionsBox::tagVersions() const
{
    return tagVersionsFromNumber(cboId3TagRename->currentData().toInt()).value_or(TagVersions::Both);
}

ID3v2Version RenameOptionsBox::id3v2Version() const
{
    return id3v2VersionFromNumber(cboId3v2Rename->currentData().toInt()).value_or(ID3v2Version::V3);
}

void RenameOptionsBox::setTotalTrack(const QString &text)
{
    txtTotalTrack->setText(text);
}

void RenameOptionsBox::setCoverFile(const QString &coverFileName)
{
    coverFileName_ = coverFileName;
    updateCoverEnabling();
}

void RenameOptionsBox::holdCoverOptions()
{
    chkCover->setEnabled(false);
    cboCoverDir->setEnabled(false);
    chkEmbedCover->setEnabled(false);
}

void RenameOptionsBox::updateTotalTracksEnabling()
{
    const bool v2 = usesV2(tagVersions());
    chkTotalTracks->setEnabled(v2);
    txtTotalTrack->setEnabled(v2 && chkTotalTracks->isChecked());
}

void RenameOptionsBox::updateCoverEnabling()
{
    const bool haveCover = !coverFileName_.isEmpty();
    chkCover->setEnabled(haveCover);
    chkEmbedCover->setEnabled(haveCover);
    cboCoverDir->setEnabled(haveCover && chkCover->isChecked());
}

const TargetProfile *RenameOptionsBox::applyTargetProfile(int index)
{
    if (index < 0 || index >= targetProfiles().size())
        return nullptr;
    const TargetProfile &profile = targetProfiles().at(index);
    cboTarget->setCurrentIndex(index);
    // Each option goes through the signal its own drop-down sends, so the tag page follows.
    if (profile.tagVersions) {
        const int at = cboId3TagRename->findData(tagVersionsNumber(*profile.tagVersions));
        cboId3TagRename->setCurrentIndex(at);
        emit context_.id3ModeChosen(at);
    }
    if (profile.id3v2Version) {
        const int at = cboId3v2Rename->findData(int(*profile.id3v2Version));
        cboId3v2Rename->setCurrentIndex(at);
        emit context_.id3v2VersionChosen(at);
    }
    if (profile.embedCover)
        chkEmbedCover->setChecked(*profile.embedCover);
    coverFit_ = profile.coverFit;
    if (profile.joliet)
        chkJoliet->setChecked(*profile.joliet);
    return &profile;
}

void RenameOptionsBox::fillJobInput(RenameJobInput &input) const
{
    input.tagVersions = tagVersions();
    input.totalTracks = chkTotalTracks->isEnabled() && chkTotalTracks->isChecked();
    input.totalTrackText = txtTotalTrack->text();
    input.joliet = chkJoliet->isChecked();
    input.outputs.html = chkHtml->isChecked();
    input.outputs.htmlDir = outputFolderOf(cboHtmlDir->currentIndex());
    input.outputs.playlist = chkPlayList->isChecked();
    input.outputs.playlistDir = outputFolderOf(cboPlaylistDir->currentIndex());
    input.outputs.cover = chkCover->isEnabled() && chkCover->isChecked();
    input.outputs.coverDir = outputFolderOf(cboCoverDir->currentIndex());
    // The revision and the embedded cover belong to version 2 only.
    input.id3v2Version = usesV2(input.tagVersions) ? id3v2Version() : ID3v2Version::V3;
    input.embedCover.on = usesV2(input.tagVersions) && chkEmbedCover->isEnabled() && chkEmbedCover->isChecked();
    input.embedCover.file = coverFileName_;
    input.embedCover.fit = coverFit_;
}

QList<StoredControl> RenameOptionsBox::storedControls()
{
    return {
        storedListIndex(SettingsKeys::LastPlaylistDir, cboPlaylistDir),
        storedListIndex(SettingsKeys::LastCoverDir, cboCoverDir),
        storedCheck(SettingsKeys::CheckPlaylist, chkPlayList),
        storedCheck(SettingsKeys::CheckCover, chkCover),
        storedCheck(SettingsKeys::TotalTracks, chkTotalTracks),
        storedCheck(SettingsKeys::CheckJoliet, chkJoliet),
    };
}
