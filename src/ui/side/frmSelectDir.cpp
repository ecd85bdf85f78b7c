#include "frmSelectDir.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include "ui/widgets/ButtonEx.h"
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

/// Shows the home folder as the tree's one top node: of its parent's children only the home
/// folder passes, everything below it does.
class HomeOnlyFilter : public QSortFilterProxyModel
{
public:
    HomeOnlyFilter(QString top, QObject *parent)
        : QSortFilterProxyModel(parent), top_(std::move(top))
    {
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        if (top_.isEmpty())
            return true;
        const auto *files = static_cast<const QFileSystemModel *>(sourceModel());
        const QString path = files->filePath(files->index(row, 0, parent));
        // Above the top folder only the chain that leads to it is shown.
        if (top_ == path || top_.startsWith(path + u'/') || path == u"/"_s)
            return true;
        return path.startsWith(top_ + u'/');
    }

private:
    QString top_;
};

} // namespace

frmSelectDir::frmSelectDir(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"frmSelectDir"_s);
    setWindowTitle(u"Select a directory"_s);
    resize(380, 420);

    lblInfo = new QLabel(u"Select a destination directory for your MP3 files"_s, this);
    lblInfo->setObjectName(u"lblInfo"_s);

    const QString root = rootFolder();
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(root.isEmpty() ? QString() : QFileInfo(root).absolutePath());
    proxy_ = new HomeOnlyFilter(root, this);
    proxy_->setSourceModel(model_);

    fdvDir = new QTreeView(this);
    fdvDir->setObjectName(u"fdvDir"_s);
    fdvDir->setModel(proxy_);
    fdvDir->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column)
        fdvDir->hideColumn(column);
    if (!root.isEmpty())
        fdvDir->setRootIndex(proxy_->mapFromSource(model_->index(QFileInfo(root).absolutePath())));

    cmdOk = new ButtonEx(u"&Select"_s, this);
    cmdOk->setObjectName(u"cmdOk"_s);
    cmdOk->setDefault(true);
    cmdCancel = new ButtonEx(u"&Cancel"_s, this);
    cmdCancel->setObjectName(u"cmdCancel"_s);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblInfo);
    layout->addWidget(fdvDir, 1);
    layout->addLayout(buttons);

    connect(fdvDir->selectionModel(), &QItemSelectionModel::currentChanged, this, &frmSelectDir::updateSelectEnabling);
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

    if (!navigate(root))
        updateSelectEnabling();
}

QString frmSelectDir::rootFolder()
{
#ifdef Q_OS_WIN
    return {};
#else
    return QDir::cleanPath(QDir::homePath());
#endif
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
    const QString root = rootFolder();
    if (!root.isEmpty() && folder != root && !folder.startsWith(root + u'/'))
        return false;
    const QModelIndex index = proxy_->mapFromSource(model_->index(folder));
    if (!index.isValid())
        return false;
    fdvDir->setCurrentIndex(index);
    fdvDir->expand(index);
    fdvDir->scrollTo(index);
    updateSelectEnabling();
    return true;
}

QString frmSelectDir::currentFolder() const
{
    const QModelIndex index = fdvDir->currentIndex();
    if (!index.isValid())
        return {};
    return QDir::toNativeSeparators(model_->filePath(proxy_->mapToSource(index)));
}

void frmSelectDir::updateSelectEnabling()
{
    // Only a folder of the file system can receive files: nothing selected (or a folder that
    // vanished meanwhile) cannot be chosen.
    const QString folder = currentFolder();
    cmdOk->setEnabled(!folder.isEmpty() && QFileInfo(folder).isDir());
}
