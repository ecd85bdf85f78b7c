#pragma once
// The evidence the files of a folder carry for a lookup: their tags and lengths, read once.

#include "lookup/EvidencePairing.h"

#include <QList>
#include <QString>
#include <QStringList>

/// Reads tag title, track, artist, album, year (either tag version) and the playing time of
/// each file of the folder, in the order given. A file that cannot be read gives its name only.
[[nodiscard]] QList<FileEvidence> readFileEvidence(const QString &folder, const QStringList &fileNames);
