#pragma once

#include <QFont>

namespace marubo {

// The Japanese font of the windows ("Noto Sans CJK JP", which every Linux
// desktop with Japanese support has) at a size in pixels.
QFont uiFont(int pixelSize, bool bold = false);

} // namespace marubo
