#include "ui/widgets/Twips.h"

#include <QScreen>

double twipsPerPixel(const QScreen *screen)
{
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}
