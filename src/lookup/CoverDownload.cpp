#include "lookup/CoverDownload.h"

#include "foundation/Common.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>
#include <QTimer>

using namespace Qt::StringLiterals;

CoverDownload::CoverDownload(QObject *parent)
    : QObject(parent), network_(new QNetworkAccessManager(this)), timeout_(new QTimer(this)),
      overall_(new QTimer(this))
{
    timeout_->setSingleShot(true);
    overall_->setSingleShot(true);
    // A server that accepts and never answers must not keep the caller waiting for ever.
    const auto stopOn = [this](QTimer *timer, const QString &why) {
        connect(timer, &QTimer::timeout, this, [this, why] {
            if (reply_) {
                timedOut_ = why;
                reply_->abort();
            }
        });
    };
    stopOn(timeout_, u"No part of the cover arrived for %1 seconds."_s.arg(TimeoutMs / 1000));
    stopOn(overall_, u"The cover did not arrive within %1 seconds."_s.arg(OverallTimeoutMs / 1000));
}

CoverDownload::~CoverDownload()
{
    cancel();
}

void CoverDownload::cancel()
{
    timeout_->stop();
    overall_->stop();
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
    timedOut_.clear();
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
        // Every byte that arrives gives the server another few seconds.
        timeout_->start(TimeoutMs);
    });
    connect(reply_, &QNetworkReply::finished, this, &CoverDownload::onFinished);
    timeout_->start(TimeoutMs);
    overall_->start(OverallTimeoutMs);
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
    overall_->stop();
    QNetworkReply *reply = std::exchange(reply_, nullptr);
    reply->deleteLater();
    const QByteArray bytes = reply->error() == QNetworkReply::NoError ? reply->read(MaxCoverBytes + 1) : QByteArray();
    QString error;
    if (!timedOut_.isEmpty())
        error = timedOut_;
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
