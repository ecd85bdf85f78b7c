#include "PageRename.h"

#include "AlbumFieldsBox.h"
#include "MainContext.h"
#include "RenameListView.h"
#include "RenameOptionsBox.h"
#include "ui/side/frmSelectDir.h"
#include "ui/widgets/Icons.h"
#include "ui/widgets/Named.h"
#include "ui/widgets/StoredControls.h"

#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "foundation/Settings.h"
#include "album/LookupHandOver.h"
#include "jobs/RenamePlan.h"
#include "jobs/TargetProfiles.h"
#include "naming/MaskLanguage.h"
#include "naming/NameBuilder.h"
#include "naming/TextEffects.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include "ui/widgets/ButtonEx.h"
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

PageRename::PageRename(MainContext &context, QWidget *parent)
    : QWidget(parent)
    , context_(context)
{
    setObjectName(u"PageRename"_s);
    buildControls();
    connectControls();
    album_->fillGenres();
}

PageRename::~PageRename() = default;

void PageRename::buildControls()
{
    txtDirectory = named(new QLineEdit(this), u"txtDirectory"_s);
    txtDirectory->setReadOnly(true);
    album_ = new AlbumFieldsBox(this);
    lstResult = new RenameListView(this);
    cmdEditTrack = named(new ButtonEx(u"E&dit selected track"_s, this), u"cmdEditTrack"_s);
    QGroupBox *naming = buildNamingBox();
    options_ = new RenameOptionsBox(context_, this);

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(u"Directory :"_s, this));
    folderRow->addWidget(txtDirectory, 1);

    auto *listColumn = new QVBoxLayout;
    listColumn->addWidget(lstResult, 1);
    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(cmdEditTrack);
    listButtons->addStretch(1);
    listColumn->addLayout(listButtons);

    auto *middle = new QHBoxLayout;
    middle->addLayout(listColumn, 1);
    middle->addWidget(options_);

    // The page scrolls rather than forcing the main window to grow past its remembered size.
    auto *content = new QWidget;
    auto *page = new QVBoxLayout(content);
    page->addLayout(folderRow);
    page->addWidget(album_);
    page->addLayout(middle, 1);
    page->addWidget(naming);
    content_ = content;
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

QGroupBox *PageRename::buildNamingBox()
{
    auto *naming = named(new QGroupBox(u"New file names"_s, this), u"fraNaming"_s);
    cboMask = named(new QComboBox(naming), u"cboMask"_s);
    cboMask->setEditable(true);
    cboMask->setInsertPolicy(QComboBox::NoInsert);
    cboMask->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmdMaskEdit = named(new ButtonEx(u"&Mask Editor"_s, naming), u"cmdMaskEdit"_s);
    cboDestDir = folderChoice(u"cboDestDir"_s, naming);
    cboDestDir->setEditable(true);
    cboDestDir->setInsertPolicy(QComboBox::NoInsert);
    cboDestDir->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmdSelectDestDir = named(new ButtonEx(u"..."_s, naming), u"cmdSelectDestDir"_s);
    cmdSelectDestDir->setToolTip(u"Select a destination directory"_s);
    cmdSelectDestDir->setMaximumWidth(32);
    chkTextEffect = named(new QCheckBox(u"Apply Text effect"_s, naming), u"chkTextEffect"_s);
    cboTextEffect = named(new QComboBox(naming), u"cboTextEffect"_s);
    cboTextEffect->addItems({u"abC def -> Abc Def"_s, u"Abc def -> aBc DeF"_s, u"ABc Def -> abc def"_s,
                             u"AbC Def -> ABC DEF"_s});
    chkReplaceSpaces = named(new QCheckBox(u"Replace spaces by"_s, naming), u"chkReplaceSpaces"_s);
    cboReplaceSpaces = named(new QComboBox(naming), u"cboReplaceSpaces"_s);
    cboReplaceSpaces->addItems({u"Underscores"_s, u"Points"_s, u"Nothing"_s});
    txtNewFileName = named(new QLineEdit(naming), u"txtNewFileName"_s);
    txtNewFileName->setReadOnly(true);

    auto *namingGrid = new QGridLayout(naming);
    namingGrid->addWidget(new QLabel(u"Mask :"_s, naming), 0, 0);
    namingGrid->addWidget(cboMask, 0, 1, 1, 2);
    namingGrid->addWidget(cmdMaskEdit, 0, 3);
    namingGrid->addWidget(new QLabel(u"Destination :"_s, naming), 1, 0);
    namingGrid->addWidget(cboDestDir, 1, 1, 1, 2);
    namingGrid->addWidget(cmdSelectDestDir, 1, 3, Qt::AlignLeft);
    namingGrid->addWidget(chkTextEffect, 2, 0);
    namingGrid->addWidget(cboTextEffect, 2, 1);
    namingGrid->addWidget(chkReplaceSpaces, 2, 2, Qt::AlignRight);
    namingGrid->addWidget(cboReplaceSpaces, 2, 3);
    namingGrid->addWidget(new QLabel(u"New file name :"_s, naming), 3, 0);
    namingGrid->addWidget(txtNewFileName, 3, 1, 1, 3);
    namingGrid->setColumnStretch(1, 1);
    return naming;
}

