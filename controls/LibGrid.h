#pragma once

#include "DataGrid.h"

namespace marubo::controls {

// The line-highlighting grid (being written).
class TLibGrid : public DataGrid {
    Q_OBJECT
public:
    explicit TLibGrid(QWidget* parent = nullptr);
};

} // namespace marubo::controls
