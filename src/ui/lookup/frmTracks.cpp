#include "ui/lookup/frmTracks.h"

#include "album/LookupHandOver.h"
#include "foundation/Settings.h"
#include "lookup/BestMatch.h"
#include "lookup/CoverDownload.h"
#include "lookup/FileEvidence.h"
#include "lookup/TrackOrdering.h"
#include "ui/lookup/frmCover.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/widgets/Icons.h"
#include "ui/widgets/Named.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include "ui/widgets/ButtonEx.h"
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

/// Sets the wait cursor for the lifetime of the object.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

frmTracks::frmTracks(const AlbumRecord &record, QWidget *parent)
    : QDialog(parent), record_(record), rows_(record.rows), download_(new CoverDownload(this))
{
    setObjectName(u"frmTracks"_s);
    setWindowTitle(u"Tracks found"_s);
    buildControls();
    txtArtist->setText(record.artist);
    txtAlbum->setText(record.album);
    txtGenre->setText(record.genre);
    txtYear->setText(record.year);
    fillRows();
    connect(download_, &CoverDownload::finished, this, &frmTracks::coverArrived);
    // OK becomes usable 5 seconds after the dialog opened, whatever became of the cover.
    tmrTimeOut = new QTimer(this);
    tmrTimeOut->setInterval(5000);
    connect(tmrTimeOut, &QTimer::timeout, cmdOk, [this] { cmdOk->setEnabled(true); });
    tmrTimeOut->start();
}

frmTracks::~frmTracks() = default;

