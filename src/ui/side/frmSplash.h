#pragma once
// The splash window: the first window shown. Its one-shot timer starts the main window once the
// splash has had the chance to paint; it goes away when the main window first becomes active.

#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

class frmSplash : public QWidget
{
    Q_OBJECT
public:
    /// startMain runs on the timer's first tick: it builds and shows the main window and returns
    /// it, or null when start-up stopped. The splash then closes (and deletes itself) when the
    /// main window first becomes active, is hidden or destroyed, and at the latest a few
    /// seconds later, so a desktop that never activates the window cannot keep it up.
    explicit frmSplash(std::function<QWidget *()> startMain, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *gfx = nullptr;
    QTimer *timShow1 = nullptr;
    void closeWhenActive(QWidget *mainWindow);

    std::function<QWidget *()> startMain_;
    QWidget *mainWindow_ = nullptr;
};
