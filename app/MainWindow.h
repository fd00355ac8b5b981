#pragma once

#include "FolderBrowser.h"
#include "MainState.h"
#include "app/versionup/VersionUp.h"
#include "controls/MessageBoxes.h"
#include "merge/MergeRun.h"
#include "select/Marubou.h"

#include <QWidget>
#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace marubo {

namespace controls {
class TLibXGrid;
class DataSetModel;
} // namespace controls

// The main window: the A-level path with its validation, the department list
// of the A level, and the buttons that start a merge run, the version-up and
// closing. Its logic lives in MainState; the window adds the controls, shows
// the messages and turns errors of its event handlers into error boxes.
class TMain : public QWidget, private MainPrompts, private MergeUi {
    Q_OBJECT
public:
    // Null message boxes or folder browser stand for the toolkit's dialogs;
    // given ones must outlive the window.
    explicit TMain(TDM& dm, MessageBoxes* boxes = nullptr, FolderBrowser* browser = nullptr,
                   QWidget* parent = nullptr);
    ~TMain() override;

    MainState state;
    // Created after the window, in this order, and kept for its life: the
    // selection dialog (hidden until a merge run shows it) and the work-data build.
    std::unique_ptr<Tmarubou> marubou;
    std::unique_ptr<TCalc> calc;
    // Where the version-up fetches the updater from; tests point it elsewhere.
    VersionUpSettings versionUpSettings = VersionUpSettings::defaults();

    // Controls, named as the window's parts.
    QFrame* Panel1;
    QLabel* Label2;       // heading
    QLabel* Label8;       // date
    QLabel* Label1;       // instruction for the path box, with the word データ in red
    QLineEdit* Edit1;     // the A-level path
    QPushButton* Button2; // browse for the A level
    QProgressBar* Gauge1; // progress of a merge run
    QFrame* Panel2;
    QLabel* Label4;
    QLabel* Label3;
    QPushButton* Button3;           // browse for the current department's folder
    controls::TLibXGrid* LibXGrid1; // the department list
    QLabel* Label5;                 // backup warning
    QPushButton* Button1;           // starts a merge run
    QPushButton* BitBtn1;           // closes the window
    QPushButton* BtnUP;             // starts the version-up

    // Event handlers.
    void FormCreate();
    // Once, when the window first becomes active: shows the remembered path,
    // validates it once and prepares the work folder.
    void FormActivate();
    void Button2Click();
    void Button3Click();
    // Fetches and starts the updater, then closes the window.
    void BtnUPClick();
    // The merge run. While it runs, every other action of the window is refused.
    void Button1Click();
    bool running() const { return running_; }
    bool activated() const { return activated_; }

    // Validates the path box's text (MainState::init). Errors propagate.
    void init();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMessage(const QString& text) override; // MainPrompts and MergeUi
    // MergeUi: the confirmation, the selection dialog, the gauge.
    bool confirm(const QString& text) override;
    bool selectSubDepartments() override;
    void progress(qsizetype position, qsizetype maximum) override;
    void processEvents() override;
    void setRunning(bool running);

    void buildControls();
    void placeControls();
    // Runs an event handler's work: the silent abort ends it quietly, engine
    // errors end it with an error box. False when it did not run to its end.
    bool guarded(const std::function<void()>& work);
    // Sets the path box's text without validating it.
    void setPathText(const QString& text);
    void Edit1ReturnPressed();
    void Edit1Exit();
    // Validates a changed path box now; false when the validation failed.
    bool pathBoxSettled();

    std::unique_ptr<MessageBoxes> ownBoxes_;
    std::unique_ptr<FolderBrowser> ownBrowser_;
    MessageBoxes* boxes_;
    FolderBrowser* browser_;
    std::unique_ptr<controls::DataSetModel> bumonModel_; // destroyed before the list
    QString validatedText_; // the path box's text at the last validation
    bool activated_ = false;
    bool running_ = false;
    bool closing_ = false;
    bool centred_ = false;
};

} // namespace marubo