void frmTracks::buildControls()
{
    auto *fields = new QGridLayout;
    const auto field = [&](const QString &name, const QString &label, int row) {
        auto *edit = named(new QLineEdit(this), name);
        fields->addWidget(new QLabel(label, this), row, 0);
        fields->addWidget(edit, row, 1);
        return edit;
    };
    txtArtist = field(u"txtArtist"_s, u"Artist :"_s, 0);
    txtAlbum = field(u"txtAlbum"_s, u"Album :"_s, 1);
    txtGenre = field(u"txtGenre"_s, u"Genre :"_s, 2);
    txtYear = field(u"txtYear"_s, u"Year :"_s, 3);

    ImgCover = named(new QLabel(this), u"ImgCover"_s);
    ImgCover->setFixedSize(100, 100);
    ImgCover->setScaledContents(true);
    ImgCover->setCursor(Qt::PointingHandCursor);
    ImgCover->installEventFilter(this);
    ImgCover->hide();
    lblLoad = named(new QLabel(u"Loading cover..."_s, this), u"lblLoad"_s);
    lblLoad->setAlignment(Qt::AlignCenter);
    lblLoad->setFixedWidth(100);
    lblLoad->hide();
    fields->addWidget(ImgCover, 0, 2, 4, 1, Qt::AlignTop);
    fields->addWidget(lblLoad, 0, 2, 4, 1, Qt::AlignVCenter);
    fields->setColumnStretch(1, 1);

    lstTracks = named(new QTreeWidget(this), u"lstTracks"_s);
    lstTracks->setColumnCount(3);
    lstTracks->setHeaderLabels({u"Track"_s, u"File Name"_s, u"Score"_s});
    lstTracks->headerItem()->setToolTip(2, u"How well the file fits the track (0-100); the row's tooltip says why"_s);
    lstTracks->setRootIsDecorated(false);
    lstTracks->setUniformRowHeights(true);
    // The titles are the site's: a row's text is never edited in place.
    lstTracks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstTracks->setMinimumWidth(520);
    // The file names take the room the dialog gives; the score keeps its narrow column.
    lstTracks->header()->setStretchLastSection(false);
    lstTracks->header()->setSectionResizeMode(1, QHeaderView::Stretch);

    lblScore = named(new QLabel(this), u"lblScore"_s);
    cmdUp = named(new ButtonEx(u"&Up"_s, this), u"cmdUp"_s);
    cmdDown = named(new ButtonEx(u"&Down"_s, this), u"cmdDown"_s);
    cmdAutoOrder = named(new ButtonEx(u"&Auto order"_s, this), u"cmdAutoOrder"_s);
    cmdBestMatch = named(new ButtonEx(u"&Best match"_s, this), u"cmdBestMatch"_s);
    cmdBestMatch->setToolTip(u"Pairs every file with the track its title, track number and length fit best"_s);
    chkBestMatch = named(new QCheckBox(u"Pai&r by best match when an album arrives"_s, this), u"chkBestMatch"_s);
    chkBestMatch->setChecked(Settings().value(SettingsKeys::PairByBestMatch) == u"1");
    cmdContinue = named(new ButtonEx(u"&Continue"_s, this), u"cmdContinue"_s);
    cmdOk = named(new ButtonEx(u"&OK"_s, this), u"cmdOk"_s);
    cmdOk->setEnabled(false);
    cmdPaste = named(new ButtonEx(u"&Paste track list"_s, this), u"cmdPaste"_s);
    cmdPaste->setToolTip(u"Replaces the tracks by a track list copied to the clipboard, one track a line"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (ButtonEx *button : {cmdPaste, cmdUp, cmdDown, cmdAutoOrder, cmdBestMatch, cmdContinue, cmdOk})
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(lstTracks, 1);
    layout->addLayout(buttons);
    auto *scoreRow = new QHBoxLayout;
    scoreRow->addWidget(lblScore);
    scoreRow->addStretch(1);
    scoreRow->addWidget(chkBestMatch);
    layout->addLayout(scoreRow);

    connect(cmdUp, &ButtonEx::clicked, this, &frmTracks::moveUp);
    connect(cmdDown, &ButtonEx::clicked, this, &frmTracks::moveDown);
    connect(cmdAutoOrder, &ButtonEx::clicked, this, &frmTracks::autoOrder);
    connect(cmdBestMatch, &ButtonEx::clicked, this, &frmTracks::bestMatch);
    connect(chkBestMatch, &QCheckBox::toggled, this, [](bool on) {
        Settings().setValue(SettingsKeys::PairByBestMatch, on ? u"1"_s : u"0"_s);
    });
    connect(cmdContinue, &ButtonEx::clicked, this, &QDialog::reject);
    connect(cmdOk, &ButtonEx::clicked, this, &QDialog::accept);
    connect(cmdPaste, &ButtonEx::clicked, this, &frmTracks::pasteTrackList);
}

void frmTracks::fillRows()
{
    const int current = lstTracks->currentIndex().row();
    lstTracks->clear();
    QList<QTreeWidgetItem *> items;
    for (int i = 0; i < rows_.size(); ++i) {
        const TrackRow &row = rows_.at(i);
        const PairScore pair = pairScores_.value(i);
        auto *item = new QTreeWidgetItem({row.text, row.fileName, pair.reason.isEmpty() ? QString() : QString::number(pair.score)});
        item->setIcon(0, iconForKey(row.iconKey));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        for (int column = 0; column < 3; ++column)
            item->setToolTip(column, pair.reason);
        items.append(item);
    }
    lstTracks->addTopLevelItems(items);
    if (current >= 0 && current < items.size())
        lstTracks->setCurrentItem(items.at(current));
}

void frmTracks::fitToRows()
{
    const QScreen *display = screen();
    const double tpp = twipsPerPixel(display);
    const double screenHeight = (display ? display->availableGeometry().height() : 768) * tpp;
    const double maxHeight = screenHeight - 3000;
    double listHeight = rows_.size() * 209.7638 + 280 + 50;
    const double listWidth = lstTracks->width() * tpp;
    const double trackWidth = (listWidth - 80) / 3;
    double fileWidth = listWidth - trackWidth - 75;
    if (listHeight > maxHeight) {
        listHeight = maxHeight;
        fileWidth -= 250;
    }
    lstTracks->setColumnWidth(0, int(trackWidth / tpp));
    const int scoreWidth = lstTracks->fontMetrics().horizontalAdvance(u"Score"_s) + 24;
    lstTracks->setColumnWidth(1, std::max(60, int(fileWidth / tpp) - scoreWidth));
    lstTracks->setColumnWidth(2, scoreWidth);
    // The rows' own height decides how many show without scrolling; the twips only set the limit.
    const int rowHeight = lstTracks->topLevelItemCount() > 0
                              ? lstTracks->sizeHintForRow(0) : lstTracks->fontMetrics().height() + 4;
    const int wanted = lstTracks->header()->sizeHint().height() + rows_.size() * rowHeight
                       + 2 * lstTracks->frameWidth() + 4;
    lstTracks->setFixedHeight(qMin(wanted, int(maxHeight / tpp)));
    adjustSize();
    // The fields and buttons around the list take more room than the twips above allow for:
    // the list gives up what the dialog, title bar included, would need beyond the screen.
    if (display) {
        const int room = display->availableGeometry().height() - frameMargins(this).top() - frameMargins(this).bottom();
        const int excess = sizeHint().height() - room;
        if (excess > 0) {
            lstTracks->setFixedHeight(std::max(lstTracks->height() - excess, rowHeight * 3));
            adjustSize();
        }
    }
}

AlbumRecord frmTracks::record() const
{
    AlbumRecord result = record_;
    result.rows = rows_;
    result.artist = txtArtist->text();
    result.album = txtAlbum->text();
    result.genre = txtGenre->text();
    result.year = txtYear->text();
    return result;
}

bool frmTracks::coverShown() const
{
    return !cover_.isNull();
}

void frmTracks::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!dialogShown_) {
        dialogShown_ = true;
        // Once the dialog is drawn: the download and the score must not delay its first paint.
        QTimer::singleShot(0, this, &frmTracks::firstActivation);
    }
}

