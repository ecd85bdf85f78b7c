#include "foundation/Version.h"
#include "support/TestEnv.h"
#include "ui/main/frmMain.h"

class frmMainSkeletonTest : public VarneltTest {};

TEST_F(frmMainSkeletonTest, OpensWithTheCaptionOnPageZero)
{
    frmMain w;
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Varnelt 2.0 alpha 1 [version for beta testers]"));
    EXPECT_EQ(w.activeWizardPage(), WizardPage::Directory);
}
