// The result log model: tree shape, pictures, counts, summary wording and the live listener.

#include "jobs/ResultLog.h"

#include <QList>
#include <QPair>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Kind = ResultLog::Kind;
using Change = ResultLog::Change;

TEST(ResultLogTest, FileEntryComesWithItsThreeChildrenInOrder)
{
    ResultLog log;
    const auto first = log.addFileEntry(u"Intro"_s);
    log.info(first.fileInfo, u"Old file name : /a/b.mp3"_s);
    const auto second = log.addFileEntry(u"Outro"_s);

    EXPECT_EQ(log.roots(), (QList<int>{first.entry, second.entry}));
    EXPECT_EQ(log.childTexts(first.entry), (QStringList{u"File Info"_s, u"ID3 Tag Info"_s, u"Warning and error"_s}));
    EXPECT_EQ(log.node(first.entry).picture, u"FileIcon"_s);
    EXPECT_EQ(log.node(first.fileInfo).picture, u"file"_s);
    EXPECT_EQ(log.node(first.tagInfo).picture, u"tag"_s);
    EXPECT_EQ(log.node(first.warnings).picture, u"errorTop"_s);
    // A line added to the first entry after the second entry exists still lands under the first.
    const int late = log.tag(first.tagInfo, u"Title : Intro"_s);
    EXPECT_EQ(log.node(late).parent, first.tagInfo);
    EXPECT_EQ(log.node(late).picture, u"taginfo"_s);
    EXPECT_TRUE(log.node(second.tagInfo).children.isEmpty());
}

TEST(ResultLogTest, WarningsAndErrorsAreCountedAndScrolledIntoView)
{
    ResultLog log;
    const auto f = log.addFileEntry(u"Song"_s);
    const int w = log.warning(f.warnings, u"careful"_s);
    const int e1 = log.error(f.warnings, u"bad"_s);
    log.error(f.warnings, u"worse"_s);
    log.info(f.fileInfo, u"fine"_s);

    EXPECT_EQ(log.warningCount(), 1);
    EXPECT_EQ(log.errorCount(), 2);
    EXPECT_EQ(log.node(w).picture, u"warning"_s);
    EXPECT_EQ(log.node(e1).picture, u"error"_s);
    EXPECT_TRUE(log.node(e1).madeVisible);
    // Making a line visible opens its whole branch, but not its siblings' branches.
    EXPECT_TRUE(log.node(f.warnings).expanded);
    EXPECT_TRUE(log.node(f.entry).expanded);
    EXPECT_FALSE(log.node(f.fileInfo).expanded);
}

TEST(ResultLogTest, OutputNodesAreRootsWithTheirOwnPictures)
{
    ResultLog log;
    log.addFileEntry(u"Song"_s);
    const int pls = log.addOutputNode(Kind::Playlist);
    const int cover = log.addOutputNode(Kind::Cover);
    EXPECT_EQ(log.findRoot(u"Playlist"_s), pls);
    EXPECT_EQ(log.findRoot(u"Cover"_s), cover);
    EXPECT_EQ(log.node(pls).picture, u"playlist"_s);
    EXPECT_EQ(log.node(cover).picture, u"cover"_s);
    log.warning(pls, u"Playlist file already exists. File replaced."_s);
    EXPECT_EQ(log.findChild(pls, u"Playlist file already exists. File replaced."_s), log.size() - 1);
    EXPECT_EQ(log.warningCount(), 1);
}

TEST(ResultLogTest, SummaryUsesSingularUpToOneAndPluralFromTwo)
{
    EXPECT_EQ(ResultLog::summaryLine(11, 12, 0, 1), u"Files renamed : 11 / 12   -   0 warning   -   1 error"_s);
    EXPECT_EQ(ResultLog::summaryLine(3, 3, 1, 0), u"Files renamed : 3 / 3   -   1 warning   -   0 error"_s);
    EXPECT_EQ(ResultLog::summaryLine(0, 2, 2, 5), u"Files renamed : 0 / 2   -   2 warning(s)   -   5 error(s)"_s);
}

TEST(ResultLogTest, SummaryFollowsTheCountsOnlyWhenRefreshed)
{
    ResultLog log;
    log.setRowCount(2);
    const auto f = log.addFileEntry(u"Song"_s);
    log.error(f.warnings, u"bad"_s);
    EXPECT_TRUE(log.summary().isEmpty());
    log.countRenamed();
    log.refreshSummary();
    EXPECT_EQ(log.summary(), u"Files renamed : 1 / 2   -   0 warning   -   1 error"_s);
}

TEST(ResultLogTest, ListenerSeesEveryChangeInOrderAndClearResetsEverything)
{
    ResultLog log;
    QList<QPair<Change, int>> seen;
    log.setListener([&](Change c, int n) { seen.append({c, n}); });

    const auto f = log.addFileEntry(u"Song"_s);
    const int e = log.error(f.warnings, u"bad"_s);
    log.setDestinationFolder(u"/music/"_s);
    log.refreshSummary();

    const QList<QPair<Change, int>> expected {
        {Change::NodeAdded, f.entry}, {Change::NodeAdded, f.fileInfo}, {Change::NodeAdded, f.tagInfo},
        {Change::NodeAdded, f.warnings}, {Change::NodeAdded, e}, {Change::NodeExpanded, f.warnings},
        {Change::NodeExpanded, f.entry}, {Change::NodeMadeVisible, e}, {Change::DestinationChanged, -1},
        {Change::SummaryChanged, -1},
    };
    EXPECT_EQ(seen, expected);

    log.countRenamed();
    log.setRowCount(4);
    log.clear();
    EXPECT_EQ(seen.last(), qMakePair(Change::Cleared, -1));
    EXPECT_EQ(log.size(), 0);
    EXPECT_EQ(log.errorCount(), 0);
    EXPECT_EQ(log.renamedCount(), 0);
    EXPECT_EQ(log.rowCount(), 0);
    EXPECT_TRUE(log.summary().isEmpty());
    EXPECT_TRUE(log.destinationFolder().isEmpty());
}

TEST(ResultLogTest, TextDumpIndentsByDepth)
{
    ResultLog log;
    const auto f = log.addFileEntry(u"Song"_s);
    log.info(f.fileInfo, u"Old file name : x"_s);
    log.addOutputNode(Kind::Cover);
    EXPECT_EQ(log.toText(),
              u"Song\n  File Info\n    Old file name : x\n  ID3 Tag Info\n  Warning and error\nCover\n"_s);
}