QSize PageRename::sizeHint() const
{
    // What the page needs to show every control without scrolling (the scroll area alone would
    // ask for a fixed, smaller size).
    return content_ ? content_->sizeHint() : QWidget::sizeHint();
}

void PageRename::connectControls()
{
    txtDirectory->setText(context_.currentDirectory.isEmpty() ? QString() : Common::addBackslash(context_.currentDirectory));
    connect(&context_, &MainContext::currentDirectoryChanged, this, [this](const QString &dir) {
        txtDirectory->setText(dir.isEmpty() ? QString() : Common::addBackslash(dir));
        refreshPreview();
    });

    // Every input of the name builder recomputes the preview, so it always shows the path the
    // job will use.
    connect(album_, &AlbumFieldsBox::edited, this, &PageRename::refreshPreview);
    for (QComboBox *combo : {cboTextEffect, cboReplaceSpaces})
        connect(combo, &QComboBox::currentIndexChanged, this, &PageRename::refreshPreview);

    connect(cboMask, &QComboBox::activated, this, &PageRename::onMaskChosen);
    connect(cmdMaskEdit, &ButtonEx::clicked, this, &PageRename::openMaskEditor);
    connect(cboMask, &QComboBox::editTextChanged, this, [this](const QString &text) {
        cboMask->setToolTip(text);
        refreshPreview();
    });
    connect(cboDestDir, &QComboBox::editTextChanged, this, [this](const QString &text) {
        cboDestDir->setToolTip(text);
        refreshPreview();
    });
    connect(cmdSelectDestDir, &ButtonEx::clicked, this, &PageRename::chooseDestinationFolder);

    connect(chkTextEffect, &QCheckBox::toggled, this, [this](bool on) {
        cboTextEffect->setEnabled(on);
        refreshPreview();
    });
    connect(chkReplaceSpaces, &QCheckBox::toggled, this, [this](bool on) {
        cboReplaceSpaces->setEnabled(on);
        refreshPreview();
    });
    cboTextEffect->setEnabled(chkTextEffect->isChecked());
    cboReplaceSpaces->setEnabled(chkReplaceSpaces->isChecked());

    connect(txtNewFileName, &QLineEdit::textChanged, txtNewFileName, &QLineEdit::setToolTip);

    connect(lstResult, &QTreeWidget::currentItemChanged, this, &PageRename::refreshPreview);
    connect(lstResult, &QTreeWidget::itemClicked, this, &PageRename::refreshPreview);
    connect(lstResult, &RenameListView::titleEdited, this, &PageRename::refreshPreview);
    connect(lstResult, &RenameListView::contextMenuWanted, this, &PageRename::contextMenuWanted);
    connect(lstResult, &RenameListView::playRequested, this, &PageRename::playRow);
    connect(cmdEditTrack, &ButtonEx::clicked, this, &PageRename::editSelectedTrack);

    connect(&context_, &MainContext::renameListFromTags, this, &PageRename::takeRenameListFromTags);
    connect(options_, &RenameOptionsBox::targetChosen, this, &PageRename::applyTargetProfile);
}

void PageRename::onMaskChosen()
{
    const QString mask = cboMask->currentText();
    cboMask->setToolTip(mask);
    // A mask too long to come back whole is not remembered.
    if (maskLengthAccepted())
        Settings().setValue(SettingsKeys::LastMask, mask);
    refreshPreview();
}

QList<StoredControl> PageRename::storedControls()
{
    // The main window restores them in its own fixed order, whatever the order here.
    return QList<StoredControl>{
        storedText(SettingsKeys::LastMask, cboMask, [this](const QString &text) { restoreMask(text); }),
        storedListIndex(SettingsKeys::LastTextEffect, cboTextEffect),
        storedListIndex(SettingsKeys::LastReplaceSpaces, cboReplaceSpaces),
        storedText(SettingsKeys::LastDestinationDir, cboDestDir, [this](const QString &text) { restoreDestination(text); }),
        storedCheck(SettingsKeys::CheckTextEffect, chkTextEffect),
        storedCheck(SettingsKeys::CheckReplaceSpaces, chkReplaceSpaces),
    } + options_->storedControls();
}

// A numeric mask is no mask: the drop-down then shows its first entry.
void PageRename::restoreMask(const QString &stored)
{
    if (!stored.isEmpty() && !Basic::isNumeric(stored))
        cboMask->setCurrentText(stored);
    if (cboMask->currentText().isEmpty() && cboMask->count() > 0)
        cboMask->setCurrentIndex(0);
}

