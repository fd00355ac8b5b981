#pragma once

#include "BumonSelection.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace marubo {

class MessageBoxes;

namespace controls {
class DataSetModel;
class TLibBtBtn;
class TLibXGrid;
} // namespace controls

// The selection dialog: shown modally by the merge run for each department
// data set, on the Bumon table of the folder the handle AAA2 points at. The
// user marks the sub-departments to aggregate in "集計対象=1"; the rows the
// collections will take are painted red. Run recomputes and closes; Cancel and
// the close box close without a recompute, and the run then skips the department.
class Tmarubou : public QDialog {
    Q_OBJECT
public:
    Tmarubou(TDM& dm, MessageBoxes& boxes, QWidget* parent = nullptr);
    ~Tmarubou() override;

    BumonSelection selection; // the table BumonTB and the recompute

    QLabel* Label1;                  // title
    QPlainTextEdit* Memo1;           // the note
    QPushButton* Button2;            // 実　　行
    controls::TLibBtBtn* LibBtBtn1;  // キャンセル
    controls::TLibBtBtn* LibBtBtn2;  // a close button that is never shown
    controls::TLibXGrid* FixDBGrid1; // the sub-departments

    // How the dialog was left: 1 after Cancel or the close box, 0 after Run.
    int MarubouC = 1;

    // Each showing: reads the Bumon table of the current folder, clears the
    // marks of the last showing and recomputes them.
    void FormActivate();
    // Run: stores a value still being typed, recomputes, closes.
    void Button2Click();
    // Cancel: closes, dropping a value still being typed.
    void LibBtBtn1Click();
    // What every character key on the grid does: F11 follows F12 on the
    // current row; Enter then moves one row down.
    void FixDBGrid1KeyPress(QChar key);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    // Runs a handler's work: engine errors end it with an error box and the
    // dialog stays open; the silent abort ends it quietly.
    bool guarded(const std::function<void()>& work);
    bool paintedRed(int row);

    MessageBoxes& boxes_;
    std::unique_ptr<controls::DataSetModel> model_;
};

} // namespace marubo
