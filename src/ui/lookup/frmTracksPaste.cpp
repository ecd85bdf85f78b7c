// "Paste track list" of the track list dialog: a pasted list replaces the record's tracks.
#include "ui/lookup/frmTracks.h"

#include "foundation/MessageGateway.h"
#include "lookup/TrackListReader.h"
#include "lookup/TrackOrdering.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

void frmTracks::setWorkingList(const WorkingList &files, const QString &directory)
{
    files_ = files;
    directory_ = directory;
}

void frmTracks::pasteTrackList()
{
    LookupContext lookup;
    lookup.files = files_;
    lookup.search.directory = directory_;
    if (files_.fileNames.isEmpty()) {
        // Opened without its working list: the files the rows name, in row order.
        for (const TrackRow &row : std::as_const(rows_)) {
            if (row.fileName != AlbumRecord::notFound() && !row.fileName.isEmpty())
                lookup.files.fileNames << row.fileName;
        }
    }
    if (!TrackList::captureText(QGuiApplication::clipboard()->text(), lookup)) {
        Msg::ask(TrackList::noTrackListInText(), u"Paste track list"_s, Msg::Icon::Exclamation);
        return;
    }
    // The cover found with the old record stays; everything else is the pasted list's.
    const QString coverUrl = record_.coverUrl;
    record_ = lookup.record;
    record_.coverUrl = coverUrl;
    rows_ = record_.rows;
    scoreCurrentPairs();
    txtArtist->setText(record_.artist);
    txtAlbum->setText(record_.album);
    txtGenre->setText(record_.genre);
    txtYear->setText(record_.year);
    fillRows();
    if (dialogShown_)
        showAlbumFields();
    fitToRows();
    showScore(true);
}
