#pragma once

#include <QPointer>
#include <QString>

class QProgressBar;
class QWidget;

namespace marubo::sheet {

class ProgressWindow;

// The progress window of the spreadsheet copy (a ProgressWindow without a
// cancel button, so Esc and the window manager's close are ignored): a bar
// from 0 to 100 stepped by 10 and a centred label. While it is open the
// containing window is disabled; closing enables that window again and
// brings it to the front.
class SheetProgress {
public:
    SheetProgress(QWidget* container, const QString& caption, const QString& label);
    ~SheetProgress();
    SheetProgress(const SheetProgress&) = delete;
    SheetProgress& operator=(const SheetProgress&) = delete;

    // One step of the bar (it stops at its maximum), then pending events.
    void step();
    void close();

private:
    QPointer<QWidget> container_;
    ProgressWindow* window_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

} // namespace marubo::sheet
