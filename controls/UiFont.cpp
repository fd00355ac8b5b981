#include "UiFont.h"

namespace marubo {

QFont uiFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace marubo
