#include "frmSelectDir.h"

#include "foundation/MessageGateway.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QStorageInfo>
#include "ui/widgets/ButtonEx.h"
#include <QTreeView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int PathRole = Qt::UserRole + 1;

/// File systems that hold no user's folders: the kernel's views, memory and containers.
bool isSystemMount(const QStorageInfo &volume)
{
    static const QList<QByteArray> kinds{"proc", "sysfs", "devtmpfs", "devpts", "tmpfs", "cgroup", "cgroup2",
        "securityfs", "pstore", "debugfs", "tracefs", "configfs", "fusectl", "mqueue", "hugetlbfs", "bpf",
        "autofs", "binfmt_misc", "overlay", "squashfs", "efivarfs", "ramfs", "nsfs", "rpc_pipefs"};
    const QString root = volume.rootPath();
    return kinds.contains(volume.fileSystemType()) || root.startsWith(u"/proc"_s) || root.startsWith(u"/sys"_s)
        || root.startsWith(u"/dev"_s) || root.startsWith(u"/run/"_s) || root == u"/run"_s || root.startsWith(u"/snap/"_s)
        || root.startsWith(u"/boot"_s);
}

} // namespace

frmSelectDir::frmSelectDir(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"frmSelectDir"_s);
    setWindowTitle(u"Select a directory"_s);
    resize(560, 440);

    lblInfo = new QLabel(u"Select a destination directory for your MP3 files"_s, this);
    lblInfo->setObjectName(u"lblInfo"_s);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    // Names are edited in place only for a folder "&New folder" just made.
    model_->setReadOnly(false);
    model_->setRootPath(QString());

    fdvDir = new QTreeView(this);
    fdvDir->setObjectName(u"fdvDir"_s);
    fdvDir->setModel(model_);
    fdvDir->setHeaderHidden(true);
    fdvDir->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int column = 1; column < model_->columnCount(); ++column)
        fdvDir->hideColumn(column);
    fdvDir->setSortingEnabled(true);
    fdvDir->sortByColumn(0, Qt::AscendingOrder);
    // Deep folders scroll sideways rather than being cut to a few letters.
    fdvDir->header()->setStretchLastSection(false);
    fdvDir->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    lstPlaces = new QListWidget(this);
    lstPlaces->setObjectName(u"lstPlaces"_s);
    fillPlaces();
    connect(lstPlaces, &QListWidget::itemClicked, this,
        [this](QListWidgetItem *item) { navigate(item->data(PathRole).toString()); });
    connect(lstPlaces, &QListWidget::itemActivated, this,
        [this](QListWidgetItem *item) { navigate(item->data(PathRole).toString()); });

    auto *splitter = new QSplitter(this);
    splitter->addWidget(lstPlaces);
    splitter->addWidget(fdvDir);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({150, 400});
    splitter->setChildrenCollapsible(false);

    cmdNewFolder = new ButtonEx(u"&New folder"_s, this);
    cmdNewFolder->setObjectName(u"cmdNewFolder"_s);
    cmdOk = new ButtonEx(u"&Select"_s, this);
    cmdOk->setObjectName(u"cmdOk"_s);
    cmdOk->setDefault(true);
    cmdCancel = new ButtonEx(u"&Cancel"_s, this);
    cmdCancel->setObjectName(u"cmdCancel"_s);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdNewFolder);
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblInfo);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    connect(fdvDir->selectionModel(), &QItemSelectionModel::currentChanged, this, &frmSelectDir::updateSelectEnabling);
    // The model reads folders in the background: rows that arrive above the folder navigated to
    // push it down, so it is brought back into view until the user goes elsewhere.
    const auto keepInView = [this] {
        if (shownFolder_.isEmpty())
            return;
        QTimer::singleShot(0, this, [this] {
            if (model_->filePath(fdvDir->currentIndex()) != shownFolder_)
                shownFolder_.clear();
            else
                fdvDir->scrollTo(fdvDir->currentIndex(), QAbstractItemView::PositionAtCenter);
        });
    };
    connect(model_, &QFileSystemModel::directoryLoaded, this, keepInView);
    connect(model_, &QAbstractItemModel::rowsInserted, this, keepInView);
    connect(model_, &QAbstractItemModel::layoutChanged, this, keepInView);
    connect(cmdNewFolder, &ButtonEx::clicked, this, [this] { newFolder(); });
    connect(cmdOk, &ButtonEx::clicked, this, [this] {
        const QString folder = currentFolder();
        if (!QFileInfo(folder).isDir())
            return;
        selected_ = folder;
        accept();
    });
    // Cancel, Escape and the close box all reject: the result stays empty.
    connect(cmdCancel, &ButtonEx::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { selected_.clear(); });

    if (!navigate(QDir::homePath()))
        updateSelectEnabling();
}

