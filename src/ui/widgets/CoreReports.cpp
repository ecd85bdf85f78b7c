#include "ui/widgets/CoreReports.h"

#include "foundation/MessageGateway.h"
#include "album/AlbumFromTags.h"
#include "naming/MaskLanguage.h"

bool validateMaskAndReport(QString &maskText)
{
    const MaskCheck check = validateMask(maskText);
    maskText = check.text;
    if (!check.valid)
        Msg::ask(check.message, invalidMaskTitle(), Msg::Icon::Critical, Msg::Buttons::Ok);
    return check.valid;
}

void showNoFileSelected()
{
    Msg::ask(noFileSelected());
}

void showErrors(const QStringList &descriptions)
{
    for (const QString &description : descriptions)
        Msg::showError(description);
}
