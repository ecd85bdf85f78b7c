#include "PageTag.h"

#include "ListFileCommands.h"
#include "MainContext.h"
#include "TagEditorPanel.h"
#include "ui/lookup/WorkingListOf.h"
#include "ui/widgets/ButtonEx.h"
#include "ui/widgets/CoreReports.h"
#include "ui/widgets/StoredControls.h"

#include "foundation/Common.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// The widgets are made in their tab order: the folder, the list and its options, the editor,
// then the commands.
PageTag::PageTag(MainContext &context, QWidget *parent)
    : QWidget(parent)
    , context_(context)
{
    setObjectName(u"PageTag"_s);
    txtDirectoryTag = new QLineEdit(this);
    txtDirectoryTag->setObjectName(u"txtDirectoryTag"_s);
    txtDirectoryTag->setReadOnly(true);

    lstFilesTag = new TagListView(this);
    buildContextMenu();

    // Alt+U is "&Use ID3 to rename files" on this page.
    chkOnlySelectedFilesTag = new QCheckBox(u"Use o&nly selected files"_s, this);
    chkOnlySelectedFilesTag->setObjectName(u"chkOnlySelectedFilesTag"_s);
    cboID3Mode = new QComboBox(this);
    cboID3Mode->setObjectName(u"cboID3Mode"_s);
    cboID3Mode->addItem(u"Use ID3v1 + ID3v2"_s, tagVersionsNumber(TagVersions::Both));
    cboID3Mode->addItem(u"Use ID3v1 Only"_s, tagVersionsNumber(TagVersions::V1Only));
    cboID3Mode->addItem(u"Use ID3v2 Only"_s, tagVersionsNumber(TagVersions::V2Only));
    cboID3v2Version = new QComboBox(this);
    cboID3v2Version->setObjectName(u"cboID3v2Version"_s);
    cboID3v2Version->addItem(u"Write ID3v2.3"_s, int(ID3v2Version::V3));
    cboID3v2Version->addItem(u"Write ID3v2.4"_s, int(ID3v2Version::V4));

    editor_ = new TagEditorPanel(context_, this);
    auto *commandArea = new QWidget(this);
    buildCommands(commandArea);

    layOutPage(commandArea);
    connectPage();
}

void PageTag::buildContextMenu()
{
    mnuContext1_ = new QMenu(this);
    mnuContext1_->setObjectName(u"mnuContext1"_s);
    auto addEntry = [this](const QString &name, const QString &caption, auto slot) {
        return ListFileCommands::addMenuEntry(mnuContext1_, name, caption, this, slot);
    };
    mnuPlay_ = addEntry(u"mnuPlay1"_s, u"&Play MP3"_s, [this] { playCurrent(); });
    mnuContext1_->addSeparator();
    addEntry(u"mnuRename1"_s, u"&Rename"_s, [this] { startRenameInPlace(); });
    addEntry(u"mnuOpen1"_s, u"&Open"_s, [this] { openSelectedFile(); });
    addEntry(u"mnuDelete1"_s, u"&Delete"_s, [this] { deleteSelectedFiles(); });
    mnuContext1_->addSeparator();
    addEntry(u"mnuRefresh1"_s, u"&Refresh list"_s, [this] { refreshList(); });
}

void PageTag::buildCommands(QWidget *commandArea)
{
    auto *commands = new QGridLayout;
    struct Command {
        QString caption;
        QString name;
        std::function<void()> run;
    };
    const Command buttons[] = {
        {u"&Write ID3 tag"_s, u"cmdWrite"_s, [this] { saveID3informations(cboID3Mode->currentData().toInt()); }},
        {u"&Delete ID3 tag"_s, u"cmdDelete"_s, [this] { removeShownTags(); }},
        {u"F&ill selected tags"_s, u"cmdCopyTag"_s, [this] { fillSelectedTags(); }},
        {u"Auto trac&k"_s, u"cmdAutoTrack"_s, [this] { autoFillTracks(); }},
        {u"Auto track v&2"_s, u"cmdAutoTrack2"_s, [this] { autoFillTracks(); }},
        {u"v1 -> v2"_s, u"cmdCopyId3To"_s, [this] { copyShownFile(TagCopy::V1ToV2); }},
        {u"v2 -> v1"_s, u"cmdCopyId3From"_s, [this] { copyShownFile(TagCopy::V2ToV1); }},
        {u"All v1 -> v2"_s, u"cmdCopyAllId3To"_s, [this] { copyFiles(TagCopy::V1ToV2); }},
        {u"All v2 -> v1"_s, u"cmdCopyAllId3From"_s, [this] { copyFiles(TagCopy::V2ToV1); }},
        {u"&Remove all tags"_s, u"cmdRemoveAllTag"_s, [this] { removeAllTags(); }}};
    int i = 0;
    for (const Command &c : buttons) {
        auto *button = new ButtonEx(c.caption, commandArea);
        button->setObjectName(c.name);
        connect(button, &ButtonEx::clicked, this, c.run);
        commands->addWidget(button, i / 5, i % 5);
        ++i;
    }

    // A batch over many files shows how far it got here.
    lblBatch = new QLabel(commandArea);
    lblBatch->setObjectName(u"lblBatch"_s);
    prgBatch = new QProgressBar(commandArea);
    prgBatch->setObjectName(u"prgBatch"_s);
    auto *progress = new QHBoxLayout;
    progress->addWidget(lblBatch);
    progress->addWidget(prgBatch, 1);
    lblBatch->hide();
    prgBatch->hide();

    auto *commandColumn = new QVBoxLayout(commandArea);
    commandColumn->setContentsMargins(0, 0, 0, 0);
    commandColumn->addLayout(commands);
    commandColumn->addLayout(progress);
}

