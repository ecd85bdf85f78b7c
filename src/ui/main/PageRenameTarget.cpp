// The rename page's target choices: the ID3v2 revision, "Embed cover in the files" and the
// "Target" profiles, which set those and other options of the page at once.
#include "PageRename.h"

#include "MainContext.h"

#include "jobs/AlbumRenameJob.h"
#include "jobs/TargetProfiles.h"
#include "ui/widgets/Named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

void PageRename::buildTargetControls(QWidget *options, QGridLayout *grid)
{
    cboId3v2Rename = named(new QComboBox(options), u"cboId3v2Rename"_s);
    cboId3v2Rename->addItem(u"ID3v2.3"_s, int(ID3v2Version::V3));
    cboId3v2Rename->addItem(u"ID3v2.4"_s, int(ID3v2Version::V4));
    cboId3v2Rename->setToolTip(u"ID3v2.3: what the most players read. ID3v2.4: UTF-8 text, for current players."_s);
    chkEmbedCover = named(new QCheckBox(u"Embed cover in the files"_s, options), u"chkEmbedCover"_s);
    chkEmbedCover->setEnabled(false);
    cboTarget = named(new QComboBox(options), u"cboTarget"_s);
    for (const TargetProfile &profile : targetProfiles())
        cboTarget->addItem(QString(profile.label), QString(profile.name));

    grid->addWidget(cboId3v2Rename, 0, 2);
    const int row = grid->rowCount();
    grid->addWidget(chkEmbedCover, row, 0, 1, 2);
    grid->addWidget(named(new QLabel(u"Target :"_s, options), u"lblTarget"_s), row + 1, 0);
    grid->addWidget(cboTarget, row + 1, 1, 1, 2);
}

void PageRename::connectTargetControls()
{
    connect(cboTarget, &QComboBox::activated, this, &PageRename::applyTargetProfile);
    connect(cboId3v2Rename, &QComboBox::activated, &context_, &MainContext::id3v2VersionChosen);
    connect(&context_, &MainContext::id3v2VersionChosen, this, [this](int index) {
        if (index >= 0 && index < cboId3v2Rename->count())
            cboId3v2Rename->setCurrentIndex(index);
    });
}

ID3v2Version PageRename::id3v2Version() const
{
    return id3v2VersionFromNumber(cboId3v2Rename->currentData().toInt()).value_or(ID3v2Version::V3);
}

void PageRename::applyTargetProfile(int index)
{
    if (index < 0 || index >= targetProfiles().size())
        return;
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
    if (profile.replaceSpaces)
        chkReplaceSpaces->setChecked(*profile.replaceSpaces);
    refreshPreview();
}

void PageRename::fillTargetInput(RenameJobInput &input) const
{
    input.id3v2Version = usesV2(input.tagVersions) ? id3v2Version() : ID3v2Version::V3;
    input.embedCover.on = usesV2(input.tagVersions) && chkEmbedCover->isEnabled() && chkEmbedCover->isChecked();
    input.embedCover.file = coverDownloadFileName_;
    input.embedCover.fit = coverFit_;
}
