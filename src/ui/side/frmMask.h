#pragma once
// The mask editor: every mask of the main window's mask drop-down in one list, user masks
// first. User masks are created, copied, edited, deleted and reordered, default masks only
// reordered; a mask is accepted only once it validates. "&Ok" writes the list to the mask files
// and rebuilds the drop-down, "&Cancel" forgets every change.

#include "naming/MaskFiles.h"

#include <QDialog>

class ButtonEx;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

class frmMask : public QDialog
{
    Q_OBJECT
public:
    /// Lists the masks of the given drop-down; "&Ok" rebuilds that same drop-down.
    explicit frmMask(QComboBox *maskBox, QWidget *parent = nullptr);

    /// The browsing state for an entry: box locked, "&Edit"/"&Delete" only for a user mask.
    void selectMaskEntry(QTreeWidgetItem *entry);
    /// Inserts a user mask at the top of the list and selects it.
    void addUserEntry(const QString &text);
    /// Gives the "Mask" column the room the "Type" column and the scroll bar leave.
    void fitMaskColumn();

    /// The list in display order, as it would be saved.
    [[nodiscard]] QList<EditorMask> editorList() const;
    /// True while the mask box is open for editing.
    [[nodiscard]] bool isEditing() const { return editingItem_ != nullptr; }

    /// "&Validate mask" and Enter in the mask box: accepts the edited mask when it validates.
    bool validateCommand();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void connectControls();
    void loadFromDropDown();
    void editCommand();
    void deleteCommand();
    void moveCommand(int step);
    void okCommand();
    void popUpInsertMenu();
    void setMaskBoxEditable(bool editable);
    void onCurrentEntryChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    [[nodiscard]] bool leavingBoxValidates(QWidget *newFocus) const;

    QComboBox *maskBox_;
    /// The entry whose mask the box is editing; null while browsing.
    QTreeWidgetItem *editingItem_ = nullptr;
    bool validating_ = false;

    QTreeWidget *lstMasks = nullptr;
    QGroupBox *fraMaskEdit = nullptr;
    QLineEdit *txtMask = nullptr;
    QLineEdit *txtPreview = nullptr;
    ButtonEx *cmdInsert = nullptr;
    ButtonEx *cmdValidate = nullptr;
    ButtonEx *cmdNew = nullptr;
    ButtonEx *cmdCopy = nullptr;
    ButtonEx *cmdEdit = nullptr;
    ButtonEx *cmdDelete = nullptr;
    ButtonEx *cmdUp = nullptr;
    ButtonEx *cmdDown = nullptr;
    ButtonEx *cmdOk = nullptr;
    ButtonEx *cmdCancel = nullptr;
    QMenu *mnuInsert = nullptr;
};
