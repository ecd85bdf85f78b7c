#include "ui/side/frmMask.h"

#include "foundation/Basic.h"
#include "foundation/MessageGateway.h"
#include "naming/MaskFiles.h"
#include "naming/MaskLanguage.h"
#include "ui/widgets/ButtonEx.h"
#include "ui/widgets/CoreReports.h"
#include "ui/widgets/Icons.h"
#include "ui/widgets/Named.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

double twipsPerPixel(const QWidget *w)
{
    return 1440.0 / std::max(1, w->logicalDpiY());
}

QPixmap arrowPicture(QStyle::StandardPixmap arrow)
{
    return QApplication::style()->standardIcon(arrow).pixmap(16, 16);
}

bool isUserEntry(const QTreeWidgetItem *entry)
{
    return entry && entry->text(1) == maskTypeText(MaskType::User);
}

void setEntry(QTreeWidgetItem *entry, const QString &text, MaskType type)
{
    entry->setText(0, text);
    entry->setText(1, maskTypeText(type));
    entry->setIcon(0, iconForKey(type == MaskType::User ? u"mask2"_s : u"mask"_s));
}

} // namespace

frmMask::frmMask(QComboBox *maskBox, QWidget *parent)
    : QDialog(parent), maskBox_(maskBox)
{
    setObjectName(u"frmMask"_s);
    setWindowTitle(u"Mask editor"_s);
    setModal(true);
    buildControls();
    connectControls();
    loadFromDropDown();
}

void frmMask::buildControls()
{
    lstMasks = named(new QTreeWidget(this), u"lstMasks"_s);
    lstMasks->setRootIsDecorated(false);
    lstMasks->setUniformRowHeights(true);
    lstMasks->setAllColumnsShowFocus(true);
    lstMasks->setSelectionMode(QAbstractItemView::SingleSelection);
    lstMasks->header()->setStretchLastSection(false);
    lstMasks->header()->setSectionsMovable(false);

    auto newButton = [this](const QString &caption, const QString &name) {
        return named(new ButtonEx(caption, this), name);
    };
    cmdNew = newButton(u"&New"_s, u"cmdNew"_s);
    cmdCopy = newButton(u"&Copy"_s, u"cmdCopy"_s);
    cmdEdit = newButton(u"&Edit"_s, u"cmdEdit"_s);
    cmdDelete = newButton(u"&Delete"_s, u"cmdDelete"_s);
    cmdUp = newButton(QString(), u"cmdUp"_s);
    cmdUp->setPicture(arrowPicture(QStyle::SP_ArrowUp));
    cmdUp->setToolTip(u"Move up"_s);
    cmdDown = newButton(QString(), u"cmdDown"_s);
    cmdDown->setPicture(arrowPicture(QStyle::SP_ArrowDown));
    cmdDown->setToolTip(u"Move down"_s);
    cmdOk = newButton(u"&Ok"_s, u"cmdOk"_s);
    cmdOk->setDefault(true);
    cmdCancel = newButton(u"&Cancel"_s, u"cmdCancel"_s);

    fraMaskEdit = named(new QGroupBox(u"Mask edit"_s, this), u"fraMaskEdit"_s);
    txtMask = named(new QLineEdit(fraMaskEdit), u"txtMask"_s);
    txtPreview = named(new QLineEdit(fraMaskEdit), u"txtPreview"_s);
    txtPreview->setReadOnly(true);
    cmdInsert = named(new ButtonEx(u"&Insert variable %"_s, fraMaskEdit), u"cmdInsert"_s);
    cmdValidate = named(new ButtonEx(u"&Validate mask"_s, fraMaskEdit), u"cmdValidate"_s);

    mnuInsert = named(new QMenu(u"Insert"_s, this), u"mnuInsert"_s);
    const QList<MaskVariable> &variables = maskVariables();
    for (int i = 0; i < variables.size(); ++i) {
        QAction *item = mnuInsert->addAction(variables[i].name);
        item->setObjectName(u"mnuVariable%1"_s.arg(i));
        item->setToolTip(variables[i].description);
        connect(item, &QAction::triggered, this, [this, i] {
            const MaskEdit edit = insertMaskVariable(txtMask->text(), txtMask->cursorPosition(), i);
            txtMask->setText(edit.text);
            txtMask->setCursorPosition(edit.caret);
        });
    }

    auto *listButtons = new QVBoxLayout;
    for (ButtonEx *button : {cmdNew, cmdCopy, cmdEdit, cmdDelete})
        listButtons->addWidget(button);
    listButtons->addSpacing(12);
    auto *moves = new QHBoxLayout;
    moves->addWidget(cmdUp);
    moves->addWidget(cmdDown);
    listButtons->addLayout(moves);
    listButtons->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addWidget(lstMasks, 1);
    top->addLayout(listButtons);

    auto *editGrid = new QGridLayout(fraMaskEdit);
    editGrid->addWidget(txtMask, 0, 0);
    editGrid->addWidget(cmdInsert, 0, 1);
    editGrid->addWidget(txtPreview, 1, 0);
    editGrid->addWidget(cmdValidate, 1, 1);
    editGrid->setColumnStretch(0, 1);

    auto *dialogButtons = new QHBoxLayout;
    dialogButtons->addStretch(1);
    dialogButtons->addWidget(cmdOk);
    dialogButtons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(fraMaskEdit);
    layout->addLayout(dialogButtons);

    setTabOrder(lstMasks, cmdNew);
    setTabOrder(cmdNew, cmdCopy);
    setTabOrder(cmdCopy, cmdEdit);
    setTabOrder(cmdEdit, cmdDelete);
    setTabOrder(cmdDelete, cmdUp);
    setTabOrder(cmdUp, cmdDown);
    setTabOrder(cmdDown, txtMask);
    setTabOrder(txtMask, cmdInsert);
    setTabOrder(cmdInsert, txtPreview);
    setTabOrder(txtPreview, cmdValidate);
    setTabOrder(cmdValidate, cmdOk);
    setTabOrder(cmdOk, cmdCancel);

    txtMask->installEventFilter(this);
    resize(640, 440);
}

