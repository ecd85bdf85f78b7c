#include "PageDirectory.h"

#include "ListFileCommands.h"
#include "MainContext.h"
#include "ui/lookup/WorkingListOf.h"
#include "foundation/Common.h"
#include "foundation/MessageGateway.h"
#include "foundation/PrintableText.h"
#include "foundation/Settings.h"
#include "album/DirectoryListing.h"
#include "ui/widgets/Icons.h"
#include "ui/widgets/TextSortedItem.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPersistentModelIndex>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int KeyRole = Qt::UserRole + 1;
// Repainting more often than this only slows a long scan down.
constexpr int RepaintIntervalMs = 50;

QString rowKey(const QTreeWidgetItem *row)
{
    return row ? row->data(0, KeyRole).toString() : QString();
}

} // namespace

PageDirectory::PageDirectory(MainContext &context, QWidget *parent)
    : QWidget(parent)
    , context_(context)
{
    setObjectName(u"fraWizard0"_s);
    buildControls();
}

void PageDirectory::buildFolderTree()
{
    folderModel_ = new QFileSystemModel(this);
    folderModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folderModel_->setReadOnly(true);
    folderModel_->setRootPath(QDir::rootPath());

    fdvDir_ = new QTreeView;
    fdvDir_->setObjectName(u"fdvDir"_s);
    // When the current folder disappears (the rename job removes an emptied folder, or another
    // program deletes it), the tree would make a neighbouring row current and so scan a folder
    // the user never chose. A vanished folder is no choice: the tree drops its current folder
    // and the list is scanned again, so it no longer offers files of a folder that is gone (a
    // rename or delete of such a row would act on a path without its folder). Connected before
    // the view sees the model, so the flag is up before the view moves its current row.
    connect(folderModel_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this](const QModelIndex &parent, int first, int last) {
            for (QModelIndex i = fdvDir_->currentIndex(); i.isValid(); i = i.parent()) {
                if (i.parent() == parent && i.row() >= first && i.row() <= last) {
                    ignoreTreeSelection_ = true;
                    return;
                }
            }
        });
    connect(folderModel_, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (!ignoreTreeSelection_)
            return;
        fdvDir_->selectionModel()->clear();
        ignoreTreeSelection_ = false;
        // Queued: the model is still busy removing, and a scan lets events through.
        QMetaObject::invokeMethod(this, [this] { listDirectory(context_.currentDirectory); }, Qt::QueuedConnection);
    });
    fdvDir_->setModel(folderModel_);
    for (int column = 1; column < folderModel_->columnCount(); ++column)
        fdvDir_->hideColumn(column);
    fdvDir_->setHeaderHidden(true);
    // Deep folders scroll sideways rather than being cut to a few letters.
    fdvDir_->header()->setStretchLastSection(false);
    fdvDir_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    fdvDir_->setSortingEnabled(true);
    fdvDir_->sortByColumn(0, Qt::AscendingOrder);
    fdvDir_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(fdvDir_->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &PageDirectory::onTreeSelection);
    // The model fills its folders in the background: the current folder can only be scrolled
    // into view once the levels above it are loaded.
    connect(folderModel_, &QFileSystemModel::directoryLoaded, this, [this](const QString &loaded) {
        const QModelIndex current = fdvDir_->currentIndex();
        if (!current.isValid() || !folderModel_->filePath(current).startsWith(loaded))
            return;
        // The model sorts a loaded folder a moment later, which moves the rows again.
        QTimer::singleShot(100, fdvDir_, [this] {
            if (fdvDir_->currentIndex().isValid())
                fdvDir_->scrollTo(fdvDir_->currentIndex(), QAbstractItemView::PositionAtCenter);
            fdvDir_->horizontalScrollBar()->setValue(0);
        });
    });
}

void PageDirectory::buildFolderBox()
{
    // The folder box shows the listed folder and takes a typed or pasted path: Enter goes
    // there; Escape or leaving the box puts the listed folder back, so the box never names a
    // folder other than the one whose files are shown.
    txtDirectoryFiles_ = new QLineEdit;
    txtDirectoryFiles_->setObjectName(u"txtDirectoryFiles"_s);
    // A folder dropped on the box opens it like a drop anywhere on the window, not as text.
    txtDirectoryFiles_->setAcceptDrops(false);
    txtDirectoryFiles_->installEventFilter(this);
    connect(txtDirectoryFiles_, &QLineEdit::returnPressed, this, [this] {
        const QString typed = txtDirectoryFiles_->text().trimmed();
        if (typed.isEmpty())
            showListedFolder();
        else
            emit pathEntered(typed);
    });
}