void PageTag::layOutPage(QWidget *commandArea)
{
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(u"Directory :"_s, this));
    folderRow->addWidget(txtDirectoryTag, 1);

    auto *listArea = new QWidget(this);
    auto *listColumn = new QVBoxLayout(listArea);
    listColumn->setContentsMargins(0, 0, 0, 0);
    listColumn->addWidget(lstFilesTag, 1);
    auto *listOptions = new QHBoxLayout;
    listOptions->addWidget(chkOnlySelectedFilesTag);
    listOptions->addStretch(1);
    listOptions->addWidget(cboID3Mode);
    listOptions->addWidget(cboID3v2Version);
    listColumn->addLayout(listOptions);

    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(listArea);
    auto *editorScroll = new QScrollArea(this);
    editorScroll->setWidgetResizable(true);
    editorScroll->setFrameShape(QFrame::NoFrame);
    editorScroll->setWidget(editor_);
    split->addWidget(editorScroll);
    split->setChildrenCollapsible(false);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    // About five rows: on a small screen at a large scale the page must still fit the window.
    lstFilesTag->setMinimumHeight(100);

    auto *page = new QVBoxLayout(this);
    page->addLayout(folderRow);
    page->addWidget(split, 1);
    // The commands stay in sight however far the fields are scrolled.
    page->addWidget(commandArea);
}

void PageTag::connectPage()
{
    txtDirectoryTag->setText(context_.currentDirectory.isEmpty() ? QString()
                                                                 : Common::addBackslash(context_.currentDirectory));
    connect(&context_, &MainContext::currentDirectoryChanged, this, [this](const QString &dir) {
        txtDirectoryTag->setText(dir.isEmpty() ? QString() : Common::addBackslash(dir));
    });
    connect(lstFilesTag, &QTreeWidget::itemSelectionChanged, this, &PageTag::updateOnlySelectedCheck);
    connect(lstFilesTag, &TagListView::rowChosen, this, &PageTag::showCurrentRow);
    connect(lstFilesTag, &TagListView::nameEdited, this, &PageTag::renameInPlace);
    connect(lstFilesTag, &TagListView::playWanted, this, &PageTag::playCurrent);
    connect(lstFilesTag, &TagListView::refreshWanted, this, &PageTag::refreshList);
    connect(lstFilesTag, &TagListView::renameWanted, this, &PageTag::startRenameInPlace);
    connect(lstFilesTag, &TagListView::deleteWanted, this, &PageTag::deleteSelectedFiles);
    connect(lstFilesTag, &TagListView::contextMenuWanted, this, &PageTag::showContextMenu);
    // Leaving the tags for the file facts shows the chosen file afresh.
    connect(editor_, &TagEditorPanel::tagsTabLeft, this, [this] {
        if (QTreeWidgetItem *current = lstFilesTag->currentItem())
            showCurrentRow(current);
    });
    connect(cboID3Mode, &QComboBox::activated, &context_, &MainContext::id3ModeChosen);
    connect(cboID3v2Version, &QComboBox::activated, &context_, &MainContext::id3v2VersionChosen);
    connect(&context_, &MainContext::id3v2VersionChosen, this, [this](int index) {
        if (index >= 0 && index < cboID3v2Version->count())
            cboID3v2Version->setCurrentIndex(index);
    });
    connect(&context_, &MainContext::id3ModeChosen, this, [this](int index) {
        if (index >= 0 && index < cboID3Mode->count())
            cboID3Mode->setCurrentIndex(index);
    });
}

void PageTag::addColumnsLstViewFilesTag()
{
    lstFilesTag->addColumns();
}

void PageTag::fillTagList(const QStringList &fileNames)
{
    lstFilesTag->fill(context_.currentDirectory, fileNames);
    updateOnlySelectedCheck();
}

WorkingList PageTag::workingList() const
{
    WorkingList files = workingListOf(lstFilesTag, FileNameColumn, chkOnlySelectedFilesTag->isChecked());
    files.activePage = 1;
    return files;
}

void PageTag::resetForShow()
{
    lstFilesTag->resetForShow();
    editor_->reset();
}

QList<TagListRow> PageTag::tagListRows() const
{
    return lstFilesTag->rows();
}

void PageTag::sortByHeader(int column)
{
    lstFilesTag->sortByHeader(column);
}

ID3v2Version PageTag::currentV2Version() const
{
    return id3v2VersionFromNumber(cboID3v2Version->currentData().toInt()).value_or(ID3v2Version::V3);
}

