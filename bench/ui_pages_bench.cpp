// How fast the window shows a 1,000-file folder: the directory page from choosing the folder to
// its first rows and to the whole list with its totals line, and the tag page's list filled
// from the same files. Runs on the offscreen platform unless another is set.

#include "BenchFolder.h"
#include "ui/main/MainContext.h"
#include "ui/main/PageDirectory.h"
#include "ui/main/PageTag.h"

#include "foundation/MessageGateway.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QLineEdit>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <functional>
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

// The tag page's batch commands over every listed file, each from the button to the last file
// shown: the fill of one version-2 field and the track numbering, each round writing other
// values than the round before, so every file is written every time.
bool addTotal = false;

void tagPageBatch(benchmark::State &state, const QString &button, const std::function<void(PageTag &, int)> &prepare)
{
    const BenchFolder &folder = BenchFolder::of(FileCount);
    MainContext context;
    context.currentDirectory = folder.path();
    context.activeWizardPage = WizardPage::Tag;
    PageTag page(context);
    page.resize(900, 700);
    page.show();
    page.fillTagList(folder.names());
    const Msg::Presenter previous = Msg::setPresenter([](const Msg::Message &m) {
        return m.title == u"Track auto fill" && !addTotal ? Msg::Answer::No : Msg::Answer::Yes;
    });
    auto *command = page.findChild<QAbstractButton *>(button);
    int round = 0;
    for (auto _ : state) {
        prepare(page, ++round);
        command->click();
        if (page.shownFile() != folder.names().last())
            state.SkipWithError("the batch did not reach the last file");
    }
    Msg::setPresenter(previous);
    state.SetItemsProcessed(state.iterations() * FileCount);
}

void BM_TagPageFill(benchmark::State &state)
{
    tagPageBatch(state, u"cmdCopyTag"_s, [](PageTag &page, int round) {
        page.findChild<QCheckBox *>(u"chkFillAlbum2"_s)->setChecked(true);
        page.findChild<QLineEdit *>(u"txtAlbum2"_s)->setText(u"Album "_s + QString::number(round));
    });
}
BENCHMARK(BM_TagPageFill)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_TagPageTrackNumbering(benchmark::State &state)
{
    tagPageBatch(state, u"cmdAutoTrack"_s, [](PageTag &, int round) { addTotal = round % 2 == 1; });
}
BENCHMARK(BM_TagPageTrackNumbering)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

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
