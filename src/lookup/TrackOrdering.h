#pragma once
// Automatic ordering of the track list: each file's name is scored against every track title,
// files take their best title not yet taken, and an album score out of 1000 tells how well the
// pairing fits.

#include "lookup/AlbumRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

/// Scores one file name (words separated by blanks, ending with a blank) against one track
/// title into valeurFileName: 3 points a character for a word found whole, 1 for a word found
/// inside another; a one-character name scores its length squared when the title holds it.
/// When the score beats bestResult and the title is not in bestTrackAlreadyUsed, it becomes the
/// best track. Letter case is ignored.
void autoOrderScore(const QString &Filename, const QString &trackName, int &bestResult, QString &bestTrack,
                    int &valeurFileName, const QStringList &bestTrackAlreadyUsed);

/// The part of row i's file name (folded) that differs from the other rows' file names:
/// characters every paired file name shares at the same position are dropped; blanks and "0"
/// always stay.
[[nodiscard]] QString distinguishingText(const QList<TrackRow> &rows, int i);

/// With scoreOnly false pairs every file with its best title (files served in row order) and
/// rewrites the rows' file names; with scoreOnly true only scores the current pairing. Returns
/// the album score 0-1000 (0 when nothing can be scored).
int orderTracks(QList<TrackRow> &rows, bool scoreOnly);

/// "Album score : <score>/1000".
[[nodiscard]] QString albumScoreText(int score);

/// Swaps the file of row `selected` with the row above (direction -1) or below (+1) when there
/// is one; returns the row the file is in afterwards. Titles never move.
int moveTrackFile(QList<TrackRow> &rows, int selected, int direction);
