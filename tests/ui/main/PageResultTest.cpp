// The result page mirrors the result log model live, and the pictures behind the image keys.
#include "PagesFixture.h"

#include "ui/main/PageResult.h"
#include "ui/widgets/GenreCombo.h"
#include "ui/widgets/Icons.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class PageResultTest : public PagesTest
{
protected:
    QTreeWidget *tree() const { return control<QTreeWidget>(u"trvLog"_s); }
};

TEST_F(PageResultTest, MirrorsEveryNodeWithItsPictureInOrder)
{
    showPage(WizardPage::Result);
    ResultLog &log = context->resultLog;
    const ResultLog::FileNodes file = log.addFileEntry(u"Intro"_s);
    log.info(file.fileInfo, u"Old file name : a"_s);
    log.tag(file.tagInfo, u"Title : Intro"_s);
    const int playlist = log.addOutputNode(ResultLog::Kind::Playlist);
    log.warning(playlist, u"Playlist file already exists. File replaced."_s);

    ASSERT_EQ(tree()->topLevelItemCount(), 2);
    QTreeWidgetItem *entry = tree()->topLevelItem(0);
    EXPECT_EQ(entry->text(0), u"Intro"_s);
    ASSERT_EQ(entry->childCount(), 3);
    EXPECT_EQ(entry->child(0)->child(0)->text(0), u"Old file name : a"_s);
    EXPECT_EQ(entry->child(1)->child(0)->text(0), u"Title : Intro"_s);
    QTreeWidgetItem *output = tree()->topLevelItem(1);
    EXPECT_EQ(output->text(0), u"Playlist"_s);
    EXPECT_TRUE(output->isExpanded());

    for (int i = 0; i < log.size(); ++i) {
        QTreeWidgetItem *item = pageResult->itemOf(i);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(0), log.node(i).text);
        EXPECT_EQ(item->icon(0).pixmap(16).toImage(), iconForKey(log.node(i).picture).pixmap(16).toImage())
            << log.node(i).picture.toStdString();
    }
}

TEST_F(PageResultTest, ShowsSummaryAndFolderAndEmptiesWithTheLog)
{
    ResultLog &log = context->resultLog;
    log.addFileEntry(u"Intro"_s);
    log.setRowCount(1);
    log.countRenamed();
    log.refreshSummary();
    log.setDestinationFolder(u"/music/Foo - Bar/"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtLogInfo"_s)->text(), u"Files renamed : 1 / 1   -   0 warning   -   0 error"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtDirectoryLog"_s)->text(), u"/music/Foo - Bar/"_s);

    log.clear();
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_TRUE(control<QLineEdit>(u"txtLogInfo"_s)->text().isEmpty());
    EXPECT_TRUE(control<QLineEdit>(u"txtDirectoryLog"_s)->text().isEmpty());
}

TEST_F(PageResultTest, ALogFilledBeforeThePageIsShownWhole)
{
    MainContext other;
    const ResultLog::FileNodes file = other.resultLog.addFileEntry(u"Early"_s);
    other.resultLog.expand(file.entry);
    PageResult late(other);
    auto *lateTree = late.findChild<QTreeWidget *>(u"trvLog"_s);
    ASSERT_EQ(lateTree->topLevelItemCount(), 1);
    EXPECT_TRUE(lateTree->topLevelItem(0)->isExpanded());
    EXPECT_EQ(lateTree->topLevelItem(0)->childCount(), 3);
}