void frmSelectDir::fillPlaces()
{
    const auto add = [this](const QString &text, const QString &path, QStyle::StandardPixmap icon) {
        auto *item = new QListWidgetItem(style()->standardIcon(icon), text, lstPlaces);
        item->setData(PathRole, QDir::cleanPath(path));
        item->setToolTip(QDir::toNativeSeparators(path));
    };
    add(u"Home"_s, QDir::homePath(), QStyle::SP_DirHomeIcon);
    QStringList shown{QDir::cleanPath(QDir::homePath())};
    for (const QFileInfo &drive : QDir::drives()) {
        const QString path = QDir::cleanPath(drive.absoluteFilePath());
        add(drive.absoluteFilePath() == QDir::rootPath() ? u"File system"_s : QDir::toNativeSeparators(path), path,
            QStyle::SP_DriveHDIcon);
        shown << path;
    }
    // Other disks and media: whatever is mounted and holds files of the user's.
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString path = QDir::cleanPath(volume.rootPath());
        if (!volume.isValid() || !volume.isReady() || shown.contains(path) || isSystemMount(volume))
            continue;
        const QString name = volume.displayName();
        add(name.isEmpty() || name == volume.rootPath() ? QDir::toNativeSeparators(path) : name, path,
            QStyle::SP_DriveCDIcon);
        shown << path;
    }
}

QStringList frmSelectDir::places() const
{
    QStringList paths;
    for (int i = 0; i < lstPlaces->count(); ++i)
        paths << lstPlaces->item(i)->data(PathRole).toString();
    return paths;
}

QString frmSelectDir::choose(QWidget *parent, const QString &start)
{
    frmSelectDir picker(parent);
    if (!start.isEmpty())
        picker.navigate(start);
    picker.exec();
    return picker.selectedDirectory();
}

bool frmSelectDir::navigate(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QModelIndex index = model_->index(folder);
    if (!index.isValid())
        return false;
    fdvDir->setCurrentIndex(index);
    fdvDir->expand(index);
    fdvDir->scrollTo(index, QAbstractItemView::PositionAtCenter);
    shownFolder_ = model_->filePath(index);
    updateSelectEnabling();
    return true;
}

bool frmSelectDir::newFolder()
{
    const QString parent = currentFolder();
    if (parent.isEmpty() || !QFileInfo(parent).isDir())
        return false;
    QDir dir(parent);
    QString name = u"New folder"_s;
    for (int n = 2; dir.exists(name); ++n)
        name = u"New folder %1"_s.arg(n);
    const QModelIndex made = model_->mkdir(model_->index(QDir::cleanPath(parent)), name);
    if (!made.isValid()) {
        Msg::ask(u"The folder cannot be made in "_s + parent + u" (a read-only medium, or not enough rights)."_s,
                 u"New folder"_s, Msg::Icon::Exclamation);
        return false;
    }
    fdvDir->setCurrentIndex(made);
    fdvDir->scrollTo(made);
    fdvDir->setFocus();
    fdvDir->edit(made);
    updateSelectEnabling();
    return true;
}

QString frmSelectDir::currentFolder() const
{
    const QModelIndex index = fdvDir->currentIndex();
    if (!index.isValid())
        return {};
    return QDir::toNativeSeparators(model_->filePath(index));
}

void frmSelectDir::updateSelectEnabling()
{
    // Only a folder of the file system can receive files: nothing selected (or a folder that
    // vanished meanwhile) cannot be chosen; nor can a folder be made there.
    const QString folder = currentFolder();
    const bool real = !folder.isEmpty() && QFileInfo(folder).isDir();
    cmdOk->setEnabled(real);
    cmdNewFolder->setEnabled(real);
}
