// How fast the window shows a 1,000-file folder: the directory page from choosing the folder to
// its first rows and to the whole list with its totals line, and the tag page's list filled
// from the same files. Runs on the offscreen platform unless another is set.

#include "BenchFolder.h"
#include "ui/main/MainContext.h"
#include "ui/main/PageDirectory.h"
#include "ui/main/PageTag.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int FileCount = 1000;

// From choosing the folder in the folder tree to the whole list; "first_row_ms" is when the
// first row was added. Choosing it again lists it again, as in the window.
void BM_DirectoryPageOpen(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::of(FileCount);
    MainContext context;
    PageDirectory page(context);
    page.addColumnsLstViewFiles();
    page.resize(900, 600);
    page.show();
    auto *list = page.findChild<QTreeWidget *>(u"lstFiles"_s);
    QElapsedTimer clock;
    qint64 firstRow = -1;
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, [&] {
        if (firstRow < 0)
            firstRow = clock.nsecsElapsed();
    });
    double firstRowTotal = 0;
    for (auto _ : state) {
        firstRow = -1;
        clock.start();
        if (!page.navigateTo(folder.path()))
            state.SkipWithError("the folder tree does not find the folder");
        QCoreApplication::processEvents();
        firstRowTotal += double(firstRow) / 1e6;
        if (list->topLevelItemCount() != FileCount || context.currentDirectory != folder.path())
            state.SkipWithError("not every file of the folder was listed");
    }
    state.counters["first_row_ms"] = benchmark::Counter(firstRowTotal, benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(state.iterations() * FileCount);
}
BENCHMARK(BM_DirectoryPageOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

// The tag page's list: both tags of every file read for the title, artist, album... columns.
void BM_TagListFill(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::of(FileCount);
    MainContext context;
    context.currentDirectory = folder.path();
    PageTag page(context);
    page.addColumnsLstViewFilesTag();
    page.resize(900, 600);
    page.show();
    auto *list = page.findChild<QTreeWidget *>(u"lstFilesTag"_s);
    for (auto _ : state) {
        page.fillTagList(folder.names());
        QCoreApplication::processEvents();
        if (list->topLevelItemCount() != FileCount)
            state.SkipWithError("not every file was listed");
    }
    state.SetItemsProcessed(state.iterations() * FileCount);
}
BENCHMARK(BM_TagListFill)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The pages store settings: keep them away from the user's own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
