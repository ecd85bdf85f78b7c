#pragma once
// Downloads the album's cover picture into its file without blocking the caller: the answer is
// checked (size, a picture's own signature) and only then written, under a temporary name that
// becomes the file's name when it is complete, so a reader of the file never sees half of it.

#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

class CoverDownload : public QObject
{
    Q_OBJECT
public:
    explicit CoverDownload(QObject *parent = nullptr);
    /// A download still running is cancelled: nothing is written afterwards.
    ~CoverDownload() override;

    /// Starts downloading url into path (the folder is created). A running download is cancelled.
    void start(const QString &url, const QString &path);
    /// Cancels a running download; finished is not emitted for it.
    void cancel();
    [[nodiscard]] bool isRunning() const { return reply_ != nullptr; }

    /// The longest a download may go without a byte arriving before it counts as failed, the
    /// longest it may take in all, and the largest picture taken. A slow but steady server
    /// delivers; one that stops, or trickles for ever, does not keep the caller waiting.
    static constexpr int TimeoutMs = 5000;
    static constexpr int OverallTimeoutMs = 60000;
    static constexpr qint64 MaxCoverBytes = 20 * 1024 * 1024;

    /// True when the bytes start like a JPEG, PNG, GIF, BMP or WebP picture.
    [[nodiscard]] static bool looksLikePicture(const QByteArray &bytes);

signals:
    /// The download ended: error is empty when the picture is in its file, else one line saying why.
    void finished(const QString &error);

private:
    void onFinished();

    QNetworkAccessManager *network_;
    QNetworkReply *reply_ = nullptr;
    QTimer *timeout_;
    QTimer *overall_;
    QString path_;
    /// Why the download was stopped by a timer; empty when no timer stopped it.
    QString timedOut_;
};