void PageRename::restoreDestination(const QString &stored)
{
    if (stored == Destination::parentDirectory())
        cboDestDir->setCurrentIndex(1);
    else if (stored == Destination::mp3Directory())
        cboDestDir->setCurrentIndex(0);
    else {
        cboDestDir->addItem(stored, 0);
        cboDestDir->setCurrentIndex(cboDestDir->count() - 1);
    }
    context_.selectedDestinationDirectory = stored;
}

void PageRename::fillGenreLists()
{
    album_->fillGenres();
}

void PageRename::focusRenameList()
{
    lstResult->setFocus();
}

void PageRename::holdCoverOptions()
{
    options_->holdCoverOptions();
    album_->hideCover();
}

void PageRename::windowActivated()
{
    if (!lstResult->isVisible())
        return;
    lstResult->setFocus();
    refreshPreview();
}

void PageRename::playCurrent()
{
    playRow(lstResult->currentRow());
}

void PageRename::playRow(int row)
{
    if (row < 0)
        return;
    QStringList names;
    for (const RenameRow &track : lstResult->rows())
        names << track.fileName;
    emit playRequested(names, row);
}

void PageRename::chooseDestinationFolder()
{
    QString start = cboDestDir->currentText().trimmed();
    if (start.isEmpty() || start == Destination::mp3Directory() || start == Destination::parentDirectory())
        start = context_.currentDirectory;
    const QString chosen = frmSelectDir::choose(this, start);
    context_.selectedDestinationDirectory = chosen;
    if (chosen.isEmpty())
        return;
    int index = cboDestDir->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        cboDestDir->addItem(chosen, 0);
        index = cboDestDir->count() - 1;
    }
    cboDestDir->setCurrentIndex(index);
    cboDestDir->setToolTip(cboDestDir->currentText());
    refreshPreview();
}

AlbumFields PageRename::albumFields() const
{
    return album_->fields();
}

NamingOptions PageRename::namingOptions() const
{
    NamingOptions options;
    options.mask = cboMask->currentText();
    options.destination = cboDestDir->currentText();
    if (chkTextEffect->isChecked())
        options.textEffect = textEffectAt(cboTextEffect->currentIndex());
    if (chkReplaceSpaces->isChecked())
        options.replaceSpaces = spaceReplacementAt(cboReplaceSpaces->currentIndex());
    return options;
}

RenameList PageRename::renameRows() const
{
    return lstResult->rows();
}

QString PageRename::newFileNameOf(int row) const
{
    // A mask the job would refuse is not expanded for the preview either.
    if (!maskLengthProblem(cboMask->currentText()).isEmpty())
        return {};
    // The job's own plan, so the preview shows exactly where the job will put the file.
    const AlbumRenamePlan plan = planAlbumRename(jobInput());
    return row >= 0 && row < plan.rows.size() ? plan.rows.at(row).destination : QString();
}

TagVersions PageRename::tagVersions() const
{
    return options_->tagVersions();
}

ID3v2Version PageRename::id3v2Version() const
{
    return options_->id3v2Version();
}

void PageRename::applyTargetProfile(int index)
{
    const TargetProfile *profile = options_->applyTargetProfile(index);
    if (!profile)
        return;
    // "Replace spaces by" is a naming option, outside the options box.
    if (profile->replaceSpaces)
        chkReplaceSpaces->setChecked(*profile->replaceSpaces);
    refreshPreview();
}

void PageRename::refreshPreview()
{
    if (context_.activeWizardPage != WizardPage::Rename || !lstResult->isVisible())
        return;
    const int row = lstResult->currentRow();
    txtNewFileName->setText(row >= 0 ? newFileNameOf(row) : QString());
}

void PageRename::editSelectedTrack()
{
    lstResult->editCurrentTitle();
}

void PageRename::setRenameList(const RenameList &rows, const QStringList &iconKeys)
{
    lstResult->setRows(rows, iconKeys);
    refreshPreview();
}

void PageRename::setAlbumFields(const AlbumFields &album, bool keepComment)
{
    album_->setFields(album, keepComment);
}

void PageRename::setTotalTrack(const QString &text)
{
    options_->setTotalTrack(text);
}

void PageRename::setCoverDownload(const QString &fileName)
{
    coverDownloadFileName_ = fileName;
    album_->showCover(fileName);
    options_->setCoverFile(fileName);
}

bool PageRename::genreAtFirstEntry() const
{
    return album_->genreAtFirstEntry();
}

void PageRename::takeLookup(const LookupHandOver &handOver)
{
    setTotalTrack(handOver.totalTracks);
    setRenameList(handOver.rows, handOver.iconKeys);
    setAlbumFields(handOver.album, true);
    setCoverDownload(handOver.coverDownloadFileName);
}

void PageRename::takeRenameListFromTags(const AlbumFields &album, const RenameList &rows,
                                        const QStringList &iconKeys, const QString &totalTrack)
{
    setTotalTrack(totalTrack);
    setRenameList(rows, iconKeys);
    setAlbumFields(album, true);
}

void PageRename::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refreshPreview();
}
