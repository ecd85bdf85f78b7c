#pragma once
// "Check for update": downloads the one-line "update.txt" from the maker's site into the
// "Download" folder without blocking the window, shows the version it announces beside this
// program's version and marks ours in colour when the two differ.

#include "foundation/UpdateFile.h"

#include <QDialog>
#include <QString>

class QFile;
class QLineEdit;
class QNetworkAccessManager;
class QNetworkReply;
class ButtonEx;
class QTimer;

class frmUpdate : public QDialog
{
    Q_OBJECT
public:
    explicit frmUpdate(QWidget *parent = nullptr);
    ~frmUpdate() override;

    /// How much of the update file is read: its first line must end within it; the rest of a
    /// longer file is neither downloaded nor read.
    static constexpr qint64 MaxFileSize = UpdateFile::MaxFileSize;
    /// How long the download may stall before it counts as failed, in milliseconds.
    static constexpr int TransferTimeout = 15000;

    /// The background of the version box when the versions differ: RGB (255, 192, 192).
    [[nodiscard]] static QColor differentVersionColour();

private:
    void startDownload();
    void receive();
    void downloadFinished();
    /// The download ends with what arrived so far as the local copy.
    void complete();
    void fail();
    void readLocalFile();

    QLineEdit *txtActualVersion = nullptr;
    QLineEdit *txtLastVersion = nullptr;
    ButtonEx *cmdFindInternet = nullptr;
    ButtonEx *cmdEnd = nullptr;
    QTimer *tmrDownload = nullptr;

    QNetworkAccessManager *network_ = nullptr;
    QNetworkReply *reply_ = nullptr;
    QFile *partial_ = nullptr;
    QString localPath_;
    qint64 received_ = 0;
    bool lineEnded_ = false;
};
