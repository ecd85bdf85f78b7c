#pragma once
// Wizard page 3, the result page: the result log of the last rename job as a tree (trvLog),
// the destination folder (txtDirectoryLog) and the summary line (txtLogInfo). The tree follows
// the shared log model live while the job runs.

#include "WizardPage.h"

#include <QHash>
#include <QWidget>

class MainContext;
class QLineEdit;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

class PageResult : public QWidget
{
    Q_OBJECT
public:
    explicit PageResult(MainContext &context, QWidget *parent = nullptr);
    ~PageResult() override;

    /// Rebuilds the whole tree, the summary and the folder from the log model.
    void rebuild();
    /// The tree item that shows a node of the log model, or null.
    [[nodiscard]] QTreeWidgetItem *itemOf(int node) const { return items_.value(node); }
    /// The folder the last job wrote to, as the folder box shows it.
    [[nodiscard]] QString destinationFolder() const;
    /// Empties the folder box and the summary line.
    void clearFolderAndSummary();
    /// Gives the log tree the focus.
    void focusLog();
    /// The empty area under the log where the main window may put its banner view.
    [[nodiscard]] QVBoxLayout *bannerArea() const { return bannerArea_; }

signals:
    /// Asks the main window to show a page.
    void requestPage(WizardPage page);

private:
    void onLogChange(int change, int node);
    void addItem(int node);
    /// Scrolls an expanded node's children into view.
    void showChildrenOf(QTreeWidgetItem *item);

    MainContext &context_;
    QHash<int, QTreeWidgetItem *> items_;
    QLineEdit *txtDirectoryLog = nullptr;
    QTreeWidget *trvLog = nullptr;
    QLineEdit *txtLogInfo = nullptr;
    QVBoxLayout *bannerArea_ = nullptr;
    /// The tree's context menu: "Expand all", "Collapse all".
    QMenu *mnuLog_ = nullptr;
};
