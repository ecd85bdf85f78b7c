#include "frmPlayer.h"

#include "foundation/Common.h"
#include "foundation/MessageGateway.h"
#include "ui/widgets/Desktop.h"

#include <QAudioOutput>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include "ui/widgets/ButtonEx.h"
#include <QSlider>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString clockText(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    return QString::number(seconds / 60) + u':' + QString::number(seconds % 60).rightJustified(2, u'0');
}

ButtonEx *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new ButtonEx(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

frmPlayer::frmPlayer(QStringList paths, int selectedRow, QWidget *parent)
    : QDialog(parent)
    , paths_(std::move(paths))
    , selectedRow_(selectedRow)
{
    setObjectName(u"frmPlayer"_s);
    setMinimumWidth(360);

    mp = new QMediaPlayer(this);
    mp->setObjectName(u"mp"_s);
    audio_ = new QAudioOutput(this);
    audio_->setVolume(0.8f);
    mp->setAudioOutput(audio_);

    lblFile = new QLabel(this);
    lblFile->setObjectName(u"lblFile"_s);
    lblFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    sldPosition = new QSlider(Qt::Horizontal, this);
    sldPosition->setObjectName(u"sldPosition"_s);
    sldPosition->setToolTip(u"Position"_s);
    lblTime = new QLabel(u"0:00 / 0:00"_s, this);
    lblTime->setObjectName(u"lblTime"_s);
    cmdPause = button(u"cmdPause"_s, u"P&ause"_s, this);
    sldVolume = new QSlider(Qt::Horizontal, this);
    sldVolume->setObjectName(u"sldVolume"_s);
    sldVolume->setRange(0, 100);
    sldVolume->setValue(80);
    sldVolume->setMaximumWidth(100);
    sldVolume->setToolTip(u"Volume"_s);
    cmdPrev = button(u"cmdPrev"_s, u"&Previous"_s, this);
    cmdNext = button(u"cmdNext"_s, u"&Next"_s, this);
    cmdEnd = button(u"cmdEnd"_s, u"&Close"_s, this);
    cmdEnd->setDefault(true);

    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(sldPosition, 1);
    timeRow->addWidget(lblTime);
    auto *controls = new QHBoxLayout;
    controls->addWidget(cmdPause);
    controls->addWidget(new QLabel(u"Volume"_s, this));
    controls->addWidget(sldVolume);
    controls->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdPrev);
    buttons->addWidget(cmdNext);
    buttons->addStretch(1);
    buttons->addWidget(cmdEnd);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblFile);
    layout->addLayout(timeRow);
    layout->addLayout(controls);
    layout->addLayout(buttons);

    connect(cmdPrev, &ButtonEx::clicked, this, [this] { playRelative(-1); });
    connect(cmdNext, &ButtonEx::clicked, this, [this] { playRelative(+1); });
    connect(cmdEnd, &ButtonEx::clicked, this, &QDialog::accept);
    connect(cmdPause, &ButtonEx::clicked, this, &frmPlayer::togglePause);
    connect(sldVolume, &QSlider::valueChanged, this, [this](int value) { audio_->setVolume(float(value) / 100.0f); });
    connect(sldPosition, &QSlider::sliderMoved, mp, [this](int value) { mp->setPosition(value); });
    connect(mp, &QMediaPlayer::durationChanged, this, &frmPlayer::updatePosition);
    connect(mp, &QMediaPlayer::positionChanged, this, &frmPlayer::updatePosition);
    connect(mp, &QMediaPlayer::mediaStatusChanged, this, &frmPlayer::onMediaStatus);
    connect(mp, &QMediaPlayer::errorOccurred, this, &frmPlayer::onError);
    connect(mp, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        cmdPause->setText(state == QMediaPlayer::PausedState ? u"&Resume"_s : u"P&ause"_s);
    });

    // Without a sound output the player would run through the files without a sound.
    if (!Desktop::hasSoundOutput())
        Msg::showError(u"No sound output is available: the files cannot be heard.\nConnect or switch on a sound device, then open the player again."_s);
    offset_ = 0;
    playRelative(0);
}

frmPlayer::~frmPlayer()
{
    mp->stop();
}

QString frmPlayer::currentPath() const
{
    const int row = selectedRow_ + offset_;
    return rowExists(row) ? paths_.at(row) : QString();
}

void frmPlayer::playRelative(int step)
{
    cmdPrev->setEnabled(true);
    cmdNext->setEnabled(true);
    const int row = selectedRow_ + offset_ + step;
    if (!rowExists(row)) {
        // An empty list or a stale button: nothing is played, the buttons show what is left.
        cmdPrev->setEnabled(rowExists(selectedRow_ + offset_ - 1));
        cmdNext->setEnabled(rowExists(selectedRow_ + offset_ + 1));
        return;
    }
    offset_ += step;
    const QString path = paths_.at(row);
    setWindowTitle(Common::getFileName(path));
    lblFile->setText(Common::getFileName(path));
    errorShown_ = false;
    mp->stop();
    mp->setSource(QUrl::fromLocalFile(path));
    mp->play();

    if (step >= 0 && !rowExists(row + 1))
        cmdNext->setEnabled(false);
    if (step <= 0 && !rowExists(row - 1))
        cmdPrev->setEnabled(false);
}

void frmPlayer::onMediaStatus()
{
    if (mp->mediaStatus() == QMediaPlayer::EndOfMedia && cmdNext->isEnabled())
        playRelative(+1);
}

void frmPlayer::onError()
{
    // A file that cannot be played (damaged, vanished) is reported once; the window stays
    // usable so the user can step to another file or close it.
    if (errorShown_ || mp->error() == QMediaPlayer::NoError)
        return;
    errorShown_ = true;
    const QString description = mp->errorString().isEmpty() ? u"This file cannot be played."_s : mp->errorString();
    Msg::showError(description + u"\n"_s + currentPath());
}

void frmPlayer::updatePosition()
{
    if (!sldPosition->isSliderDown()) {
        sldPosition->setRange(0, int(mp->duration()));
        sldPosition->setValue(int(mp->position()));
    }
    lblTime->setText(clockText(mp->position()) + u" / "_s + clockText(mp->duration()));
}

void frmPlayer::togglePause()
{
    if (mp->playbackState() == QMediaPlayer::PlayingState)
        mp->pause();
    else if (mp->playbackState() == QMediaPlayer::PausedState || mp->mediaStatus() == QMediaPlayer::EndOfMedia)
        mp->play();
}
