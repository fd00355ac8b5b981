#include "SheetProgress.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
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
    window_ = new QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowStaysOnTopHint);
    window_->setWindowTitle(caption);
    window_->setFixedSize(200, 110);
    bar_ = new QProgressBar(window_);
    bar_->setGeometry(11, 10, 170, 16);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    label_ = new QLabel(label, window_);
    label_->setGeometry(46, 30, 100, 15);
    label_->setAlignment(Qt::AlignCenter);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window_->move(screen->geometry().center() - window_->rect().center());
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
    if (container_) {
        container_->setEnabled(true);
        if (container_->isVisible()) { // a window never shown (the command line) stays hidden
            container_->raise();
            container_->activateWindow();
        }
    }
    delete window_;
    window_ = nullptr;
    bar_ = nullptr;
    label_ = nullptr;
}

} // namespace marubo::sheet
