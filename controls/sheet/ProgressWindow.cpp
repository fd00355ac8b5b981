#include "ProgressWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace marubo::sheet {

ProgressWindow::ProgressWindow(const QString& caption, const QString& label,
                               std::function<void()> cancel)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint),
      cancel_(std::move(cancel)) {
    setWindowTitle(caption);
    setFixedSize(200, 110);
    bar_ = new QProgressBar(this);
    bar_->setGeometry(11, 10, 170, 16);
    bar_->setTextVisible(false);
    label_ = new QLabel(label, this);
    label_->setGeometry(46, 30, 100, 15);
    label_->setAlignment(Qt::AlignCenter);
    if (cancel_) {
        cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
        cancelButton_->setGeometry(46, 48, 100, 25);
        connect(cancelButton_, &QPushButton::clicked, this, [this] { cancel_(); });
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void ProgressWindow::reject() {
    // Not QDialog's: that would hide the window while the work goes on.
    if (cancel_)
        cancel_();
}

void releaseContainer(QWidget* container) {
    if (!container)
        return;
    container->setEnabled(true);
    if (container->isVisible()) {
        container->raise();
        container->activateWindow();
    }
}

} // namespace marubo::sheet