void PageDirectory::buildFileList()
{
    lstFiles_ = new QTreeWidget;
    lstFiles_->setObjectName(u"lstFiles"_s);
    lstFiles_->setRootIsDecorated(false);
    lstFiles_->setUniformRowHeights(true);
    lstFiles_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstFiles_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstFiles_->setItemDelegateForColumn(0, new ListFileCommands::FileNameDelegate(lstFiles_,
        [this](QTreeWidgetItem *row, const QString &newText) { renameInPlace(row, newText); }));
    lstFiles_->setSortingEnabled(true);
    lstFiles_->sortItems(0, Qt::AscendingOrder);
    lstFiles_->setContextMenuPolicy(Qt::CustomContextMenu);
    lstFiles_->installEventFilter(this);
    lstFiles_->header()->setSectionsClickable(true);
    connect(lstFiles_->header(), &QHeaderView::sectionClicked, this, &PageDirectory::onHeaderClicked);
    connect(lstFiles_, &QTreeWidget::itemSelectionChanged, this, &PageDirectory::updateOnlySelectedCheck);
    connect(lstFiles_, &QTreeWidget::itemClicked, this, &PageDirectory::rememberSelectedFile);
    connect(lstFiles_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (hasFiles())
            emit workWithTagRequested();
    });
    connect(lstFiles_, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &pos) { showContextMenu(lstFiles_->viewport()->mapToGlobal(pos)); });

    txtTotalFile_ = new QLineEdit(totalsZeroText());
    txtTotalFile_->setObjectName(u"txtTotalFile"_s);
    txtTotalFile_->setReadOnly(true);

    // A warning line of its own, never a row of the file list: the scan only shows what a crash
    // left here; the next rename job puts it right.
    lblLeftovers_ = new QLabel;
    lblLeftovers_->setObjectName(u"lblLeftovers"_s);
    lblLeftovers_->setTextFormat(Qt::PlainText);
    lblLeftovers_->setWordWrap(true);
    lblLeftovers_->hide();

    chkOnlySelectedFiles_ = new QCheckBox(u"&Use only selected files"_s);
    chkOnlySelectedFiles_->setObjectName(u"chkOnlySelectedFiles"_s);
}

void PageDirectory::buildContextMenu()
{
    mnuContext3_ = new QMenu(this);
    mnuContext3_->setObjectName(u"mnuContext3"_s);
    auto addEntry = [this](const QString &name, const QString &caption, auto slot) {
        return ListFileCommands::addMenuEntry(mnuContext3_, name, caption, this, slot);
    };
    addEntry(u"mnuEditTag"_s, u"&Edit Tag"_s, [this] { emit workWithTagRequested(); });
    mnuPlay_ = addEntry(u"mnuPlay3"_s, u"&Play MP3"_s, [this] { playCurrent(); });
    mnuContext3_->addSeparator();
    addEntry(u"mnuRename"_s, u"&Rename"_s, [this] { startRenameInPlace(); });
    addEntry(u"mnuOpen"_s, u"&Open"_s, [this] { openSelectedFile(); });
    addEntry(u"mnuDelete"_s, u"&Delete"_s, [this] { deleteSelectedFiles(); });
    mnuContext3_->addSeparator();
    addEntry(u"mnuRefresh"_s, u"&Refresh list"_s, [this] { selectDirectory(refreshFolder()); });
    mnuContext3_->addSeparator();
    addEntry(u"mnuPasteTrackList"_s, u"Paste track list"_s, [this] { emit pasteTrackListRequested(); });
}

void PageDirectory::buildControls()
{
    buildFolderTree();
    buildFolderBox();
    buildFileList();
    buildContextMenu();

    auto *folderLabel = new QLabel(u"Folder :"_s);
    folderLabel->setBuddy(txtDirectoryFiles_);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(folderLabel);
    folderRow->addWidget(txtDirectoryFiles_, 1);

    auto *filesSide = new QWidget;
    auto *filesLayout = new QVBoxLayout(filesSide);
    filesLayout->setContentsMargins(0, 0, 0, 0);
    filesLayout->addLayout(folderRow);
    filesLayout->addWidget(lstFiles_, 1);
    filesLayout->addWidget(txtTotalFile_);
    filesLayout->addWidget(lblLeftovers_);
    filesLayout->addWidget(chkOnlySelectedFiles_);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(fdvDir_);
    splitter->addWidget(filesSide);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 3);
    splitter->setChildrenCollapsible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
}

