#include "PageTag.h"

#include "ListFileCommands.h"
#include "MainContext.h"
#include "ui/lookup/WorkingListOf.h"
#include "ui/widgets/CoreReports.h"
#include "ui/widgets/GenreCombo.h"
#include "ui/widgets/Icons.h"
#include "ui/widgets/StoredControls.h"
#include "ui/widgets/TextSortedItem.h"

#include "foundation/Common.h"
#include "foundation/OrderedWork.h"
#include "album/DirectoryListing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScrollArea>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int IconKeyRole = Qt::UserRole + 1;

// The list shows an empty tag value as a single space, so that its cell is not taken for a
// missing one; reading the list back turns that space into an empty value again.
QString shown(const QString &value)
{
    return value.isEmpty() ? u" "_s : value;
}

QString unshown(const QString &text)
{
    return text == u" " ? QString() : text;
}

} // namespace

PageTag::PageTag(MainContext &context, QWidget *parent)
    : QWidget(parent)
    , context_(context)
{
    setObjectName(u"PageTag"_s);
    txtDirectoryTag = new QLineEdit(this);
    txtDirectoryTag->setObjectName(u"txtDirectoryTag"_s);
    txtDirectoryTag->setReadOnly(true);

    buildFileList();

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

    auto *editorArea = new QWidget(this);
    auto *commandArea = new QWidget(this);
    buildTagEditor(editorArea, commandArea);

    layOutPage(editorArea, commandArea);
    connectPage();
}

void PageTag::buildFileList()
{
    lstFilesTag = new QTreeWidget(this);
    lstFilesTag->setObjectName(u"lstFilesTag"_s);
    lstFilesTag->setRootIsDecorated(false);
    lstFilesTag->setUniformRowHeights(true);
    lstFilesTag->setAllColumnsShowFocus(true);
    lstFilesTag->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstFilesTag->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstFilesTag->setItemDelegateForColumn(FileNameColumn, new ListFileCommands::FileNameDelegate(lstFilesTag,
        [this](QTreeWidgetItem *row, const QString &newText) { renameInPlace(row, newText); }));
    lstFilesTag->setContextMenuPolicy(Qt::CustomContextMenu);
    lstFilesTag->header()->setSectionsClickable(true);
    addColumnsLstViewFilesTag();

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

void PageTag::layOutPage(QWidget *editorArea, QWidget *commandArea)
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
    editorScroll->setWidget(editorArea);
    split->addWidget(editorScroll);
    split->setChildrenCollapsible(false);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    // About five rows: on a small screen at a large scale the page must still fit the window.
    lstFilesTag->setMinimumHeight(100);

    auto *page = new QVBoxLayout(this);
    page->addLayout(folderRow);
    page->addWidget(split, 1);
    page->addWidget(commandArea);
}

void PageTag::connectPage()
{
    txtDirectoryTag->setText(context_.currentDirectory.isEmpty() ? QString()
                                                                 : Common::addBackslash(context_.currentDirectory));
    connect(&context_, &MainContext::currentDirectoryChanged, this, [this](const QString &dir) {
        txtDirectoryTag->setText(dir.isEmpty() ? QString() : Common::addBackslash(dir));
    });
    connect(lstFilesTag->header(), &QHeaderView::sectionClicked, this, &PageTag::sortByHeader);
    connect(lstFilesTag, &QTreeWidget::itemSelectionChanged, this, &PageTag::updateOnlySelectedCheck);
    connect(lstFilesTag, &QTreeWidget::itemDoubleClicked, this, &PageTag::playCurrent);
    connect(lstFilesTag, &QTreeWidget::currentItemChanged, this, &PageTag::onCurrentRowChanged);
    connect(lstFilesTag, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { showContextMenu(lstFilesTag->viewport()->mapToGlobal(pos)); });
    lstFilesTag->installEventFilter(this);
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
    if (lstFilesTag->columnCount() == ColumnCount && lstFilesTag->headerItem()->text(0) == u"File Name")
        return;
    lstFilesTag->setColumnCount(ColumnCount);
    lstFilesTag->setHeaderLabels(
        {u"File Name"_s, u"Title"_s, u"Artist"_s, u"Album"_s, u"Year"_s, u"Genre"_s, u"Comment"_s, u"T."_s});
    TextSortedItem::setValueColumns(lstFilesTag, {YearColumn, TrackColumn});
    // 100 twips each to start with; the file name column gets the room that is left.
    QHeaderView *header = lstFilesTag->header();
    header->setStretchLastSection(false);
    for (int c = 0; c < ColumnCount; ++c)
        header->resizeSection(c, c == FileNameColumn ? 200 : (c == TrackColumn ? 36 : 100));
    header->setSectionResizeMode(FileNameColumn, QHeaderView::Stretch);
}

