#include "LibBtBtn.h"

namespace marubo::controls {

TLibBtBtn::TLibBtBtn(QWidget* parent) : QPushButton(parent) {}

} // namespace marubo::controls