void PageDirectory::addColumnsLstViewFiles()
{
    lstFiles_->setColumnCount(6);
    lstFiles_->setHeaderLabels({u"File Name"_s, u"Size"_s, u"Length"_s, u"Bitrate"_s, u"Frequency"_s, u"Mode"_s});
    QTreeWidgetItem *header = lstFiles_->headerItem();
    for (int column = 1; column <= 4; ++column)
        header->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    // The five value columns share a fixed width; the name column takes what is left, less
    // the scroll bar when it shows.
    TextSortedItem::setValueColumns(lstFiles_, {1, 2, 3, 4});
    QHeaderView *view = lstFiles_->header();
    view->setStretchLastSection(false);
    view->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column <= 5; ++column) {
        view->setSectionResizeMode(column, QHeaderView::Interactive);
        lstFiles_->setColumnWidth(column, valueColumnWidth(column));
    }
}

int PageDirectory::valueColumnWidth(int column) const
{
    // Each value column is as wide as its header or its widest usual value, whichever is wider.
    static const QStringList headers{{}, u"Size"_s, u"Length"_s, u"Bitrate"_s, u"Frequency"_s, u"Mode"_s};
    static const QStringList widest{{}, u"99,999"_s, u"99:59"_s, u"320"_s, u"44100"_s, u"Joint Stereo"_s};
    const int padding = fontMetrics().horizontalAdvance(u"MM"_s);
    return std::max(fontMetrics().horizontalAdvance(widest.value(column)),
               fontMetrics().horizontalAdvance(headers.value(column)))
        + padding;
}

int PageDirectory::preferredWidth(int nameChars) const
{
    int files = lstFiles_->iconSize().width() + 24 + fontMetrics().averageCharWidth() * nameChars
        + lstFiles_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * lstFiles_->frameWidth();
    for (int column = 1; column <= 5; ++column)
        files += valueColumnWidth(column);
    // The folder tree keeps about a quarter of the page.
    return files * 4 / 3 + 2 * style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
}

bool PageDirectory::navigateTo(const QString &path)
{
    const QFileInfo info(path);
    if (path.trimmed().isEmpty() || !info.isDir())
        return false;
    const QModelIndex index = folderModel_->index(QDir::cleanPath(info.absoluteFilePath()));
    if (!index.isValid())
        return false;
    // Moving to the folder already shown lists it again, so a caller always gets a fresh list.
    if (fdvDir_->currentIndex() == index)
        selectDirectory(refreshFolder());
    else
        fdvDir_->setCurrentIndex(index);
    fdvDir_->scrollTo(index);
    return true;
}

QString PageDirectory::treeFolder() const
{
    const QModelIndex index = fdvDir_->currentIndex();
    return index.isValid() ? QDir::toNativeSeparators(folderModel_->filePath(index)) : QString();
}

void PageDirectory::selectFiles(const QStringList &names)
{
    if (!hasFiles())
        return;
    QList<QTreeWidgetItem *> rows;
    for (int i = 0; i < lstFiles_->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = lstFiles_->topLevelItem(i);
        if (names.contains(row->text(0)))
            rows << row;
    }
    if (rows.isEmpty())
        return;
    lstFiles_->clearSelection();
    lstFiles_->setCurrentItem(rows.first());
    for (QTreeWidgetItem *row : rows)
        row->setSelected(true);
    lstFiles_->scrollToItem(rows.first());
    context_.selectedFileName = rows.first()->text(0);
}

void PageDirectory::showListedFolder()
{
    txtDirectoryFiles_->setText(context_.currentDirectory.isEmpty() ? QString()
                                                                   : Common::addBackslash(context_.currentDirectory));
}

QString PageDirectory::refreshFolder() const
{
    const QString folder = treeFolder();
    return folder.isEmpty() ? context_.currentDirectory : folder;
}

QString PageDirectory::treeFolderWithSeparator() const
{
    // Without a folder in the tree (the shown one has vanished) the rows still came from the
    // folder last listed; an empty folder would make every path relative to the working folder.
    const QString folder = treeFolder();
    return Common::addBackslash(folder.isEmpty() ? listedFolder_ : folder);
}

void PageDirectory::focusFolderTree()
{
    if (fdvDir_->isVisible())
        fdvDir_->setFocus();
}

void PageDirectory::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The folder chosen before the window was first shown may lie outside the visible part.
    if (fdvDir_->currentIndex().isValid())
        fdvDir_->scrollTo(fdvDir_->currentIndex());
}

void PageDirectory::onTreeSelection()
{
    if (ignoreTreeSelection_)
        return;
    const QString folder = treeFolder();
    if (!folder.isEmpty())
        selectDirectory(folder);
}