TEST(IconsTest, EveryKeyHasItsOwnSmallPicture)
{
    QSet<QByteArray> seen;
    for (const QString &key : Icons::knownKeys()) {
        const QIcon icon = iconForKey(key);
        ASSERT_FALSE(icon.isNull()) << key.toStdString();
        const QImage image = icon.pixmap(16).toImage();
        EXPECT_EQ(image.size(), QSize(16, 16));
        const QByteArray bytes(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
        // "Info" and "info" are the same picture under two names; all others differ.
        if (key != u"info") {
            EXPECT_FALSE(seen.contains(bytes)) << key.toStdString();
        }
        seen.insert(bytes);
    }
    EXPECT_TRUE(iconForKey(u"NoSuchKey"_s).isNull());
}

TEST_F(PageResultTest, GenreListsStartEmptyThenSortedNamesWithTheirNumbers)
{
    auto *genre = control<QComboBox>(u"cboGenreEdit"_s);
    fillGenreList(genre); // a second fill replaces the first
    ASSERT_EQ(genre->count(), 149);
    EXPECT_EQ(genre->currentIndex(), 0);
    EXPECT_TRUE(genre->itemText(0).isEmpty());
    EXPECT_EQ(genre->itemData(0).toInt(), 254);
    for (int i = 2; i < genre->count(); ++i)
        EXPECT_LE(genre->itemText(i - 1).compare(genre->itemText(i), Qt::CaseInsensitive), 0) << i;
    const int other = genre->findText(u"Other"_s);
    ASSERT_GT(other, 0);
    EXPECT_EQ(genre->itemData(other).toInt(), 12);
    EXPECT_EQ(genre->itemData(genre->findText(u"Blues"_s)).toInt(), 0);
}

TEST_F(PageResultTest, ExpandingANodeNearTheBottomShowsItsChildrenAndTheMenuOpensOrClosesAll)
{
    showPage(WizardPage::Result);
    host->resize(500, 400);
    ResultLog &log = context->resultLog;
    QList<ResultLog::FileNodes> files;
    for (int i = 0; i < 40; ++i) {
        files.append(log.addFileEntry(u"Track %1"_s.arg(i)));
        for (int line = 0; line < 4; ++line)
            log.info(files.last().fileInfo, u"line %1"_s.arg(line));
    }
    QTreeWidget *t = tree();
    QApplication::processEvents();
    const int bottomRow = t->indexAt(QPoint(5, t->viewport()->height() - 5)).row();
    ASSERT_GT(bottomRow, 0);
    ASSERT_LT(bottomRow, 39) << "the tree must be long enough to scroll";

    // The user opens the lowest visible entry and its "File Info" with the keyboard.
    QTreeWidgetItem *entry = t->topLevelItem(bottomRow);
    t->setFocus();
    t->setCurrentItem(entry);
    QTest::keyClick(t, Qt::Key_Right);
    ASSERT_TRUE(entry->isExpanded());
    QTreeWidgetItem *info = entry->child(0);
    t->setCurrentItem(info);
    QTest::keyClick(t, Qt::Key_Right);
    ASSERT_TRUE(info->isExpanded());
    const QRect shown = t->viewport()->rect();
    EXPECT_TRUE(shown.contains(t->visualItemRect(info->child(3)))) << "the last child is scrolled into view";
    EXPECT_TRUE(shown.contains(t->visualItemRect(info)));

    // The context menu offers "Expand all" and "Collapse all".
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), t->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(t->viewport(), &menuEvent);
    auto *menu = t->findChild<QMenu *>(u"mnuLog"_s);
    ASSERT_NE(menu, nullptr);
    QTRY_VERIFY(menu->isVisible());
    QStringList captions;
    for (QAction *action : menu->actions())
        captions << action->text();
    EXPECT_EQ(captions, (QStringList{u"Expand all"_s, u"Collapse all"_s}));
    menu->actions().at(0)->trigger();
    menu->hide();
    for (const ResultLog::FileNodes &f : files) {
        EXPECT_TRUE(pageResult->itemOf(f.entry)->isExpanded());
        EXPECT_TRUE(pageResult->itemOf(f.fileInfo)->isExpanded());
    }
    menu->actions().at(1)->trigger();
    for (int i = 0; i < t->topLevelItemCount(); ++i)
        EXPECT_FALSE(t->topLevelItem(i)->isExpanded());
}
