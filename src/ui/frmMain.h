#pragma once
// The main window: a four-page wizard (directory, tag editor, rename, result).

#include <QMainWindow>

class QStackedWidget;

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);

    /// Shows page 0 to 3 (directory, tag editor, rename, result).
    void affichePage(int page);
    [[nodiscard]] int activeWizardPage() const { return activeWizardPage_; }

private:
    QStackedWidget *fraWizard_ = nullptr;
    int activeWizardPage_ = 0;
};