bool PageDirectory::hasFiles() const
{
    return lstFiles_->topLevelItemCount() > 0 && rowKey(lstFiles_->topLevelItem(0)) != noFileKey();
}

QStringList PageDirectory::fileNames(bool onlySelected) const
{
    QStringList names;
    if (!hasFiles())
        return names;
    for (int i = 0; i < lstFiles_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = lstFiles_->topLevelItem(i);
        if (!onlySelected || row->isSelected())
            names << row->text(0);
    }
    return names;
}

bool PageDirectory::onlySelectedFiles() const
{
    return chkOnlySelectedFiles_->isChecked();
}

void PageDirectory::setOnlySelectedFiles(bool on)
{
    chkOnlySelectedFiles_->setChecked(on);
}

WorkingList PageDirectory::workingList() const
{
    WorkingList files = workingListOf(lstFiles_, 0, chkOnlySelectedFiles_->isChecked());
    files.activePage = 0;
    if (!hasFiles())
        files = WorkingList();
    return files;
}

void PageDirectory::playCurrent()
{
    if (!hasFiles())
        return;
    QTreeWidgetItem *current = lstFiles_->currentItem();
    if (!current && !lstFiles_->selectedItems().isEmpty())
        current = lstFiles_->selectedItems().first();
    emit playRequested(fileNames(false), current ? lstFiles_->indexOfTopLevelItem(current) : 0);
}

void PageDirectory::updateOnlySelectedCheck()
{
    chkOnlySelectedFiles_->setChecked(lstFiles_->selectedItems().size() >= 2);
}

void PageDirectory::rememberSelectedFile()
{
    if (hasFiles() && lstFiles_->currentItem())
        context_.selectedFileName = lstFiles_->currentItem()->text(0);
}

void PageDirectory::onHeaderClicked(int column)
{
    // The header has already flipped its own indicator when this runs; the order that counts
    // is the one the list was sorted in before the click.
    lstFiles_->sortItems(column, sort_.clicked(column));
}

void PageDirectory::selectDirectory(const QString &path)
{
    if (scanning_ || path.isEmpty())
        return;
    emit fileButtonsEnabled(false);
    context_.currentDirectory = path;
    txtDirectoryFiles_->setText(Common::addBackslash(path));
    txtTotalFile_->setText(totalsZeroText());
    lblLeftovers_->hide();
    sort_.resetOrder();
    lstFiles_->sortItems(0, sort_.order());

    listDirectory(context_.currentDirectory);

    Settings settings;
    settings.setValue(SettingsKeys::LastDirectory, context_.currentDirectory);
    updateOnlySelectedCheck();
    emit context_.currentDirectoryChanged(context_.currentDirectory);
}

void PageDirectory::listDirectory(const QString &path)
{
    if (scanning_)
        return;
    scanning_ = true;
    lstFiles_->clear();
    listedFolder_ = Common::addBackslash(path);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    // Only the directory page reads the audio columns; on other pages the rows get names and
    // icons and the totals line keeps its zero text.
    const bool audioColumns = context_.activeWizardPage == WizardPage::Directory;
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    int found = 0;
    const ListingResult result = ::listDirectory(path, {audioColumns, ListingOrder::Enumeration},
        [&](const ListedFile &file, int index, const QString &totalsLine) {
            auto *row = new TextSortedItem;
            row->setFlags(row->flags() | Qt::ItemIsEditable);
            row->setText(0, file.fileName);
            row->setIcon(0, iconForKey(file.iconKey));
            if (file.unreadable)
                row->setToolTip(0, u"This file cannot be read: no tags or audio properties are shown."_s);
            else if (file.noAudioFrame)
                row->setToolTip(0, u"No audio frame found: the file is damaged or holds no sound."_s);
            if (audioColumns) {
                row->setText(1, file.size);
                row->setText(2, file.length);
                row->setText(3, file.bitrate);
                row->setText(4, file.frequency);
                row->setText(5, file.mode);
                for (int column = 1; column <= 4; ++column)
                    row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
                // Until the last file the line also says how far the scan is.
                txtTotalFile_->setText(index + 1 < found
                    ? totalsLine + u"   -   Reading %1 / %2 files..."_s.arg(index + 1).arg(found)
                    : totalsLine);
            }
            lstFiles_->addTopLevelItem(row);
            // User input waits until the scan ends, so nothing can start a second scan.
            if (sinceRepaint.elapsed() >= RepaintIntervalMs) {
                if (audioColumns)
                    lstFiles_->scrollToItem(row);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                sinceRepaint.restart();
            }
        },
        [&](int count) { found = count; });

    QStringList warnings;
    for (const QString &warning : result.warnings)
        warnings << u"Warning: "_s + printableText(warning);
    lblLeftovers_->setText(warnings.join(u'\n'));
    lblLeftovers_->setVisible(!warnings.isEmpty());
    if (!result.folderReadable) {
        txtTotalFile_->setText(totalsFailureText(lstFiles_->topLevelItemCount()));
        context_.filesListed = false;
        emit filesListedChanged(false);
    } else if (lstFiles_->topLevelItemCount() > 0) {
        if (audioColumns)
            txtTotalFile_->setText(result.totalsLine);
        lstFiles_->sortItems(lstFiles_->sortColumn(), sort_.order());
        lstFiles_->clearSelection();
        QTreeWidgetItem *first = lstFiles_->topLevelItem(0);
        lstFiles_->setCurrentItem(first);
        lstFiles_->scrollToItem(first);
        context_.filesListed = true;
        emit filesListedChanged(true);
    } else {
        addPlaceholderRow();
        context_.filesListed = false;
        emit filesListedChanged(false);
    }
    QApplication::restoreOverrideCursor();
    scanning_ = false;
    emit fileButtonsEnabled(hasFiles());
}

