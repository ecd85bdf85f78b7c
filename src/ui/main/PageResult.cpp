#include "PageResult.h"

#include "MainContext.h"
#include "ui/widgets/Icons.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

PageResult::PageResult(MainContext &context, QWidget *parent)
    : QWidget(parent)
    , context_(context)
{
    setObjectName(u"PageResult"_s);
    txtDirectoryLog = new QLineEdit(this);
    txtDirectoryLog->setObjectName(u"txtDirectoryLog"_s);
    txtDirectoryLog->setReadOnly(true);
    trvLog = new QTreeWidget(this);
    trvLog->setObjectName(u"trvLog"_s);
    trvLog->setHeaderHidden(true);
    trvLog->setColumnCount(1);
    trvLog->setUniformRowHeights(true);
    trvLog->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    trvLog->header()->setStretchLastSection(true);
    connect(trvLog, &QTreeWidget::itemExpanded, this, &PageResult::showChildrenOf);
    trvLog->setContextMenuPolicy(Qt::CustomContextMenu);
    mnuLog_ = new QMenu(trvLog);
    mnuLog_->setObjectName(u"mnuLog"_s);
    mnuLog_->addAction(u"Expand all"_s, trvLog, &QTreeWidget::expandAll)->setObjectName(u"mnuExpandAll"_s);
    mnuLog_->addAction(u"Collapse all"_s, trvLog, &QTreeWidget::collapseAll)->setObjectName(u"mnuCollapseAll"_s);
    connect(trvLog, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { mnuLog_->popup(trvLog->viewport()->mapToGlobal(at)); });
    txtLogInfo = new QLineEdit(this);
    txtLogInfo->setObjectName(u"txtLogInfo"_s);
    txtLogInfo->setReadOnly(true);

    auto *banner = new QWidget(this);
    banner->setObjectName(u"fraBanner"_s);
    bannerArea_ = new QVBoxLayout(banner);
    bannerArea_->setContentsMargins(0, 0, 0, 0);

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(u"Destination directory :"_s, this));
    folderRow->addWidget(txtDirectoryLog, 1);

    auto *page = new QVBoxLayout(this);
    page->addLayout(folderRow);
    page->addWidget(trvLog, 1);
    page->addWidget(txtLogInfo);
    page->addWidget(banner);

    // The context may outlive the page or die before it (members of the main window go before its
    // child widgets), so the listener checks that the page is still there instead of the page
    // unhooking itself from a context that may be gone.
    context_.resultLog.setListener([page = QPointer<PageResult>(this)](ResultLog::Change change, int node) {
        if (page)
            page->onLogChange(static_cast<int>(change), node);
    });
    rebuild();
}

PageResult::~PageResult() = default;

void PageResult::showChildrenOf(QTreeWidgetItem *item)
{
    // As far as room allows: the last child at the bottom, but the node itself never above the top.
    if (item->childCount() == 0)
        return;
    trvLog->scrollToItem(item->child(item->childCount() - 1));
    trvLog->scrollToItem(item);
}

void PageResult::rebuild()
{
    trvLog->clear();
    items_.clear();
    const ResultLog &log = context_.resultLog;
    for (int i = 0; i < log.size(); ++i)
        addItem(i);
    for (int i = 0; i < log.size(); ++i) {
        if (log.node(i).expanded)
            items_.value(i)->setExpanded(true);
    }
    txtLogInfo->setText(log.summary());
    txtDirectoryLog->setText(log.destinationFolder());
}

void PageResult::addItem(int node)
{
    const ResultLog::Node &n = context_.resultLog.node(node);
    QTreeWidgetItem *item = nullptr;
    if (n.parent < 0) {
        item = new QTreeWidgetItem(trvLog, QStringList{n.text});
    } else {
        QTreeWidgetItem *parent = items_.value(n.parent);
        if (!parent)
            return;
        item = new QTreeWidgetItem(parent, QStringList{n.text});
    }
    item->setIcon(0, iconForKey(n.picture));
    items_.insert(node, item);
}

void PageResult::onLogChange(int change, int node)
{
    switch (static_cast<ResultLog::Change>(change)) {
    case ResultLog::Change::Cleared:
        trvLog->clear();
        items_.clear();
        txtLogInfo->clear();
        txtDirectoryLog->clear();
        break;
    case ResultLog::Change::NodeAdded:
        addItem(node);
        break;
    case ResultLog::Change::NodeExpanded:
        if (QTreeWidgetItem *item = items_.value(node))
            item->setExpanded(true);
        break;
    case ResultLog::Change::NodeMadeVisible:
        if (QTreeWidgetItem *item = items_.value(node)) {
            for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
                p->setExpanded(true);
            trvLog->scrollToItem(item);
        }
        break;
    case ResultLog::Change::SummaryChanged:
        txtLogInfo->setText(context_.resultLog.summary());
        break;
    case ResultLog::Change::DestinationChanged:
        txtDirectoryLog->setText(context_.resultLog.destinationFolder());
        break;
    }
}

QString PageResult::destinationFolder() const
{
    return txtDirectoryLog->text();
}

void PageResult::clearFolderAndSummary()
{
    txtDirectoryLog->clear();
    txtLogInfo->clear();
}

void PageResult::focusLog()
{
    trvLog->setFocus();
}
