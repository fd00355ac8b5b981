#include "SheetProgress.h"

#include "ProgressWindow.h"

#include <QApplication>
#include <QProgressBar>
#include <QWidget>

namespace marubo::sheet {

namespace {
constexpr int kStep = 10;
}

SheetProgress::SheetProgress(QWidget* container, const QString& caption, const QString& label)
    : container_(container) {
    if (container_)
        container_->setEnabled(false);
    // Owned by the application, not by the disabled window.
    window_ = new ProgressWindow(caption, label);
    bar_ = window_->bar();
    bar_->setRange(0, 100);
    bar_->setValue(0);
    window_->show();
    QApplication::processEvents();
}

SheetProgress::~SheetProgress() {
    close();
}

void SheetProgress::step() {
    if (!bar_)
        return;
    bar_->setValue(std::min(bar_->maximum(), bar_->value() + kStep));
    QApplication::processEvents();
}

void SheetProgress::close() {
    if (!window_)
        return;
    releaseContainer(container_);
    delete window_;
    window_ = nullptr;
    bar_ = nullptr;
}

} // namespace marubo::sheet