void PageDirectory::addPlaceholderRow()
{
    auto *row = new TextSortedItem;
    row->setText(0, noFileText());
    for (int column = 1; column <= 5; ++column)
        row->setText(column, u" "_s);
    row->setIcon(0, iconForKey(u"Info"_s));
    row->setData(0, KeyRole, noFileKey());
    lstFiles_->addTopLevelItem(row);
    row->setSelected(false);
}

void PageDirectory::startRenameInPlace()
{
    if (context_.activeWizardPage != WizardPage::Directory || !hasFiles())
        return;
    if (QTreeWidgetItem *row = lstFiles_->currentItem()) {
        lstFiles_->setFocus();
        lstFiles_->editItem(row, 0);
    }
}

bool PageDirectory::renameInPlace(QTreeWidgetItem *row, const QString &newText)
{
    if (!row || rowKey(row) == noFileKey())
        return false;
    if (!ListFileCommands::renameFile(treeFolderWithSeparator(), row->text(0), newText,
            ListFileCommands::ExtensionCase::Exact))
        return false;
    row->setText(0, newText);
    context_.selectedFileName = newText;
    return true;
}

void PageDirectory::openSelectedFile()
{
    if (!hasFiles() || !lstFiles_->currentItem())
        return;
    ListFileCommands::openFile(treeFolderWithSeparator() + lstFiles_->currentItem()->text(0));
}

void PageDirectory::deleteSelectedFiles()
{
    if (!hasFiles())
        return;
    const QString folder = treeFolderWithSeparator();
    const QStringList names = fileNames(true);
    if (names.isEmpty())
        return;
    if (ListFileCommands::trashFiles(folder, names))
        selectDirectory(refreshFolder());
}

QMenu *PageDirectory::prepareContextMenu()
{
    mnuPlay_->setEnabled(playerAction_ && playerAction_->isEnabled());
    return mnuContext3_;
}

void PageDirectory::showContextMenu(const QPoint &globalPos)
{
    if (!hasFiles())
        return;
    rememberSelectedFile();
    updateOnlySelectedCheck();
    prepareContextMenu()->popup(globalPos);
}

bool PageDirectory::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtDirectoryFiles_) {
        if (event->type() == QEvent::FocusOut)
            showListedFolder();
        else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
                 && txtDirectoryFiles_->isModified()) {
            showListedFolder();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    const ListFileCommands::ListKey key = ListFileCommands::listKey(event);
    if (watched != lstFiles_ || key == ListFileCommands::ListKey::None)
        return QWidget::eventFilter(watched, event);
    // While a name is being edited the editor passes these keys on; Enter only ends the edit
    // (the editor commits it itself) and must not also leave the page.
    if (!hasFiles() || ListFileCommands::isEditing(lstFiles_))
        return true;
    switch (key) {
    case ListFileCommands::ListKey::Refresh:
        selectDirectory(refreshFolder());
        break;
    case ListFileCommands::ListKey::Rename:
        startRenameInPlace();
        break;
    case ListFileCommands::ListKey::Menu:
        rememberSelectedFile();
        showContextMenu(ListFileCommands::menuPosition(lstFiles_));
        break;
    case ListFileCommands::ListKey::Delete:
        // As the menu's "&Delete": the selected files, after the question.
        deleteSelectedFiles();
        break;
    default:
        rememberSelectedFile();
        emit workWithTagRequested();
        break;
    }
    return true;
}