std::optional<TagVersions> PageTag::chosenTagVersions() const
{
    return tagVersionsFromNumber(cboID3Mode->currentData().toInt());
}

TagVersions PageTag::currentMode() const
{
    return chosenTagVersions().value_or(TagVersions::Both);
}

QList<StoredControl> PageTag::storedControls()
{
    StoredControl mode = storedListIndex(SettingsKeys::Id3Mode, cboID3Mode);
    // The rename page's version follows, whether the stored mode could be read or not.
    mode.afterRestore = [this] { emit context_.id3ModeChosen(cboID3Mode->currentIndex()); };
    StoredControl revision = storedListIndex(SettingsKeys::Id3v2Version, cboID3v2Version);
    revision.afterRestore = [this] { emit context_.id3v2VersionChosen(cboID3v2Version->currentIndex()); };
    return {mode, revision};
}

void PageTag::fillGenreLists()
{
    editor_->fillGenreLists();
}

void PageTag::focusFirstRow()
{
    lstFilesTag->focusFirstRow();
}

void PageTag::updateOnlySelectedCheck()
{
    chkOnlySelectedFilesTag->setChecked(lstFilesTag->selectedItems().size() >= 2);
}

void PageTag::renameWithTag()
{
    const QList<TagListRow> rows = tagListRows();
    if (rows.isEmpty())
        return;
    RenameFromTags result;
    QString totalTracks;
    FromTagsStatus status = FromTagsStatus::NoRows;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        status = ::renameWithTag(rows, chkOnlySelectedFilesTag->isChecked(), context_.currentDirectory,
                                 lstFilesTag->albumRowIndex(), QString(), Msg::viaGateway(), result, totalTracks);
        if (status == FromTagsStatus::NothingSelected)
            showNoFileSelected();
    }
    if (status != FromTagsStatus::Built)
        return;
    emit context_.renameListFromTags(result.album, result.rows, result.iconKeys, totalTracks);
    emit requestPage(WizardPage::Rename);
}

void PageTag::playCurrent()
{
    QTreeWidgetItem *current = lstFilesTag->currentItem();
    if (!current)
        return;
    emit playRequested(lstFilesTag->fileNames(), lstFilesTag->indexOfTopLevelItem(current));
}

void PageTag::showTagInfo(const QString &fileName)
{
    editor_->showFile(fileName);
}

QString PageTag::shownFile() const
{
    return editor_->shownFile();
}

void PageTag::showCurrentRow(QTreeWidgetItem *row)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    updateOnlySelectedCheck();
    showTagInfo(TagListView::fileNameOf(row));
    QApplication::restoreOverrideCursor();
}

void PageTag::showContextMenu(const QPoint &globalPos)
{
    if (lstFilesTag->topLevelItemCount() == 0)
        return;
    updateOnlySelectedCheck();
    prepareContextMenu()->popup(globalPos);
}

QMenu *PageTag::prepareContextMenu()
{
    mnuPlay_->setEnabled(playerAction_ && playerAction_->isEnabled());
    return mnuContext1_;
}

void PageTag::startRenameInPlace()
{
    if (context_.activeWizardPage == WizardPage::Tag)
        lstFilesTag->editCurrentName();
}

bool PageTag::renameInPlace(QTreeWidgetItem *row, const QString &newText)
{
    if (!row)
        return false;
    // The scan lists ".MP3" and ".Mp3" files too: they can be renamed as long as the name
    // still ends in ".mp3" in some letter case.
    if (!ListFileCommands::renameFile(Common::addBackslash(context_.currentDirectory), TagListView::fileNameOf(row),
                                      newText, ListFileCommands::ExtensionCase::AnyCase))
        return false;
    row->setText(FileNameColumn, newText);
    showTagInfo(newText);
    return true;
}

void PageTag::openSelectedFile()
{
    if (QTreeWidgetItem *row = lstFilesTag->currentItem())
        ListFileCommands::openFile(pathOf(TagListView::fileNameOf(row)));
}

void PageTag::deleteSelectedFiles()
{
    const QStringList names = lstFilesTag->selectedFileNames();
    if (names.isEmpty())
        return;
    if (ListFileCommands::trashFiles(Common::addBackslash(context_.currentDirectory), names))
        refreshList();
}

void PageTag::refreshList()
{
    const QTreeWidgetItem *before = lstFilesTag->currentItem();
    const QString current = before ? TagListView::fileNameOf(before) : QString();
    emit rescanRequested();
    chkOnlySelectedFilesTag->setChecked(false);
    if (lstFilesTag->topLevelItemCount() == 0)
        return;
    // The list is made anew: the row of the file that was current, else the first.
    QTreeWidgetItem *row = lstFilesTag->rowNamed(current);
    if (!row)
        row = lstFilesTag->topLevelItem(0);
    lstFilesTag->setCurrentRowQuietly(row);
    showTagInfo(TagListView::fileNameOf(row));
    lstFilesTag->scrollToItem(row);
    lstFilesTag->setFocus();
}

QString PageTag::pathOf(const QString &fileName) const
{
    return Common::addBackslash(context_.currentDirectory) + fileName;
}
