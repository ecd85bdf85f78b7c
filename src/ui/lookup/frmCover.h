#pragma once
// The picture window: one cover picture at full size, the window sized around it.

#include <QDialog>
#include <QPixmap>

class QLabel;

class frmCover : public QDialog
{
    Q_OBJECT
public:
    frmCover(const QPixmap &picture, const QString &caption, QWidget *parent = nullptr);

    /// Shows the picture modally with the caption; a null picture shows nothing.
    static void showPicture(const QPixmap &picture, const QString &caption, QWidget *parent);

private:
    QLabel *imgCover = nullptr;
};
