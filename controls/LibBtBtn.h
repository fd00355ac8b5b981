#pragma once

#include <QPushButton>

namespace marubo::controls {

// The house push button with keyboard navigation (being written).
class TLibBtBtn : public QPushButton {
    Q_OBJECT
public:
    explicit TLibBtBtn(QWidget* parent = nullptr);
};

} // namespace marubo::controls
