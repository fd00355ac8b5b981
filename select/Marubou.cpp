#include "Marubou.h"

#include "controls/DataSetModel.h"
#include "controls/LibBtBtn.h"
#include "controls/LibXGrid.h"
#include "controls/MessageBoxes.h"
#include "controls/UiFont.h"
#include "store/EngineError.h"
#include "util/Abort.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace marubo {

namespace {

const QString kCaption = QStringLiteral("marubou");
const QString kTitle = QStringLiteral("合計処理を取りたい会計の選択");
const QString kNote = QStringLiteral("赤くマークされた部門が集計されます。\n"
                                     "外す場合は１をとってエンターキーを押してください。\n");
const QString kRun = QStringLiteral("実　　行");
const QString kCancel = QStringLiteral("キャンセル");

const QColor kTitleBackground(0, 0, 255);
const QColor kNoteBackground(252, 207, 194);
const QColor kFixedColumn(225, 253, 251);
const QColor kTaken(255, 128, 128); // an input sub-department the collections take

constexpr int kClientWidth = 576;
constexpr int kClientHeight = 659;
constexpr int kGridHeight = 524;

QList<controls::GridColumn> gridColumns() {
    using controls::GridColumn;
    const Qt::Alignment centre = Qt::AlignCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    QList<GridColumn> columns{
        {QStringLiteral("code"), QStringLiteral("code"), 40, true, left, kFixedColumn},
        {QStringLiteral("Bumonmei"), QStringLiteral("Bumonmei"), 280, true, left, kFixedColumn},
        {QStringLiteral("F1"), QStringLiteral("入力区分=1"), 69, true, centre, kFixedColumn},
        {QStringLiteral("F4"), QStringLiteral("部門区分"), 60, true, centre, kFixedColumn},
        {QStringLiteral("F12"), QStringLiteral("集計対象=1"), 72, false, centre},
    };
    columns.last().titleBold = true;
    // Kept in the column list, never shown.
    const QList<std::pair<QString, QString>> hidden{
        {QStringLiteral("F3"), QStringLiteral("非表示=1")},
        {QStringLiteral("F11"), QString()},
        {QStringLiteral("F5"), QStringLiteral("選択2")},
        {QStringLiteral("F6"), QStringLiteral("選択3")},
        {QStringLiteral("F7"), QStringLiteral("選択4")},
        {QStringLiteral("F8"), QString()},
        {QStringLiteral("F9"), QString()},
        {QStringLiteral("F10"), QString()}};
    for (const auto& [field, title] : hidden) {
        GridColumn column{field, title.isEmpty() ? field : title, 64, true};
        column.visible = false;
        columns << column;
    }
    return columns;
}

} // namespace