void PageTag::fillTagList(const QStringList &fileNames)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([this] {
        movingRows_ = false;
        QApplication::restoreOverrideCursor();
    });
    movingRows_ = true;
    lstFilesTag->clear();
    // The tags are read side by side; the rows are added in order on this thread.
    struct Read {
        QString iconKey;
        TagListRow row;
    };
    const QString folder = context_.currentDirectory;
    OrderedWork::run<Read>(
        int(fileNames.size()), 0,
        [&](int i) {
            const QString &name = fileNames.at(i);
            return Read{readListedFile(folder, name, false).iconKey, readTagListRow(folder, name)};
        },
        [&](int i, Read &read) {
            auto *item = new TextSortedItem(lstFilesTag);
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            item->setText(FileNameColumn, fileNames.at(i));
            item->setIcon(FileNameColumn, iconForKey(read.iconKey));
            item->setData(FileNameColumn, IconKeyRole, read.iconKey);
            fillTagRow(item, read.row);
        });
    updateOnlySelectedCheck();
}

WorkingList PageTag::workingList() const
{
    WorkingList files = workingListOf(lstFilesTag, FileNameColumn, chkOnlySelectedFilesTag->isChecked());
    files.activePage = 1;
    return files;
}

void PageTag::fillTagRow(QTreeWidgetItem *item, const TagListRow &row)
{
    item->setText(TitleColumn, shown(row.title));
    item->setText(ArtistColumn, shown(row.artist));
    item->setText(AlbumColumn, shown(row.album));
    item->setText(YearColumn, shown(row.year));
    item->setText(GenreColumn, shown(row.genre));
    item->setText(CommentColumn, shown(row.comment));
    item->setText(TrackColumn, shown(row.track));
}

QList<TagListRow> PageTag::tagListRows() const
{
    QList<TagListRow> rows;
    for (int i = 0; i < lstFilesTag->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = lstFilesTag->topLevelItem(i);
        TagListRow row;
        row.fileName = item->text(FileNameColumn);
        row.title = unshown(item->text(TitleColumn));
        row.artist = unshown(item->text(ArtistColumn));
        row.album = unshown(item->text(AlbumColumn));
        row.year = unshown(item->text(YearColumn));
        row.genre = unshown(item->text(GenreColumn));
        row.comment = unshown(item->text(CommentColumn));
        row.track = unshown(item->text(TrackColumn));
        row.selected = item->isSelected();
        rows.append(row);
    }
    return rows;
}

void PageTag::sortByHeader(int column)
{
    if (column == lastSortColumn_)
        sortOrder_ = sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    lastSortColumn_ = column;
    lstFilesTag->sortItems(column, sortOrder_);
    lstFilesTag->header()->setSortIndicatorShown(true);
    lstFilesTag->header()->setSortIndicator(column, sortOrder_);
}

ID3v2Version PageTag::currentV2Version() const
{
    return id3v2VersionFromNumber(cboID3v2Version->currentData().toInt()).value_or(ID3v2Version::V3);
}

std::optional<TagVersions> PageTag::chosenTagVersions() const
{
    return tagVersionsFromNumber(cboID3Mode->currentData().toInt());
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
    fillGenreList(cboGenre);
    fillGenreList(cboGenre2);
}

void PageTag::focusFirstRow()
{
    if (lstFilesTag->topLevelItemCount() == 0)
        return;
    lstFilesTag->setFocus();
    lstFilesTag->clearSelection();
    lstFilesTag->setCurrentItem(lstFilesTag->topLevelItem(0));
}

void PageTag::updateOnlySelectedCheck()
{
    chkOnlySelectedFilesTag->setChecked(lstFilesTag->selectedItems().size() >= 2);
}

// The album fields come from the list's selected row: the current row when it is selected,
// else the first selected row; with no row selected the first row used is taken.
int PageTag::albumRowIndex() const
{
    QTreeWidgetItem *current = lstFilesTag->currentItem();
    if (current && current->isSelected())
        return lstFilesTag->indexOfTopLevelItem(current);
    for (int i = 0; i < lstFilesTag->topLevelItemCount(); ++i) {
        if (lstFilesTag->topLevelItem(i)->isSelected())
            return i;
    }
    return -1;
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
                                 albumRowIndex(), QString(), Msg::viaGateway(), result, totalTracks);
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
    QStringList names;
    for (int i = 0; i < lstFilesTag->topLevelItemCount(); ++i)
        names << lstFilesTag->topLevelItem(i)->text(FileNameColumn);
    emit playRequested(names, lstFilesTag->indexOfTopLevelItem(current));
}

