// How fast "Best match" pairs a large album: 999 files against 999 tracks, every pair scored
// (titles, numbers, lengths) and the whole album solved as one optimal assignment.

#include "lookup/EvidencePairing.h"

#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <numeric>
#include <random>

using namespace Qt::StringLiterals;

namespace {

constexpr int Count = 999;

const QStringList Words = {u"night"_s, u"river"_s, u"light"_s, u"stone"_s, u"blue"_s, u"fire"_s, u"road"_s,
                           u"heart"_s, u"silver"_s, u"rain"_s, u"dance"_s, u"morning"_s, u"shadow"_s, u"gold"_s,
                           u"wind"_s, u"ocean"_s, u"city"_s, u"dream"_s, u"winter"_s, u"song"_s};

struct Album
{
    QList<FileEvidence> files;
    QList<TrackEvidence> tracks;
};

/// 999 tracks of three-word titles and lengths of 1 to 10 minutes; the files hold them in a
/// shuffled order, with the title in the name (and, when tagged, in the tag with its number)
/// and a length a second or two off.
Album makeAlbum(bool tagged)
{
    QRandomGenerator random(999);
    Album album;
    for (int i = 0; i < Count; ++i) {
        const QString title = u"%1 %2 %3"_s.arg(Words.at(random.bounded(20)), Words.at(random.bounded(20)),
                                                Words.at(random.bounded(20)));
        album.tracks.append({title, i + 1, 60 + int(random.bounded(540))});
    }
    QList<int> order(Count);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(25));
    for (int k : order) {
        const TrackEvidence &track = album.tracks.at(k);
        FileEvidence file;
        file.fileName = u"Artist - Album - %1.mp3"_s.arg(track.title);
        if (tagged) {
            file.tagTitle = track.title;
            file.tagTrack = QString::number(track.number);
        }
        file.lengthSeconds = track.lengthSeconds + int(random.bounded(3));
        album.files.append(file);
    }
    return album;
}

void pairAlbum(benchmark::State &state, bool tagged)
{
    const Album album = makeAlbum(tagged);
    int paired = 0;
    for (auto _ : state) {
        const EvidenceScorer scorer(album.files, album.tracks);
        const EvidencePairing pairing = pairByEvidence(scorer);
        paired = int(std::count_if(pairing.trackOfFile.begin(), pairing.trackOfFile.end(), [](int t) { return t >= 0; }));
        benchmark::DoNotOptimize(paired);
    }
    state.counters["paired"] = paired;
}

void BM_BestMatch999Tagged(benchmark::State &state)
{
    pairAlbum(state, true);
}
BENCHMARK(BM_BestMatch999Tagged)->Unit(benchmark::kMillisecond);

// Names and lengths only: many titles alike, so the assignment has more to weigh.
void BM_BestMatch999NamesOnly(benchmark::State &state)
{
    pairAlbum(state, false);
}
BENCHMARK(BM_BestMatch999NamesOnly)->Unit(benchmark::kMillisecond);

// A dozen tracks against a folder of 5,000 files: the long side must not cost its cube.
void BM_BestMatch12TracksOf5000Files(benchmark::State &state)
{
    Album album = makeAlbum(false);
    album.tracks = album.tracks.mid(0, 12);
    for (int i = 0; i < 5000; ++i) {
        FileEvidence file = album.files.at(i % Count);
        file.fileName = u"%1 %2"_s.arg(i).arg(file.fileName);
        album.files.append(file);
    }
    album.files = album.files.mid(Count);
    int paired = 0;
    for (auto _ : state) {
        const EvidenceScorer scorer(album.files, album.tracks);
        const EvidencePairing pairing = pairByEvidence(scorer);
        paired = int(std::count_if(pairing.trackOfFile.begin(), pairing.trackOfFile.end(), [](int t) { return t >= 0; }));
        benchmark::DoNotOptimize(paired);
    }
    state.counters["paired"] = paired;
}
BENCHMARK(BM_BestMatch12TracksOf5000Files)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
