#include "LibGrid.h"

namespace marubo::controls {

TLibGrid::TLibGrid(QWidget* parent) : DataGrid(parent) {}

} // namespace marubo::controls