void frmTracks::firstActivation()
{
    if (record_.coverUrl.isEmpty()) {
        cmdOk->setEnabled(true);
    } else {
        lblLoad->setText(u"Loading cover..."_s);
        lblLoad->show();
        coverFileName_ = coverDownloadPath(record_.coverUrl);
        download_->start(record_.coverUrl, coverFileName_);
    }
    showAlbumFields();
    if (bestMatchOnOpen_ || chkBestMatch->isChecked())
        bestMatch();
    else
        showScore(true);
}

void frmTracks::setFolder(const QString &folder)
{
    folder_ = folder;
    evidenceRead_ = false;
}

const QList<FileEvidence> &frmTracks::evidence()
{
    if (!evidenceRead_ && !folder_.isEmpty()) {
        QStringList names;
        for (const TrackRow &row : std::as_const(rows_)) {
            if (!row.fileName.isEmpty() && row.fileName != AlbumRecord::notFound())
                names << row.fileName;
        }
        evidence_ = readFileEvidence(folder_, names);
        evidenceRead_ = true;
    }
    return evidence_;
}

void frmTracks::scoreCurrentPairs()
{
    AlbumRecord current = record_;
    current.rows = rows_;
    pairScores_ = scoreCurrentPairing(current, evidence());
}

void frmTracks::bestMatch()
{
    const WaitCursor wait;
    AlbumRecord current = record_;
    current.rows = rows_;
    pairScores_ = pairByBestMatch(current, evidence());
    rows_ = current.rows;
    score_ = orderTracks(rows_, true);
    lblScore->setText(albumScoreText(score_));
    fillRows();
}

void frmTracks::showAlbumFields()
{
    for (QLineEdit *edit : {txtYear, txtGenre, txtArtist, txtAlbum}) {
        const bool empty = edit->text().isEmpty();
        edit->setEnabled(!empty);
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, palette.color(empty ? QPalette::Button : QPalette::Base));
        edit->setPalette(empty ? palette : QPalette());
    }
}

void frmTracks::coverArrived(const QString &error)
{
    const QPixmap picture = error.isEmpty() ? QPixmap(coverFileName_) : QPixmap();
    if (picture.isNull()) {
        // OK then waits for tmrTimeOut; the album goes over without a cover.
        lblLoad->setText(u"Cover error"_s);
        lblLoad->setToolTip(error);
        return;
    }
    cover_ = picture;
    lblLoad->hide();
    ImgCover->setPixmap(picture);
    ImgCover->show();
    cmdOk->setEnabled(true);
}

bool frmTracks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ImgCover && event->type() == QEvent::MouseButtonRelease && lblLoad->isHidden())
        frmCover::showPicture(cover_, txtArtist->text() + u" - "_s + txtAlbum->text(), this);
    return QDialog::eventFilter(watched, event);
}

void frmTracks::showScore(bool scoreOnly)
{
    const WaitCursor wait;
    score_ = orderTracks(rows_, scoreOnly);
    lblScore->setText(albumScoreText(score_));
    scoreCurrentPairs();
    fillRows();
}

void frmTracks::autoOrder()
{
    showScore(false);
}

void frmTracks::moveUp()
{
    moveSelected(-1);
}

void frmTracks::moveDown()
{
    moveSelected(1);
}

void frmTracks::moveSelected(int direction)
{
    const int selected = lstTracks->currentIndex().row();
    if (selected >= 0) {
        const int moved = moveTrackFile(rows_, selected, direction);
        fillRows();
        lstTracks->setCurrentItem(lstTracks->topLevelItem(moved));
    }
    lstTracks->setFocus();
    showScore(true);
}
