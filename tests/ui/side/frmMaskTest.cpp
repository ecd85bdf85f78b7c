// The mask editor opened from the main window on real mask files: listing, the two states of the
// mask box, the type boundary, validation on every way out, and what "&Ok" and "&Cancel" leave
// in the files and the drop-down.
#include "../main/MainWindowFixture.h"

#include "naming/MaskFiles.h"
#include "ui/side/frmMask.h"
#include "ui/widgets/Icons.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QAbstractButton>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QString kUser1 = u"%year\\%track %title"_s;
const QString kUser2 = u"%genre\\%artist - %title"_s;

} // namespace

class frmMaskTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        writeFile(u"app/Masks/User.ini"_s,
                  (u"[User masks]\r\nMask1="_s + kUser1 + u"\r\nMask2="_s + kUser2 + u"\r\n"_s).toUtf8());
        window = openWindow();
        maskBox = window->findChild<QComboBox *>(u"cboMask"_s);
    }

    frmMask *openEditor(bool fromMenu)
    {
        if (fromMenu)
            window->findChild<QAction *>(u"mnuMask"_s)->trigger();
        else
            button(window.get(), u"cmdMaskEdit"_s)->click();
        auto *editor = window->findChild<frmMask *>();
        if (editor) {
            editor->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
            list = editor->findChild<QTreeWidget *>(u"lstMasks"_s);
            box = editor->findChild<QLineEdit *>(u"txtMask"_s);
        }
        return editor;
    }

    static QAbstractButton *button(QWidget *host, const QString &name) { return host->findChild<QAbstractButton *>(name); }

    QStringList listTexts(int column) const { return columnTexts(list, column); }

    QStringList dropDown() const
    {
        QStringList entries;
        for (int i = 0; i < maskBox->count(); ++i)
            entries << maskBox->itemText(i) + u'=' + maskBox->itemData(i).toString();
        return entries;
    }

    void select(int row) { list->setCurrentItem(list->topLevelItem(row)); }

    std::unique_ptr<frmMain> window;
    QComboBox *maskBox = nullptr;
    QTreeWidget *list = nullptr;
    QLineEdit *box = nullptr;
};