void frmMask::connectControls()
{
    connect(lstMasks, &QTreeWidget::currentItemChanged, this, &frmMask::onCurrentEntryChanged);
    // The vertical scroll bar comes and goes with the number of entries.
    connect(lstMasks->verticalScrollBar(), &QScrollBar::rangeChanged, this, &frmMask::fitMaskColumn);
    connect(txtMask, &QLineEdit::textChanged, this,
            [this](const QString &text) { txtPreview->setText(buildMaskPreview(text)); });
    connect(cmdNew, &ButtonEx::clicked, this, [this] {
        addUserEntry(QString());
        editCommand();
    });
    connect(cmdCopy, &ButtonEx::clicked, this, [this] {
        const QTreeWidgetItem *current = lstMasks->currentItem();
        addUserEntry(current ? current->text(0) : QString());
        editCommand();
    });
    connect(cmdEdit, &ButtonEx::clicked, this, &frmMask::editCommand);
    connect(cmdDelete, &ButtonEx::clicked, this, &frmMask::deleteCommand);
    connect(cmdUp, &ButtonEx::clicked, this, [this] { moveCommand(-1); });
    connect(cmdDown, &ButtonEx::clicked, this, [this] { moveCommand(1); });
    connect(cmdValidate, &ButtonEx::clicked, this, &frmMask::validateCommand);
    connect(cmdInsert, &ButtonEx::clicked, this, &frmMask::popUpInsertMenu);
    connect(mnuInsert, &QMenu::aboutToHide, this, [this] { txtMask->setFocus(); });
    connect(cmdOk, &ButtonEx::clicked, this, &frmMask::okCommand);
    connect(cmdCancel, &ButtonEx::clicked, this, &QDialog::reject);
}

