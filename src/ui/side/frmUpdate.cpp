#include "frmUpdate.h"

#include "foundation/Common.h"
#include "foundation/MakerSite.h"
#include "foundation/UpdateFile.h"
#include "foundation/MessageGateway.h"
#include "foundation/Version.h"
#include "ui/widgets/Desktop.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPalette>
#include "ui/widgets/ButtonEx.h"
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString ErrorText = u"Error"_s;

QLineEdit *versionBox(const QString &name, const QString &text, QWidget *parent)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setMinimumWidth(260);
    return box;
}

} // namespace

frmUpdate::frmUpdate(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"frmUpdate"_s);
    setWindowTitle(u"Check for update"_s);

    txtActualVersion = versionBox(u"txtActualVersion"_s, Version::text(), this);
    txtLastVersion = versionBox(u"txtLastVersion"_s, u"Checking..."_s, this);
    cmdFindInternet = new ButtonEx(u"&Download"_s, this);
    cmdFindInternet->setObjectName(u"cmdFindInternet"_s);
    cmdEnd = new ButtonEx(u"&Close"_s, this);
    cmdEnd->setObjectName(u"cmdEnd"_s);
    cmdEnd->setDefault(true);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(u"Your version"_s, this), 0, 0);
    grid->addWidget(txtActualVersion, 0, 1);
    grid->addWidget(new QLabel(u"Last version"_s, this), 1, 0);
    grid->addWidget(txtLastVersion, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdFindInternet);
    buttons->addWidget(cmdEnd);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(cmdFindInternet, &ButtonEx::clicked, this,
        [] {
            const QString address = MakerSite::page(u"download/"_s);
            if (!Desktop::openAddress(QUrl(address)))
                Msg::showError(u"No web browser could be opened to show the download page.\nPlease open this address yourself: "_s + address);
        });
    connect(cmdEnd, &ButtonEx::clicked, this, &QDialog::accept);

    tmrDownload = new QTimer(this);
    tmrDownload->setObjectName(u"tmrDownload"_s);
    tmrDownload->setInterval(250);
    connect(tmrDownload, &QTimer::timeout, this, &frmUpdate::readLocalFile);
    tmrDownload->start();
    startDownload();
}

frmUpdate::~frmUpdate()
{
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
    if (partial_)
        partial_->remove();
}

QColor frmUpdate::differentVersionColour()
{
    return QColor(255, 192, 192);
}

void frmUpdate::startDownload()
{
    const QUrl address(MakerSite::page(u"update.txt"_s));
    if (!Common::checkDownloadFolder()) {
        fail();
        return;
    }
    localPath_ = Common::addBackslash(Common::downloadFolder()) + Common::getFileName(address.path());
    // A copy left by an earlier check must not be read as this check's answer; the file is
    // written under another name and renamed once complete, so the timer never reads half of it.
    QFile::remove(localPath_);
    partial_ = new QFile(localPath_ + u".part"_s, this);
    if (!partial_->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail();
        return;
    }
    network_ = new QNetworkAccessManager(this);
    QNetworkRequest request(address);
    request.setTransferTimeout(TransferTimeout);
    reply_ = network_->get(request);
    connect(reply_, &QNetworkReply::readyRead, this, &frmUpdate::receive);
    connect(reply_, &QNetworkReply::finished, this, &frmUpdate::downloadFinished);
}

void frmUpdate::receive()
{
    // Only the first line counts: a longer file is cut at the limit, and one without a line end
    // before it is no update file (and must not fill the disk).
    const QByteArray chunk = reply_->read(MaxFileSize - received_);
    received_ += chunk.size();
    lineEnded_ = lineEnded_ || chunk.contains('\n');
    if (partial_->write(chunk) != chunk.size()) {
        fail();
        return;
    }
    if (received_ < MaxFileSize)
        return;
    if (lineEnded_)
        complete();
    else
        fail();
}

void frmUpdate::downloadFinished()
{
    if (reply_ && reply_->bytesAvailable() > 0)
        receive();
    if (!reply_)
        return;
    if (reply_->error() != QNetworkReply::NoError) {
        fail();
        return;
    }
    complete();
}

void frmUpdate::complete()
{
    if (QNetworkReply *reply = std::exchange(reply_, nullptr)) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    partial_->close();
    const bool renamed = partial_->rename(localPath_);
    delete partial_;
    partial_ = nullptr;
    if (!renamed)
        fail();
}

void frmUpdate::fail()
{
    if (reply_) {
        QNetworkReply *reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    if (partial_) {
        partial_->remove();
        delete partial_;
        partial_ = nullptr;
    }
    txtLastVersion->setText(ErrorText);
    tmrDownload->stop();
}

void frmUpdate::readLocalFile()
{
    if (localPath_.isEmpty() || !Common::fileExists(localPath_))
        return;
    QFile file(localPath_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.read(MaxFileSize);
    file.close();
    // Only the first line counts; a file that is too long, binary or not text shows as an error.
    txtLastVersion->setText(UpdateFile::announcedVersion(bytes).value_or(ErrorText));

    if (txtActualVersion->text() != txtLastVersion->text() && txtLastVersion->text() != ErrorText) {
        txtActualVersion->setAutoFillBackground(true);
        QPalette palette = txtActualVersion->palette();
        palette.setColor(QPalette::Base, differentVersionColour());
        txtActualVersion->setPalette(palette);
    }
}
