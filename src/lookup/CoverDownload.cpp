#include "lookup/CoverDownload.h"

#include "foundation/Common.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>
#include <QTimer>

using namespace Qt::StringLiterals;

CoverDownload::CoverDownload(QObject *parent)
    : QObject(parent), network_(new QNetworkAccessManager(this)), timeout_(new QTimer(this))
{
    timeout_->setSingleShot(true);
    // A server that accepts and never answers must not keep the caller waiting for ever.
    connect(timeout_, &QTimer::timeout, this, [this] {
        if (reply_) {
            timedOut_ = true;
            reply_->abort();
        }
    });
}

CoverDownload::~CoverDownload()
{
    cancel();
}

void CoverDownload::cancel()
{
    timeout_->stop();
    if (QNetworkReply *reply = std::exchange(reply_, nullptr)) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void CoverDownload::start(const QString &url, const QString &path)
{
    cancel();
    path_ = path;
    timedOut_ = false;
    if (!Common::createFolderPath(Common::getFolderPath(path))) {
        QTimer::singleShot(0, this, [this] { emit finished(u"The folder of the cover cannot be made."_s); });
        return;
    }
    QNetworkRequest request{QUrl(url)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    reply_ = network_->get(request);
    connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > MaxCoverBytes && reply_)
            reply_->abort();
    });
    connect(reply_, &QNetworkReply::finished, this, &CoverDownload::onFinished);
    timeout_->start(TimeoutMs);
}

bool CoverDownload::looksLikePicture(const QByteArray &bytes)
{
    return bytes.startsWith("\xFF\xD8\xFF") || bytes.startsWith("\x89PNG\r\n\x1A\n") || bytes.startsWith("GIF87a")
           || bytes.startsWith("GIF89a") || bytes.startsWith("BM")
           || (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP");
}

void CoverDownload::onFinished()
{
    timeout_->stop();
    QNetworkReply *reply = std::exchange(reply_, nullptr);
    reply->deleteLater();
    const QByteArray bytes = reply->error() == QNetworkReply::NoError ? reply->read(MaxCoverBytes + 1) : QByteArray();
    QString error;
    if (timedOut_)
        error = u"The cover did not arrive within %1 seconds."_s.arg(TimeoutMs / 1000);
    else if (reply->error() != QNetworkReply::NoError)
        error = u"The cover could not be downloaded: %1"_s.arg(reply->errorString());
    else if (bytes.size() > MaxCoverBytes)
        error = u"The cover is larger than a cover can be."_s;
    else if (!looksLikePicture(bytes))
        error = u"The cover's address did not give a picture."_s;
    if (error.isEmpty()) {
        // QSaveFile writes a temporary file and gives it the cover's name only once it is whole.
        QSaveFile file(path_);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            error = u"The cover could not be written to %1."_s.arg(path_);
    }
    emit finished(error);
}