void frmMask::loadFromDropDown()
{
    lstMasks->clear();
    lstMasks->setColumnCount(2);
    lstMasks->setHeaderLabels({u"Mask"_s, u"Type"_s});
    const double tpp = twipsPerPixel(this);
    lstMasks->setColumnWidth(0, int(5000 / tpp));
    lstMasks->setColumnWidth(1, int(700 / tpp));
    fitMaskColumn();
    for (int i = 0; i < maskBox_->count(); ++i) {
        auto *entry = new QTreeWidgetItem(lstMasks);
        setEntry(entry, maskBox_->itemText(i),
                 maskBox_->itemData(i).toInt() < 1 ? MaskType::Default : MaskType::User);
    }
    QTreeWidgetItem *first = lstMasks->topLevelItem(0);
    {
        const QSignalBlocker blocker(lstMasks);
        lstMasks->setCurrentItem(first);
    }
    selectMaskEntry(first);
    txtMask->setText(first ? first->text(0) : QString());
    txtPreview->setText(buildMaskPreview(txtMask->text()));
}

void frmMask::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitMaskColumn();
    // The opening command set the hourglass; the dialog is there now.
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void frmMask::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    fitMaskColumn();
}

void frmMask::fitMaskColumn()
{
    // "Type" keeps 700 twips unless the font needs more to show "Default" whole; "Mask" takes the
    // rest of the visible width, so the list never scrolls sideways (the viewport already
    // leaves room for a vertical scroll bar when the entries do not fit).
    const int margin = 2 * lstMasks->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, lstMasks) + 8;
    const int typeWidth = std::max(int(700 / twipsPerPixel(this)),
                                   lstMasks->fontMetrics().horizontalAdvance(maskTypeText(MaskType::Default)) + margin);
    lstMasks->setColumnWidth(1, typeWidth);
    lstMasks->setColumnWidth(0, std::max(40, lstMasks->viewport()->width() - typeWidth));
}

void frmMask::setMaskBoxEditable(bool editable)
{
    txtMask->setReadOnly(!editable);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, palette().color(editable ? QPalette::Base : QPalette::Button));
    txtMask->setPalette(pal);
    cmdInsert->setEnabled(editable);
    cmdValidate->setEnabled(editable);
    cmdCopy->setEnabled(!editable);
    cmdNew->setEnabled(!editable);
}

void frmMask::selectMaskEntry(QTreeWidgetItem *entry)
{
    editingItem_ = nullptr;
    const bool user = isUserEntry(entry);
    cmdEdit->setEnabled(user);
    cmdDelete->setEnabled(user);
    setMaskBoxEditable(false);
}

void frmMask::onCurrentEntryChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    if (editingItem_ && current != editingItem_) {
        // The edited mask did not validate when the box was left: it keeps the selection.
        const QSignalBlocker blocker(lstMasks);
        lstMasks->setCurrentItem(editingItem_);
        Q_UNUSED(previous);
        return;
    }
    if (editingItem_)
        return;
    selectMaskEntry(current);
    txtMask->setText(current ? current->text(0) : QString());
}

void frmMask::addUserEntry(const QString &text)
{
    auto *entry = new QTreeWidgetItem;
    setEntry(entry, text, MaskType::User);
    lstMasks->insertTopLevelItem(0, entry);
    lstMasks->setCurrentItem(entry);
    lstMasks->scrollToItem(entry);
    fitMaskColumn();
    selectMaskEntry(entry);
    txtMask->setText(text);
    lstMasks->setFocus();
}

void frmMask::editCommand()
{
    // Pressed while a mask is being edited, it first takes the typed mask as "&Validate mask"
    // does; an invalid one stays in the box to be put right.
    if (editingItem_ && !validateCommand())
        return;
    QTreeWidgetItem *entry = lstMasks->currentItem();
    if (!isUserEntry(entry))
        return;
    editingItem_ = entry;
    setMaskBoxEditable(true);
    txtMask->setText(entry->text(0));
    txtMask->setFocus();
    txtMask->end(false);
}

