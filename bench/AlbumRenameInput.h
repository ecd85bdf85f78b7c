#pragma once
// The rename job the benchmarks run over a BenchFolder album: album mask, new folder beside the
// old one, both tags, a playlist.

#include "BenchFolder.h"
#include "jobs/AlbumRenameJob.h"

inline RenameJobInput albumRenameInput(const QString &folder, int count)
{
    using namespace Qt::StringLiterals;
    RenameJobInput in;
    in.currentDirectory = folder;
    const QStringList &names = BenchFolder::of(count).names();
    for (int i = 0; i < names.size(); ++i)
        in.rows.append({u"Title %1"_s.arg(i), names.at(i), QString::asprintf("%02d", i + 1)});
    in.album = {u"Artist"_s, u"Album"_s, u"2001"_s, u"Rock"_s, u"Ripped"_s};
    in.naming.mask = u"%artist - %album\\%track - %title"_s;
    in.naming.destination = u"Parent directory"_s;
    in.outputs.playlist = true;
    return in;
}
