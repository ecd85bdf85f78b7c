#pragma once
// "varnelt-cli lookup DIR --search" and the pairing choice of every lookup: the album search
// without browsing (no engine needed), its candidates printed best first or the best one read
// as a record, and "--pairing best" for records from any road.

#include "lookup/AlbumCandidates.h"
#include "lookup/SiteReaders.h"

#include <QStringList>

struct LookupRunOptions;

/// How the files of a record are paired before it is printed or handed over.
enum class PairingChoice { Position, Auto, Best };

/// The search options of lookup and the pairing choice: --search, --best, --artist TEXT,
/// --album TEXT, --pairing position|auto|best. Returns false when args[i] is none of them.
bool parseSearchOption(const QStringList &args, int &i, LookupRunOptions &options, QString &error);

/// lookup DIR --search [--best]: prints the candidates (score, MBID, artist, album, year, track
/// count, separated by tabs) or, with --best, the best one's record. Returns the exit status.
int runSearchCommand(const LookupRunOptions &options);

/// Runs the search for the working list of the folder within the time limit. Returns false
/// with a one-line failure when no candidate was found.
bool searchCandidates(const QString &folder, const WorkingList &files, const QString &artist, const QString &album,
                      int timeoutSeconds, FolderEvidence &evidence, QList<Candidate> &candidates, QString &failure);

/// The record of the best candidate, paired as chosen (best match unless the choice says
/// otherwise); scores gets the pairs' scores with best match. Returns the album score.
int bestCandidateRecord(const Candidate &candidate, const FolderEvidence &evidence, PairingChoice pairing,
                        LookupContext &lookup, QList<PairScore> &scores);

/// Pairs a record read from a page by best match, from the folder's files; returns the album score.
int pairLookupByBestMatch(const QString &folder, LookupContext &lookup, QList<PairScore> &scores);

/// Prints a record as lookup prints one: the album lines, a line per row (text, a tab, the
/// file; with scores also the pair's score and reason), the album score.
void printLookupRecord(const AlbumRecord &record, int score, const QList<PairScore> &scores);