bool PageTag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == imgCoverArt && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        showCoverWindow();
        return true;
    }
    const ListFileCommands::ListKey key = ListFileCommands::listKey(event);
    if (watched != lstFilesTag || key == ListFileCommands::ListKey::None)
        return QWidget::eventFilter(watched, event);
    // While a name is being edited the editor passes these keys on; Enter only ends the edit.
    if (ListFileCommands::isEditing(lstFilesTag))
        return true;
    switch (key) {
    case ListFileCommands::ListKey::Refresh:
        refreshList();
        break;
    case ListFileCommands::ListKey::Rename:
        startRenameInPlace();
        break;
    case ListFileCommands::ListKey::Menu:
        showContextMenu(ListFileCommands::menuPosition(lstFilesTag));
        break;
    case ListFileCommands::ListKey::Delete:
        deleteSelectedFiles();
        break;
    default:
        playCurrent();
        break;
    }
    return true;
}

void PageTag::onCurrentRowChanged(QTreeWidgetItem *current)
{
    // A click or a key that moves to another row shows that file; the page's own moves do not.
    if (movingRows_ || !current)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    updateOnlySelectedCheck();
    showTagInfo(current->text(FileNameColumn));
    QApplication::restoreOverrideCursor();
}

void PageTag::onEditorTabChanged(int index)
{
    // Leaving the tags for the file facts shows the chosen file afresh.
    const int left = editorTab_;
    editorTab_ = index;
    if (left != 0)
        return;
    QTreeWidgetItem *current = lstFilesTag->currentItem();
    if (!current)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    updateOnlySelectedCheck();
    showTagInfo(current->text(FileNameColumn));
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
    if (context_.activeWizardPage != WizardPage::Tag)
        return;
    if (QTreeWidgetItem *row = lstFilesTag->currentItem()) {
        lstFilesTag->setFocus();
        lstFilesTag->editItem(row, FileNameColumn);
    }
}

bool PageTag::renameInPlace(QTreeWidgetItem *row, const QString &newText)
{
    if (!row)
        return false;
    // The scan lists ".MP3" and ".Mp3" files too: they can be renamed as long as the name
    // still ends in ".mp3" in some letter case.
    if (!ListFileCommands::renameFile(Common::addBackslash(context_.currentDirectory), row->text(FileNameColumn),
                                      newText, ListFileCommands::ExtensionCase::AnyCase))
        return false;
    row->setText(FileNameColumn, newText);
    showTagInfo(newText);
    return true;
}

void PageTag::openSelectedFile()
{
    if (QTreeWidgetItem *row = lstFilesTag->currentItem())
        ListFileCommands::openFile(pathOf(row->text(FileNameColumn)));
}

void PageTag::deleteSelectedFiles()
{
    QStringList names;
    for (int i = 0; i < lstFilesTag->topLevelItemCount(); ++i) {
        if (lstFilesTag->topLevelItem(i)->isSelected())
            names << lstFilesTag->topLevelItem(i)->text(FileNameColumn);
    }
    if (names.isEmpty())
        return;
    if (ListFileCommands::trashFiles(Common::addBackslash(context_.currentDirectory), names))
        refreshList();
}

void PageTag::refreshList()
{
    const QString current = lstFilesTag->currentItem() ? lstFilesTag->currentItem()->text(FileNameColumn) : QString();
    emit rescanRequested();
    chkOnlySelectedFilesTag->setChecked(false);
    if (lstFilesTag->topLevelItemCount() == 0)
        return;
    // The list is made anew: the row of the file that was current, else the first.
    QTreeWidgetItem *row = rowNamed(current);
    if (!row)
        row = lstFilesTag->topLevelItem(0);
    movingRows_ = true;
    lstFilesTag->setCurrentItem(row);
    movingRows_ = false;
    showTagInfo(row->text(FileNameColumn));
    lstFilesTag->scrollToItem(row);
    lstFilesTag->setFocus();
}

QTreeWidgetItem *PageTag::rowNamed(const QString &fileName) const
{
    for (int i = 0; i < lstFilesTag->topLevelItemCount(); ++i) {
        if (lstFilesTag->topLevelItem(i)->text(FileNameColumn) == fileName)
            return lstFilesTag->topLevelItem(i);
    }
    return nullptr;
}

QString PageTag::pathOf(const QString &fileName) const
{
    return Common::addBackslash(context_.currentDirectory) + fileName;
}