bool frmMask::validateCommand()
{
    if (!editingItem_ || validating_)
        return true;
    validating_ = true;
    QString text = txtMask->text();
    const bool valid = validateMaskAndReport(text);
    if (text != txtMask->text()) {
        const int caret = txtMask->cursorPosition();
        txtMask->setText(text);
        txtMask->setCursorPosition(caret);
    }
    validating_ = false;
    if (!valid) {
        txtMask->setFocus();
        return false;
    }
    QTreeWidgetItem *entry = editingItem_;
    const QString accepted = Basic::trim(text);
    entry->setText(0, accepted);
    selectMaskEntry(entry);
    txtMask->setText(accepted);
    lstMasks->setFocus();
    return true;
}

bool frmMask::leavingBoxValidates(QWidget *newFocus) const
{
    // Buttons check the mask themselves when pressed ("&Cancel" never does), so leaving the box
    // for a button asks nothing; the list and the preview box ask for a valid mask first.
    return newFocus && newFocus != txtMask && isAncestorOf(newFocus) && !qobject_cast<QAbstractButton *>(newFocus);
}

bool frmMask::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtMask && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter validates the mask rather than pressing the dialog's default button.
            if (editingItem_)
                validateCommand();
            return true;
        }
    }
    if (watched == txtMask && event->type() == QEvent::FocusOut && editingItem_ && !validating_) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
            && leavingBoxValidates(QApplication::focusWidget()))
            validateCommand();
    }
    return QDialog::eventFilter(watched, event);
}

void frmMask::popUpInsertMenu()
{
    // Just below the button, its left edges lined up with the button's.
    mnuInsert->popup(cmdInsert->mapToGlobal(QPoint(0, cmdInsert->height())));
}

void frmMask::deleteCommand()
{
    QTreeWidgetItem *entry = lstMasks->currentItem();
    if (!isUserEntry(entry))
        return;
    // Deleting the mask being edited drops the edit with it.
    editingItem_ = nullptr;
    delete entry;
    fitMaskColumn();
    lstMasks->setFocus();
    QTreeWidgetItem *current = lstMasks->currentItem();
    if (current && !current->isSelected())
        current->setSelected(true);
    selectMaskEntry(current);
    txtMask->setText(current ? current->text(0) : QString());
}

void frmMask::moveCommand(int step)
{
    if (editingItem_ && !validateCommand())
        return;
    QTreeWidgetItem *entry = lstMasks->currentItem();
    const int i = lstMasks->indexOfTopLevelItem(entry);
    const int j = i + step;
    if (!entry || j < 0 || j >= lstMasks->topLevelItemCount()) {
        lstMasks->setFocus();
        return;
    }
    QTreeWidgetItem *neighbour = lstMasks->topLevelItem(j);
    // Moving never crosses from the user masks into the default masks or back.
    if (isUserEntry(neighbour) == isUserEntry(entry)) {
        const QString text = entry->text(0);
        entry->setText(0, neighbour->text(0));
        neighbour->setText(0, text);
        lstMasks->setCurrentItem(neighbour);
    }
    lstMasks->setFocus();
}

QList<EditorMask> frmMask::editorList() const
{
    QList<EditorMask> list;
    for (int i = 0; i < lstMasks->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *entry = lstMasks->topLevelItem(i);
        list.append({entry->text(0), isUserEntry(entry) ? MaskType::User : MaskType::Default});
    }
    return list;
}

void frmMask::okCommand()
{
    // A mask still being edited is checked first: an invalid one is never saved and a valid one
    // is not lost.
    if (editingItem_ && !validateCommand())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QList<EditorMask> list = editorList();
    showErrors(saveMasks(list));

    const int selected = lstMasks->indexOfTopLevelItem(lstMasks->currentItem());
    {
        const QSignalBlocker blocker(maskBox_);
        maskBox_->clear();
        for (const MaskEntry &entry : entriesFromEditorList(list))
            maskBox_->addItem(entry.text, entry.itemValue);
        maskBox_->setCurrentIndex(std::min(selected, maskBox_->count() - 1));
    }
    // The choice has the effects of the user's own pick: tooltip, remembered mask, preview.
    if (maskBox_->currentIndex() >= 0)
        emit maskBox_->activated(maskBox_->currentIndex());
    QApplication::restoreOverrideCursor();
    accept();
}
