#pragma once
// The folder picker of the rename page's destination: a folder tree starting at the home folder
// (the drives on Windows), "&Select" for a real folder, "&Cancel" or the close box for nothing.

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLabel;
class ButtonEx;
class QSortFilterProxyModel;
class QTreeView;

class frmSelectDir : public QDialog
{
    Q_OBJECT
public:
    explicit frmSelectDir(QWidget *parent = nullptr);

    /// Shows the picker modally, starting at `start` when the tree holds it; returns the chosen
    /// folder, or an empty text when the user cancelled or closed the window.
    static QString choose(QWidget *parent, const QString &start);

    /// Selects a folder of the tree and shows it; false when the tree does not hold it.
    bool navigate(const QString &path);
    /// The folder selected in the tree; empty when none is.
    [[nodiscard]] QString currentFolder() const;
    /// The result: the folder "&Select" took, empty otherwise.
    [[nodiscard]] QString selectedDirectory() const { return selected_; }

    /// Where the tree starts: the home folder, or the drives (empty text) on Windows.
    [[nodiscard]] static QString rootFolder();

private:
    void updateSelectEnabling();

    QFileSystemModel *model_ = nullptr;
    QSortFilterProxyModel *proxy_ = nullptr;
    QLabel *lblInfo = nullptr;
    QTreeView *fdvDir = nullptr;
    ButtonEx *cmdOk = nullptr;
    ButtonEx *cmdCancel = nullptr;
    QString selected_;
};
