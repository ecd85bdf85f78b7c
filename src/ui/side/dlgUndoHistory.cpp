#include "dlgUndoHistory.h"

#include "foundation/PrintableText.h"
#include "jobs/RenameUndo.h"
#include "ui/widgets/ButtonEx.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

enum Column { DateColumn, KindColumn, FolderColumn, FilesColumn, StateColumn };

} // namespace

dlgUndoHistory::dlgUndoHistory(UndoFunction undo, QWidget *parent)
    : QDialog(parent)
    , undo_(std::move(undo))
{
    setObjectName(u"dlgUndoHistory"_s);
    setWindowTitle(u"Undo history"_s);
    resize(720, 360);

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(u"lblInfo"_s);
    lblInfo->setWordWrap(true);

    lstChanges = new QTreeWidget(this);
    lstChanges->setObjectName(u"lstChanges"_s);
    lstChanges->setRootIsDecorated(false);
    lstChanges->setUniformRowHeights(true);
    lstChanges->setAllColumnsShowFocus(true);
    lstChanges->setSelectionMode(QAbstractItemView::SingleSelection);
    lstChanges->setHeaderLabels({u"Date"_s, u"Kind"_s, u"Folder"_s, u"Files"_s, u"State"_s});
    lstChanges->header()->setStretchLastSection(false);
    lstChanges->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstChanges->header()->setSectionResizeMode(FolderColumn, QHeaderView::Stretch);
    lblInfo->setBuddy(lstChanges);

    cmdUndo = new ButtonEx(u"&Undo"_s, this);
    cmdUndo->setObjectName(u"cmdUndo"_s);
    cmdUndo->setDefault(true);
    cmdClose = new ButtonEx(u"&Close"_s, this);
    cmdClose->setObjectName(u"cmdClose"_s);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdUndo);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblInfo);
    layout->addWidget(lstChanges, 1);
    layout->addLayout(buttons);

    connect(lstChanges, &QTreeWidget::currentItemChanged, this, &dlgUndoHistory::updateUndoEnabling);
    // Enter reaches the default button; a double click asks the same.
    connect(lstChanges, &QTreeWidget::itemDoubleClicked, this, [this] { undoSelected(); });
    connect(cmdUndo, &ButtonEx::clicked, this, [this] { undoSelected(); });
    connect(cmdClose, &ButtonEx::clicked, this, &QDialog::reject);

    reload();
    lstChanges->setFocus();
}

void dlgUndoHistory::reload()
{
    const JournalContents *selected = selectedChange();
    const QString keep = selected ? selected->id : QString();
    changes_ = JobJournal::list();
    lstChanges->clear();
    QTreeWidgetItem *current = nullptr;
    for (qsizetype i = 0; i < changes_.size(); ++i) {
        const JournalContents &change = changes_.at(i);
        auto *row = new QTreeWidgetItem(lstChanges);
        row->setText(DateColumn, QLocale().toString(change.date, QLocale::ShortFormat));
        row->setText(KindColumn, RenameUndo::captionOf(change));
        row->setText(FolderColumn, printableText(QDir::toNativeSeparators(change.folder)));
        row->setToolTip(FolderColumn, row->text(FolderColumn));
        row->setText(FilesColumn, QLocale().toString(change.fileCount));
        row->setTextAlignment(FilesColumn, Qt::AlignRight | Qt::AlignVCenter);
        row->setText(StateColumn, change.state());
        row->setData(DateColumn, Qt::UserRole, int(i));
        if (!current && (keep.isEmpty() || change.id == keep))
            current = row;
    }
    if (!current && lstChanges->topLevelItemCount() > 0)
        current = lstChanges->topLevelItem(0);
    if (current)
        lstChanges->setCurrentItem(current);
    lblInfo->setText(changes_.isEmpty() ? u"No change is recorded."_s
                                        : u"The recorded &changes, newest first. A file changed since its change is "
                                          u"left as it is."_s);
    updateUndoEnabling();
}

const JournalContents *dlgUndoHistory::selectedChange() const
{
    const QTreeWidgetItem *row = lstChanges ? lstChanges->currentItem() : nullptr;
    if (!row)
        return nullptr;
    const int index = row->data(DateColumn, Qt::UserRole).toInt();
    return index >= 0 && index < changes_.size() ? &changes_.at(index) : nullptr;
}

void dlgUndoHistory::updateUndoEnabling()
{
    const JournalContents *change = selectedChange();
    cmdUndo->setEnabled(change && change->undoState != u"undone");
}

bool dlgUndoHistory::undoSelected()
{
    const JournalContents *selected = selectedChange();
    if (!selected || selected->undoState == u"undone" || !undo_)
        return false;
    // The function may show message boxes that run events: it works on a copy.
    const JournalContents change = *selected;
    const bool ran = undo_(change);
    if (ran) {
        reload();
        emit changeUndone(change);
    }
    return ran;
}
