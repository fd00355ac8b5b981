#include "MainWindow.h"

#include "controls/DataSetModel.h"
#include "controls/LibXGrid.h"
#include "controls/UiFont.h"
#include "store/EngineError.h"
#include "util/Abort.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace marubo {

namespace {

const QString kCaption = QStringLiteral("階層集計");
const QString kHeading = QStringLiteral("階層集計のための併合処理  （下位階層から上位階層へ）");
const QString kDate = QStringLiteral("2017/03/01");
// The instruction reads 上位階層のデータフォルダを指定します。 with the word データ
// in red, followed by an example.
const QString kInstructionBefore = QStringLiteral("上位階層の");
const QString kInstructionRed = QStringLiteral("データ");
const QString kInstructionAfter =
    QStringLiteral("フォルダを指定します。  （例）　C:\\○○Ledgora\\2017\\");
const QString kListInstruction = QStringLiteral("併合したい部門のデータパス名を指定します。");
const QString kListExample = QStringLiteral("　例）C:\\○○Ledgora¥2017¥");
const QString kBrowse = QStringLiteral("参照");
const QString kWarning = QStringLiteral("必ずバックアップを\n取ってから行ってください。");
const QString kRun = QStringLiteral("実　　　行");
const QString kClose = QStringLiteral("閉じる(&C)");
const QString kVersionUp = QStringLiteral("バージョンアップ");

const QColor kRed(255, 0, 0);
const QColor kGaugeBar(128, 255, 128);
const QColor kListPanel(197, 193, 163);

constexpr int kClientWidth = 1070;
constexpr int kClientHeight = 673;
constexpr int kPanel1Height = 121;
constexpr int kPanel2Height = 64;
constexpr int kGridWidth = 817;

QLabel* label(QWidget* parent, const QString& text, int x, int y, int pixelSize, bool bold,
              const QColor& colour = {}) {
    auto* result = new QLabel(text, parent);
    result->setTextFormat(Qt::PlainText);
    result->setFont(uiFont(pixelSize, bold));
    if (colour.isValid()) {
        QPalette palette = result->palette();
        palette.setColor(QPalette::WindowText, colour);
        result->setPalette(palette);
    }
    result->move(x, y);
    result->adjustSize();
    return result;
}

QPushButton* button(QWidget* parent, const QString& text, const QRect& place) {
    auto* result = new QPushButton(text, parent);
    result->setGeometry(place);
    result->setAutoDefault(true); // Enter clicks the focused button
    return result;
}

QFrame* panel(QWidget* parent) {
    auto* result = new QFrame(parent);
    result->setFrameStyle(QFrame::Panel | QFrame::Raised);
    result->setLineWidth(1);
    return result;
}

} // namespace

TMain::TMain(TDM& dm, MessageBoxes* boxes, FolderBrowser* browser, QWidget* parent)
    : QWidget(parent), state(dm, *this) {
    if (!boxes) {
        ownBoxes_ = std::make_unique<DialogMessageBoxes>();
        boxes = ownBoxes_.get();
    }
    if (!browser) {
        ownBrowser_ = std::make_unique<DialogFolderBrowser>();
        browser = ownBrowser_.get();
    }
    boxes_ = boxes;
    browser_ = browser;
    buildControls();
    FormCreate();
    marubou = std::make_unique<Tmarubou>(state.dm, *boxes_, this);
    calc = std::make_unique<TCalc>(state.dm);
}

TMain::~TMain() {
    LibXGrid1->setDataSetModel(nullptr);
}

