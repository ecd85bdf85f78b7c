// The lookup window's captures: the track list of any page (or of the selection on it) and a
// pasted track list, each opened in the track list dialog as a site's record is.
#include "ui/lookup/frmInternet.h"

#include "browser/LookupPageDriver.h"
#include "browser/PageBridge.h"
#include "foundation/MessageGateway.h"
#include "lookup/TrackListReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

void frmInternet::captureTrackList()
{
    if (tracks_ || closing_)
        return;
    StatusBar1->showMessage(u"Reading the page's track list..."_s);
    QPointer<frmInternet> guard(this);
    PageBridge::takeSnapshot(web->page(), [guard](const HtmlDocument &doc) {
        if (!guard || guard->tracks_ || guard->closing_)
            return;
        guard->showCaptured(TrackList::capture(doc, guard->lookup_), TrackList::noTrackListOnPage(),
                            u"Capture track list"_s);
    }, PageBridge::SnapshotKind::TrackList);
}

void frmInternet::pasteTrackList()
{
    if (tracks_ || closing_)
        return;
    const QString text = QGuiApplication::clipboard()->text();
    showCaptured(TrackList::captureText(text, lookup_), TrackList::noTrackListInText(), u"Paste track list"_s);
}

void frmInternet::showCaptured(bool found, const QString &nothingFound, const QString &title)
{
    // "Reading the page's track list..." is over either way.
    StatusBar1->clearMessage();
    if (!found) {
        Msg::ask(nothingFound, title, Msg::Icon::Exclamation);
        return;
    }
    // The capture stopped the polling as a reader does; the next site page starts it again.
    poller_->updateTimer();
    QTimer::singleShot(0, this, &frmInternet::showTrackList);
}