TEST_F(frmMaskTest, ListsEditsMovesAndSavesThroughOk)
{
    ASSERT_EQ(maskBox->count(), 14);
    EXPECT_TRUE(button(window.get(), u"cmdMaskEdit"_s)->isEnabled());
    frmMask *editor = openEditor(true);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), u"Mask editor"_s);
    EXPECT_TRUE(editor->isModal());

    // The two user masks first, then the twelve defaults, each with its type and picture.
    const QStringList types = listTexts(1);
    EXPECT_EQ(types.mid(0, 2), QStringList({u"User"_s, u"User"_s}));
    EXPECT_EQ(types.count(u"Default"_s), 12);
    EXPECT_EQ(listTexts(0).mid(0, 3), QStringList({kUser1, kUser2, defaultMasks().first()}));
    EXPECT_EQ(list->topLevelItem(0)->icon(0).cacheKey(), iconForKey(u"mask2"_s).cacheKey());
    EXPECT_EQ(list->topLevelItem(2)->icon(0).cacheKey(), iconForKey(u"mask"_s).cacheKey());
    EXPECT_EQ(box->text(), kUser1);
    EXPECT_TRUE(box->isReadOnly());

    auto *edit = button(editor, u"cmdEdit"_s);
    auto *del = button(editor, u"cmdDelete"_s);
    auto *validate = button(editor, u"cmdValidate"_s);
    select(2);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(del->isEnabled());
    EXPECT_EQ(box->text(), defaultMasks().first());

    // The type boundary: the first default does not climb over a user mask, the last user mask
    // does not sink among the defaults; within a type the selection follows the moved mask.
    button(editor, u"cmdUp"_s)->click();
    select(1);
    button(editor, u"cmdDown"_s)->click();
    EXPECT_EQ(listTexts(0).mid(0, 3), QStringList({kUser1, kUser2, defaultMasks().first()}));
    button(editor, u"cmdUp"_s)->click();
    EXPECT_EQ(listTexts(0).mid(0, 2), QStringList({kUser2, kUser1}));
    EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 0);

    // "&New" and "&Validate mask" on the empty box: refused, still editing.
    button(editor, u"cmdNew"_s)->click();
    EXPECT_EQ(list->topLevelItemCount(), 15);
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_FALSE(button(editor, u"cmdNew"_s)->isEnabled());
    validate->click();
    EXPECT_EQ(answers->lastText(), u"%track, %title or %filename not found"_s);
    EXPECT_EQ(answers->messages().last().title, u"Invalid mask"_s);
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_TRUE(validate->isEnabled());

    // Leaving the box for the list with an invalid mask asks again and keeps the edited entry.
    answers->clear();
    box->setFocus();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(3)).center());
    EXPECT_EQ(answers->count(), 1);
    EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 0);
    EXPECT_FALSE(box->isReadOnly());

    // Typing previews live; Enter accepts with "/" converted and the trailing space dropped.
    box->setFocus();
    QTest::keyClicks(box, u"%track/%title "_s);
    EXPECT_EQ(editor->findChild<QLineEdit *>(u"txtPreview"_s)->text(), u"01/Paper Kites .mp3"_s);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_EQ(list->topLevelItem(0)->text(0), u"%track\\%title"_s);
    EXPECT_EQ(list->topLevelItem(0)->text(1), u"User"_s);

    // "&Edit" while editing checks the typed mask first: an invalid one is refused and stays in
    // the box, a valid one is kept, never dropped.
    edit->click();
    box->setText(u"%artist"_s);
    answers->clear();
    edit->click();
    EXPECT_EQ(answers->lastText(), u"%track, %title or %filename not found"_s);
    EXPECT_EQ(box->text(), u"%artist"_s);
    EXPECT_FALSE(box->isReadOnly());
    box->setText(u"%track - %title"_s);
    edit->click();
    EXPECT_EQ(list->topLevelItem(0)->text(0), u"%track - %title"_s);
    EXPECT_EQ(box->text(), u"%track - %title"_s);
    box->setText(u"%track\\%title"_s);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(list->topLevelItem(0)->text(0), u"%track\\%title"_s);

    // "&Insert variable %" pops the menu up just below the button; an item goes in at the caret.
    edit->click();
    auto *insert = button(editor, u"cmdInsert"_s);
    insert->click();
    auto *menu = editor->findChild<QMenu *>(u"mnuInsert"_s);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), insert->mapToGlobal(QPoint(0, insert->height())));
    menu->findChild<QAction *>(u"mnuVariable4"_s)->trigger();
    menu->hide();
    EXPECT_EQ(box->text(), u"%track\\%title%year"_s);

    // "&Ok" with a too long mask still in the box: refused with a clear message, nothing saved.
    const QByteArray userFile = readAll(userMasksFile());
    answers->clear();
    box->setText(u"%title"_s + QString(300, u'a'));
    button(editor, u"cmdOk"_s)->click();
    EXPECT_EQ(answers->lastText(), u"The mask is too long (306 characters, at most 254)."_s);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(readAll(userMasksFile()), userFile);

    // "&Ok" with a valid edited mask validates it first instead of dropping it.
    box->setText(u"%track - %year "_s);
    button(editor, u"cmdOk"_s)->click();
    QStringList problems;
    const QList<MaskEntry> saved = readMaskInfo(problems);
    EXPECT_TRUE(problems.isEmpty());
    ASSERT_EQ(saved.size(), 15);
    EXPECT_EQ(saved[0], (MaskEntry{u"%track - %year"_s, 1}));
    EXPECT_EQ(saved[1], (MaskEntry{kUser2, 2}));
    EXPECT_EQ(saved[2], (MaskEntry{kUser1, 3}));
    EXPECT_EQ(dropDown().mid(0, 4), QStringList({u"%track - %year=1"_s, kUser2 + u"=2"_s, kUser1 + u"=3"_s,
                                                 defaultMasks().first() + u"=0"_s}));
    EXPECT_EQ(maskBox->currentIndex(), 0);
    EXPECT_EQ(maskBox->toolTip(), u"%track - %year"_s);
    EXPECT_EQ(storedSetting(u"Last Mask"_s), u"%track - %year"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->findChild<frmMask *>(), nullptr);
}

TEST_F(frmMaskTest, CancelKeepsEverythingAndOkWithoutUserMasksCleansTheUserFile)
{
    const QStringList before = dropDown();
    const QByteArray userFile = readAll(userMasksFile());

    frmMask *editor = openEditor(false);
    ASSERT_NE(editor, nullptr);
    button(editor, u"cmdDelete"_s)->click();
    button(editor, u"cmdNew"_s)->click();
    box->setText(u"%title"_s);
    select(4);
    button(editor, u"cmdCancel"_s)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(dropDown(), before);
    EXPECT_EQ(readAll(userMasksFile()), userFile);

    editor = openEditor(true);
    ASSERT_NE(editor, nullptr);
    button(editor, u"cmdDelete"_s)->click();
    EXPECT_EQ(list->currentItem()->text(1), u"User"_s);
    button(editor, u"cmdDelete"_s)->click();
    // Only defaults are left: the selection sits on one, which cannot be deleted.
    EXPECT_EQ(listTexts(1).count(u"User"_s), 0);
    EXPECT_FALSE(button(editor, u"cmdDelete"_s)->isEnabled());
    button(editor, u"cmdOk"_s)->click();

    EXPECT_FALSE(readAll(userMasksFile()).contains("Mask"));
    ASSERT_EQ(maskBox->count(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(maskBox->itemData(i).toInt(), 0);
    EXPECT_EQ(maskBox->itemText(0), defaultMasks().first());
}
