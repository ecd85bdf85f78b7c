#include "frmMain.h"

#include "foundation/Version.h"

#include <QStackedWidget>

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    fraWizard_ = new QStackedWidget(this);
    fraWizard_->setObjectName(QStringLiteral("fraWizard"));
    for (int i = 0; i < 4; ++i)
        fraWizard_->addWidget(new QWidget(fraWizard_));
    setCentralWidget(fraWizard_);
    setWindowTitle(Version::caption());
    resize(800, 600);
    affichePage(0);
}

void frmMain::affichePage(int page)
{
    if (page < 0 || page > 3)
        return;
    activeWizardPage_ = page;
    fraWizard_->setCurrentIndex(page);
}