Tmarubou::Tmarubou(TDM& dm, MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), selection(dm), boxes_(boxes) {
    setWindowTitle(kCaption);
    setFont(uiFont(12));
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    // "集計対象=1" takes 0 or 1 only.
    selection.BumonTB.setFieldRange(QStringLiteral("F12"), 0, 1);

    Label1 = new QLabel(kTitle, this);
    Label1->setFont(uiFont(19));
    Label1->setAutoFillBackground(true);
    QPalette titleColours = Label1->palette();
    titleColours.setColor(QPalette::Window, kTitleBackground);
    titleColours.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(titleColours);
    Label1->move(22, 32);
    Label1->adjustSize();

    Memo1 = new QPlainTextEdit(kNote, this);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setFont(uiFont(15));
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette noteColours = Memo1->palette();
    noteColours.setColor(QPalette::Base, kNoteBackground);
    Memo1->setPalette(noteColours);
    // Wide and tall enough for both lines in the Linux font, up to the buttons.
    Memo1->document()->setDocumentMargin(2);
    Memo1->setGeometry(22, 69, 408, 46);

    Button2 = new QPushButton(kRun, this);
    Button2->setFont(uiFont(16));
    Button2->setGeometry(440, 33, 100, 40);
    Button2->setAutoDefault(true); // Enter on the focused Run button clicks it
    connect(Button2, &QPushButton::clicked, this, &Tmarubou::Button2Click);

    LibBtBtn1 = new controls::TLibBtBtn(controls::TLibBtBtn::Kind::Cancel, this);
    LibBtBtn1->setText(kCancel);
    LibBtBtn1->setGeometry(440, 89, 100, 40);
    connect(LibBtBtn1, &QPushButton::clicked, this, &Tmarubou::LibBtBtn1Click);
    // A click on Run or Cancel leaves the focus in the grid, so that a value
    // still being typed is stored by Run (which can refuse it) and dropped by Cancel.
    Button2->setFocusPolicy(Qt::TabFocus);
    LibBtBtn1->setFocusPolicy(Qt::TabFocus);

    LibBtBtn2 = new controls::TLibBtBtn(controls::TLibBtBtn::Kind::Close, this);
    LibBtBtn2->setGeometry(546, 33, 100, 40);
    LibBtBtn2->hide();

    FixDBGrid1 = new controls::TLibXGrid(this);
    model_ = std::make_unique<controls::DataSetModel>(selection.BumonTB, gridColumns());
    FixDBGrid1->setDataSetModel(model_.get());
    FixDBGrid1->setFont(uiFont(15));
    FixDBGrid1->horizontalHeader()->setFont(uiFont(12));
    FixDBGrid1->setFixedColumns(4);
    FixDBGrid1->setGeometry(0, kClientHeight - kGridHeight, kClientWidth, kGridHeight);
    FixDBGrid1->setErrorHandler(
        [this](const QString& message) { boxes_.showError(this, message); });
    FixDBGrid1->setMessageBoxes(&boxes_);
    FixDBGrid1->setDrawColumnCell(
        [this](QPainter& painter, QStyleOptionViewItem& option, const QModelIndex& index,
               const std::function<void(const QStyleOptionViewItem&)>& drawDefault) {
            Q_UNUSED(painter);
            if (!paintedRed(index.row()))
                return;
            option.backgroundBrush = kTaken;
            drawDefault(option); // the cell filled red, then its text as usual
        });
    FixDBGrid1->setKeyPress([this](QChar key) { FixDBGrid1KeyPress(key); });

    setTabOrder(Button2, LibBtBtn1);
    setTabOrder(LibBtBtn1, FixDBGrid1);
}

Tmarubou::~Tmarubou() {
    FixDBGrid1->setDataSetModel(nullptr);
}

void Tmarubou::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    MarubouC = 1;
    QTimer::singleShot(0, this, &Tmarubou::FormActivate);
}

void Tmarubou::FormActivate() {
    guarded([this] { selection.activate(); });
    Button2->setFocus();
}

void Tmarubou::Button2Click() {
    // A value still being typed is stored first; when it is refused, the
    // dialog stays open with the error shown.
    if (!FixDBGrid1->commitPendingEdit())
        return;
    if (!guarded([this] { selection.SetSelection(); }))
        return;
    MarubouC = 0;
    accept();
}

void Tmarubou::LibBtBtn1Click() {
    // The button's kind has already closed the dialog (done() below).
    FixDBGrid1->discardPendingEdit();
    MarubouC = 1;
    if (isVisible())
        reject();
}

void Tmarubou::FixDBGrid1KeyPress(QChar key) {
    guarded([&] {
        selection.keyRule();
        if (key == QChar(13))
            selection.BumonTB.next();
    });
}

void Tmarubou::done(int result) {
    if (result != QDialog::Accepted) {
        FixDBGrid1->discardPendingEdit();
        MarubouC = 1;
    }
    selection.close();
    QDialog::done(result);
}

bool Tmarubou::paintedRed(int row) {
    store::Table& table = selection.BumonTB;
    if (!table.isActive())
        return false;
    const store::Field* taken = table.findField(QStringLiteral("F11"));
    const store::Field* input = table.findField(QStringLiteral("F1"));
    if (!taken || !input)
        return false;
    try {
        return table.valueAt(row, taken->index()).toLongLong() == 1 &&
               table.valueAt(row, input->index()).toLongLong() == 1;
    } catch (const store::EngineError&) {
        return false;
    }
}

bool Tmarubou::guarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const Abort&) {
    } catch (const store::EngineError& error) {
        boxes_.showError(this, error.message());
    }
    return false;
}

} // namespace marubo
