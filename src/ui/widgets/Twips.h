#pragma once
// Window sizes are stored and computed in twips: 1440 to the inch, at the screen's logical dpi.

class QScreen;

[[nodiscard]] double twipsPerPixel(const QScreen *screen);