void TMain::buildControls() {
    setWindowTitle(kCaption);
    setFont(uiFont(12));
    resize(kClientWidth, kClientHeight);

    Panel1 = panel(this);
    Label2 = label(Panel1, kHeading, 24, 13, 19, true);
    Label8 = label(Panel1, kDate, 940, 16, 15, true);
    Label1 = new QLabel(Panel1);
    Label1->setTextFormat(Qt::RichText);
    Label1->setText(QStringLiteral("<span style=\"white-space:pre\">%1<span style=\"color:%2\">"
                                   "%3</span>%4</span>")
                        .arg(kInstructionBefore.toHtmlEscaped(), kRed.name(),
                             kInstructionRed.toHtmlEscaped(), kInstructionAfter.toHtmlEscaped()));
    Label1->setFont(uiFont(15, true));
    Label1->move(24, 51);
    Label1->adjustSize();
    Edit1 = new QLineEdit(Panel1);
    Edit1->setFont(uiFont(16));
    Edit1->setGeometry(24, 72, 545, 24);
    Edit1->installEventFilter(this);
    connect(Edit1, &QLineEdit::returnPressed, this, &TMain::Edit1ReturnPressed);
    Button2 = button(Panel1, kBrowse, {575, 74, 57, 24});
    // Clicking it leaves the focus in the path box: a text typed there is not
    // validated on the way to the folder dialog, whose choice replaces it.
    Button2->setFocusPolicy(Qt::TabFocus);
    connect(Button2, &QPushButton::clicked, this, &TMain::Button2Click);
    Gauge1 = new QProgressBar(Panel1);
    Gauge1->setGeometry(736, 72, 265, 22);
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setAlignment(Qt::AlignCenter);
    Gauge1->setStyleSheet(
        QStringLiteral("QProgressBar { border: 1px solid #808080; background: white; }"
                       "QProgressBar::chunk { background-color: %1; }")
            .arg(kGaugeBar.name()));

    Panel2 = panel(this);
    Panel2->setAutoFillBackground(true);
    QPalette listPanel = Panel2->palette();
    listPanel.setColor(QPalette::Window, kListPanel);
    Panel2->setPalette(listPanel);
    Label4 = label(Panel2, kListInstruction, 24, 8, 15, true);
    Label3 = label(Panel2, kListExample, 40, 36, 15, false);
    Button3 = button(Panel2, kBrowse, {748, 25, 57, 25});
    connect(Button3, &QPushButton::clicked, this, &TMain::Button3Click);

    LibXGrid1 = new controls::TLibXGrid(this);
    bumonModel_ = std::make_unique<controls::DataSetModel>(
        state.Bumon, QList<controls::GridColumn>{
                         {QStringLiteral("code"), QStringLiteral("code"), 35, false,
                          Qt::AlignRight | Qt::AlignVCenter},
                         {QStringLiteral("Bumonmei"), QStringLiteral("部門名"), 199},
                         {QStringLiteral("Path"), QStringLiteral("データパス名"), 537},
                     });
    LibXGrid1->setDataSetModel(bumonModel_.get());
    LibXGrid1->setErrorHandler(
        [this](const QString& message) { boxes_->showError(this, message); });
    LibXGrid1->setMessageBoxes(boxes_);
    LibXGrid1->setCsvMenu(true, true); // the department list can be read from a CSV file too

    Label5 = label(this, kWarning, 848, 208, 16, true, kRed);
    Button1 = button(this, kRun, {888, 256, 150, 49});
    Button1->setFont(uiFont(16));
    // Clicking it leaves the focus where it was, so that the run itself stores
    // a value still being typed in the list and can stop when it is refused.
    Button1->setFocusPolicy(Qt::TabFocus);
    connect(Button1, &QPushButton::clicked, this, &TMain::Button1Click);
    BitBtn1 = button(this, kClose, {888, 320, 150, 41});
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);
    BtnUP = button(this, kVersionUp, {885, 596, 153, 34});
    connect(BtnUP, &QPushButton::clicked, this, &TMain::BtnUPClick);

    placeControls();
}

void TMain::placeControls() {
    // The panels span the width; the list fills the height below them.
    Panel1->setGeometry(0, 0, width(), kPanel1Height);
    Panel2->setGeometry(0, kPanel1Height, width(), kPanel2Height);
    const int listTop = kPanel1Height + kPanel2Height;
    LibXGrid1->setGeometry(0, listTop, kGridWidth, qMax(0, height() - listTop));
}

void TMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeControls();
}

void TMain::FormCreate() {
    state.FormCreate();
}

void TMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!centred_ && isWindow()) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    // Activation normally follows; without a window manager it may not come.
    QTimer::singleShot(0, this, &TMain::FormActivate);
}

bool TMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activated_)
        QTimer::singleShot(0, this, &TMain::FormActivate);
    return QWidget::event(event);
}

void TMain::FormActivate() {
    if (activated_ || closing_)
        return;
    activated_ = true;
    bool remembered = false;
    QString path;
    try {
        path = state.rememberedPath();
        remembered = true;
    } catch (const std::exception&) {
        // Without HeadM the path box stays empty; the window works all the same.
    }
    if (remembered) {
        setPathText(path);
        guarded([this] { init(); }); // once, so that a refused path is reported once
    }
    guarded([this] { state.prepareWorkFolder(); });
}

void TMain::init() {
    validatedText_ = Edit1->text();
    state.init(validatedText_);
}

void TMain::setPathText(const QString& text) {
    Edit1->setText(text);
    validatedText_ = text;
}

void TMain::Edit1ReturnPressed() {
    guarded([this] { init(); });
}

