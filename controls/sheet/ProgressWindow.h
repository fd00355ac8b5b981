#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace marubo::sheet {

// The small progress window of the grids' long operations: 200 × 110,
// centred on the screen, always on top, without border icons and owned by no
// window; a bar across the top and a centred label under it. With a cancel
// action it also has the "キャンセル" button, and Esc or the window manager's
// close do what that button does; without one they are ignored. Either way
// the window stays up until its owner deletes it, so that it never hides an
// operation that is still running.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ProgressWindow(const QString& caption, const QString& label, std::function<void()> cancel = {});

    QProgressBar* bar() const { return bar_; }
    QLabel* label() const { return label_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    // Esc, and the close of the window manager (which QDialog turns into this).
    void reject() override;

private:
    std::function<void()> cancel_;
    QProgressBar* bar_ = nullptr;
    QLabel* label_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// Enables the window a progress window kept disabled and brings it to the
// front; a window never shown (the command line) stays hidden.
void releaseContainer(QWidget* container);

} // namespace marubo::sheet