void TMain::Edit1Exit() {
    // Only a changed text is validated; the check is made when the queued call
    // runs, since Enter or a button may have validated it meanwhile. A run in
    // progress is never disturbed: the button that started it validated first.
    if (closing_ || running_)
        return;
    pathBoxSettled();
}

bool TMain::pathBoxSettled() {
    if (Edit1->text() == validatedText_)
        return true;
    // An emptied box is left quietly and the click goes on; a refused path has
    // been reported and the click is dropped.
    return guarded([this] { init(); }) || Edit1->text().isEmpty();
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::FocusOut) {
        // Leaving the box for another control of this window; a message box or
        // another application taking the focus is not an exit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            QTimer::singleShot(0, this, &TMain::Edit1Exit);
    }
    return QWidget::eventFilter(watched, event);
}

void TMain::Button2Click() {
    guarded([this] {
        const QString folder = browser_->chooseFolder(this);
        if (folder.isEmpty())
            return;
        setPathText(state.browsedPath(folder));
        init();
    });
}

void TMain::Button3Click() {
    if (!pathBoxSettled())
        return;
    guarded([this] {
        LibXGrid1->commitPendingEdit();
        const QString folder = browser_->chooseFolder(this);
        if (folder.isEmpty())
            return;
        state.setCurrentDepartmentPath(state.browsedPath(folder));
    });
}

void TMain::Button1Click() {
    if (running_ || !pathBoxSettled())
        return;
    // The run counts the list's rows: a value still being typed and a row still
    // being added are stored first, and a refused one stops the run here.
    if (!LibXGrid1->commitPendingEdit())
        return;
    if (!guarded([this] { state.Bumon.checkBrowseMode(); }))
        return;
    setRunning(true);
    guarded([this] {
        MergeRun run(state.dm, *calc, state.Bumon, *this);
        run.run();
    });
    setRunning(false);
}

void TMain::setRunning(bool running) {
    // The run walks the department list and re-points the handles: nothing
    // else may start meanwhile. Disabled controls still repaint.
    running_ = running;
    for (QWidget* control : std::initializer_list<QWidget*>{Edit1, Button2, Button3, LibXGrid1,
                                                            Button1, BitBtn1, BtnUP})
        control->setEnabled(!running);
}

bool TMain::confirm(const QString& text) {
    return boxes_->askYesNo(this, text, MessageBoxes::Icon::Warning);
}

bool TMain::selectSubDepartments() {
    return marubou->exec() == QDialog::Accepted;
}

void TMain::progress(qsizetype position, qsizetype maximum) {
    // A range of 0 to 0 would turn the bar into a busy indicator; a single
    // department shows as done.
    if (maximum <= 0) {
        Gauge1->setRange(0, 1);
        Gauge1->setValue(1);
        return;
    }
    Gauge1->setRange(0, int(maximum));
    Gauge1->setValue(int(position));
}

void TMain::processEvents() {
    QCoreApplication::processEvents();
}

void TMain::BtnUPClick() {
    // The version-up's questions go through the window's message boxes.
    class Asker final : public VersionUpWindow {
    public:
        explicit Asker(TMain& window) : window_(window) {}
        bool askInformationYesNo(const QString& text) override {
            return window_.boxes_->askYesNo(&window_, text, MessageBoxes::Icon::Information);
        }
        void showMessage(const QString& text) override {
            window_.boxes_->showMessage(&window_, text);
        }
        void closeMainWindow() override { window_.close(); }
        void setDownloading(bool downloading) override {
            if (downloading)
                QApplication::setOverrideCursor(Qt::WaitCursor);
            else
                QApplication::restoreOverrideCursor();
        }

    private:
        TMain& window_;
    } asker(*this);
    if (!pathBoxSettled())
        return;
    guarded([&] { runVersionUp(asker, state.dm.ProgName, versionUpSettings); });
}

void TMain::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore(); // not while a merge run is in progress
        return;
    }
    closing_ = true;
    // A refused value is dropped without a report: the window is going away.
    LibXGrid1->setErrorHandler([](const QString&) {});
    if (!LibXGrid1->commitPendingEdit())
        LibXGrid1->discardPendingEdit();
    state.FormClose();
    event->accept();
}

void TMain::showMessage(const QString& text) {
    boxes_->showMessage(this, text);
}

bool TMain::guarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const Abort&) {
    } catch (const store::EngineError& error) {
        boxes_->showError(this, error.message());
    } catch (const std::exception& error) {
        boxes_->showError(this, QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace marubo
