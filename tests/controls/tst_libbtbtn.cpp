#include "KeyInput.h"

#include "controls/LibBtBtn.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest>

using marubo::controls::TLibBtBtn;
using marubo::test::press;

namespace {

// A window whose tab order runs before → button → after → target → the
// controls that cannot take the focus. It records the keys that reach it
// unhandled and the button's clicks.
class Form : public QWidget {
public:
    explicit Form(QWidget* container = nullptr) {
        auto* layout = new QVBoxLayout(this);
        before = add<QLineEdit>("before", this);
        button = add<TLibBtBtn>("button", container ? container : this);
        if (container) {
            container->setParent(this);
            layout->addWidget(container);
        }
        after = add<QLineEdit>("after", this);
        target = add<QLineEdit>("target", this);
        add<QLineEdit>("hidden", this)->hide();
        add<QLineEdit>("disabled", this)->setEnabled(false);
        auto* hiddenBox = add<QWidget>("hiddenBox", this);
        add<QLineEdit>("onHiddenBox", hiddenBox);
        hiddenBox->hide();
        auto* disabledBox = add<QWidget>("disabledBox", this);
        add<QLineEdit>("onDisabledBox", disabledBox);
        disabledBox->setEnabled(false);
        button->setText(QStringLiteral("実行"));
        QObject::connect(button, &QPushButton::clicked, [this] {
            ++clicks;
            focusedAtClick = QApplication::focusWidget();
        });
    }

    // Shows the window with the focus on the button.
    bool ready() {
        show();
        activateWindow();
        if (!QTest::qWaitForWindowActive(this))
            return false;
        button->setFocus();
        return button->hasFocus();
    }

    QString focusName() const {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }
    QWidget* control(const QString& name) { return findChild<QWidget*>(name); }

    QLineEdit* before;
    TLibBtBtn* button;
    QLineEdit* after;
    QLineEdit* target;
    QList<int> keysReached;
    int clicks = 0;
    QWidget* focusedAtClick = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override { keysReached << event->key(); }

private:
    template <class W> W* add(const char* name, QWidget* parent) {
        auto* widget = new W(parent);
        widget->setObjectName(QString::fromLatin1(name));
        if (parent == this)
            layout()->addWidget(widget);
        return widget;
    }
};

// A container that claims the keys it is given, as the button offers them
// before it moves the focus.
class ClaimingBox : public QWidget {
public:
    explicit ClaimingBox(QList<int> claimed) : claimed_(std::move(claimed)) {
        setLayout(new QVBoxLayout);
    }
    QList<int> offered;

protected:
    bool event(QEvent* event) override {
        if (event->type() == TLibBtBtn::childKeyEventType()) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            offered << key;
            event->setAccepted(claimed_.contains(key));
            return true;
        }
        return QWidget::event(event);
    }

private:
    QList<int> claimed_;
};

// Records where the focus was going when a widget lost it.
class FocusOutProbe : public QObject {
public:
    QStringList focusAtExit;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const QWidget* focus = QApplication::focusWidget();
            focusAtExit << (focus ? focus->objectName() : QString());
        }
        return false;
    }
};

// Points the button's target for `key` at the control named `name`: none when
// empty, a control destroyed at once for "destroyed".
void setTarget(Form& form, int key, const QString& name) {
    QWidget* control = nullptr;
    if (name == QLatin1String("destroyed"))
        control = new QLineEdit(&form);
    else if (!name.isEmpty())
        control = form.control(name);
    if (key == Qt::Key_Up)
        form.button->setTabStopUp(control);
    else if (key == Qt::Key_Down)
        form.button->setTabStopDown(control);
    else
        form.button->setTabStopEnter(control);
    if (name == QLatin1String("destroyed"))
        delete control;
}

// Sends a vertical or horizontal wheel turn to `widget`; returns whether the
// widget accepted the event.
bool turnWheel(QWidget* widget, QPoint angleDelta) {
    const QPointF centre = QRectF(widget->rect()).center();
    QWheelEvent event(centre, widget->mapToGlobal(centre), QPoint(), angleDelta, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

} // namespace

class TestLibBtBtn : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keys_data();
    void keys();
    void enterClicksBeforeTheFocusMoves();
    void targetsAreNotOwned();
    void containerClaimsTheKey_data();
    void containerClaimsTheKey();
    void wheel_data();
    void wheel();
    void houseStyle();
    void styleAppliedOnlyOnChange();
    void showsTheFormsFont_data();
    void showsTheFormsFont();
    void ownFontIsKept();
    void kinds_data();
    void kinds();
    void enterOnTheCancelButtonRejectsTheDialog();
    void enterInADialogClicksOnlyTheFocusedButton();
};

void TestLibBtBtn::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("focusAfter");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("passedOn"); // the key went on to the window

    const int enter = Qt::Key_Return;
    const int up = Qt::Key_Up;
    const int down = Qt::Key_Down;
    QTest::newRow("Enter, no target") << enter << ""
                                      << "button" << 1 << false;
    QTest::newRow("keypad Enter, no target") << int(Qt::Key_Enter) << ""
                                             << "button" << 1 << false;
    QTest::newRow("Enter, target") << enter << "target"
                                   << "target" << 1 << false;
    QTest::newRow("Enter, hidden target") << enter << "hidden"
                                          << "button" << 0 << true;
    QTest::newRow("Enter, disabled target") << enter << "disabled"
                                            << "button" << 0 << true;
    QTest::newRow("Enter, target on a hidden parent") << enter << "onHiddenBox"
                                                      << "button" << 0 << true;
    QTest::newRow("Enter, target on a disabled parent") << enter << "onDisabledBox"
                                                        << "button" << 0 << true;
    QTest::newRow("Enter, destroyed target") << enter << "destroyed"
                                             << "button" << 1 << false;
    QTest::newRow("Up, no target") << up << ""
                                   << "before" << 0 << false;
    QTest::newRow("Down, no target") << down << ""
                                     << "after" << 0 << false;
    QTest::newRow("Up, target") << up << "target"
                                << "target" << 0 << false;
    QTest::newRow("Down, target") << down << "target"
                                  << "target" << 0 << false;
    QTest::newRow("Up, hidden target") << up << "hidden"
                                       << "before" << 0 << false;
    QTest::newRow("Down, disabled target") << down << "disabled"
                                           << "after" << 0 << false;
    QTest::newRow("Up, target on a disabled parent") << up << "onDisabledBox"
                                                     << "before" << 0 << false;
    QTest::newRow("Down, target on a hidden parent") << down << "onHiddenBox"
                                                     << "after" << 0 << false;
    QTest::newRow("Up, destroyed target") << up << "destroyed"
                                          << "before" << 0 << false;
    QTest::newRow("Down, destroyed target") << down << "destroyed"
                                            << "after" << 0 << false;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << "target"
                            << "button" << 0 << true;
    QTest::newRow("a letter") << int(Qt::Key_A) << "target"
                              << "button" << 0 << true;
}

void TestLibBtBtn::keys() {
    QFETCH(int, key);
    QFETCH(QString, target);
    QFETCH(QString, focusAfter);
    QFETCH(int, clicks);
    QFETCH(bool, passedOn);

    Form form;
    setTarget(form, key, target);
    QVERIFY(form.ready());
    press(Qt::Key(key));
    QCOMPARE(form.clicks, clicks);
    QCOMPARE(form.focusName(), focusAfter);
    QCOMPARE(form.keysReached.contains(key), passedOn);
}

void TestLibBtBtn::enterClicksBeforeTheFocusMoves() {
    Form form;
    form.button->setTabStopEnter(form.target);
    FocusOutProbe probe;
    form.button->installEventFilter(&probe);
    QVERIFY(form.ready());
    press(Qt::Key_Return);
    QCOMPARE(form.clicks, 1);
    QCOMPARE(form.focusedAtClick, form.button);
    // The focus leaves towards the next control and is handed on from there.
    QCOMPARE(probe.focusAtExit, QStringList{"after"});
    QCOMPARE(form.focusName(), QStringLiteral("target"));
    // Coming back to the button forgets the target.
    form.button->setFocus();
    form.after->setFocus();
    QCOMPARE(form.focusName(), QStringLiteral("after"));
}

void TestLibBtBtn::targetsAreNotOwned() {
    Form form;
    auto* doomed = new QLineEdit(&form);
    form.button->setTabStopEnter(doomed);
    form.button->setTabStopUp(form.control("hidden"));
    form.button->setTabStopDown(form.target);
    // A target that cannot take the focus is still returned.
    QCOMPARE(form.button->tabStopUp(), form.control("hidden"));
    QCOMPARE(form.button->property("TabStopDown").value<QWidget*>(), form.target);
    QCOMPARE(form.button->tabStopEnter(), doomed);
    delete doomed;
    QCOMPARE(form.button->tabStopEnter(), nullptr);
    delete form.button;
    QVERIFY(form.target); // the button left its targets alone
    QCOMPARE(form.control("target"), form.target);
}

void TestLibBtBtn::containerClaimsTheKey_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focusAfter");
    QTest::addColumn<int>("clicks");

    // Box claims Down and Enter; the targets point at "target".
    QTest::newRow("Down, claimed") << int(Qt::Key_Down) << "button" << 0;
    QTest::newRow("Enter, claimed after the click") << int(Qt::Key_Return) << "button" << 1;
    QTest::newRow("Up, not claimed") << int(Qt::Key_Up) << "target" << 0;
}

void TestLibBtBtn::containerClaimsTheKey() {
    QFETCH(int, key);
    QFETCH(QString, focusAfter);
    QFETCH(int, clicks);

    auto* box = new ClaimingBox({Qt::Key_Down, Qt::Key_Return});
    Form form(box);
    box->layout()->addWidget(form.button);
    form.button->setTabStopEnter(form.target);
    form.button->setTabStopUp(form.target);
    form.button->setTabStopDown(form.target);
    QVERIFY(form.ready());
    press(Qt::Key(key));
    QCOMPARE(box->offered, QList<int>{key});
    QCOMPARE(form.clicks, clicks);
    QCOMPARE(form.focusName(), focusAfter);
    // A move that did not happen leaves no target behind for a later exit.
    form.button->setFocus();
    form.after->setFocus();
    QCOMPARE(form.focusName(), QStringLiteral("after"));
}

void TestLibBtBtn::wheel_data() {
    QTest::addColumn<QPoint>("angleDelta");
    QTest::addColumn<QString>("focusAfter");

    QTest::newRow("one notch towards the user") << QPoint(0, -120) << "after";
    QTest::newRow("one notch away from the user") << QPoint(0, 120) << "before";
    QTest::newRow("two notches towards the user") << QPoint(0, -240) << "button";
    QTest::newRow("two notches away from the user") << QPoint(0, 240) << "button";
    QTest::newRow("part of a notch towards the user") << QPoint(0, -60) << "button";
    QTest::newRow("part of a notch away from the user") << QPoint(0, 15) << "button";
    QTest::newRow("sideways") << QPoint(-120, 0) << "button";
}

void TestLibBtBtn::wheel() {
    QFETCH(QPoint, angleDelta);
    QFETCH(QString, focusAfter);

    Form form;
    form.button->setTabStopUp(form.target); // the wheel takes no targets
    form.button->setTabStopDown(form.target);
    QVERIFY(form.ready());
    // Not accepted: the event goes on to the standard handling.
    QVERIFY(!turnWheel(form.button, angleDelta));
    QCOMPARE(form.focusName(), focusAfter);
    QCOMPARE(form.clicks, 0);
}

void TestLibBtBtn::houseStyle() {
    TLibBtBtn button;
    QVERIFY(button.originalStyle());
    QVERIFY(button.followsParentFont());
    QVERIFY(!button.isDefault());
    QVERIFY(!button.autoDefault());
    QCOMPARE(button.height(), 24);
    QCOMPARE(button.kind(), TLibBtBtn::Kind::Custom);
    QCOMPARE(button.tabStopEnter(), nullptr);
    QCOMPARE(button.tabStopUp(), nullptr);
    QCOMPARE(button.tabStopDown(), nullptr);
    // With no parent to follow, the house font shows.
    QVERIFY(button.font().bold());
    QCOMPARE(button.font().pointSize(), 12);
    QVERIFY(!button.font().italic());
    QCOMPARE(button.palette().color(QPalette::ButtonText),
             QApplication::palette().color(QPalette::WindowText));
}

void TestLibBtBtn::styleAppliedOnlyOnChange() {
    QWidget form;
    TLibBtBtn button(&form);
    button.setDefault(true);
    button.resize(100, 40);
    button.setOriginalStyle(true); // unchanged: nothing happens
    QVERIFY(button.isDefault());
    QCOMPARE(button.height(), 40);
    button.setOriginalStyle(false); // changes nothing else
    QVERIFY(!button.originalStyle());
    QVERIFY(button.isDefault());
    QCOMPARE(button.height(), 40);
    button.setOriginalStyle(true);
    QVERIFY(!button.isDefault());
    QCOMPARE(button.size(), QSize(100, 24));
}

void TestLibBtBtn::showsTheFormsFont_data() {
    QTest::addColumn<QString>("placing");
    QTest::newRow("created on the form") << "parent";
    QTest::newRow("added to the form's layout") << "layout";
    QTest::newRow("moved from another form") << "move";
}

void TestLibBtBtn::showsTheFormsFont() {
    QFETCH(QString, placing);

    QFont formFont;
    formFont.setFamily(QApplication::font().family() + QStringLiteral(" Other"));
    formFont.setPointSize(9);
    formFont.setItalic(true);
    QWidget form;
    form.setFont(formFont);
    auto* layout = new QVBoxLayout(&form);
    QWidget otherForm;
    QFont otherFont;
    otherFont.setPointSize(20);
    otherForm.setFont(otherFont);

    TLibBtBtn* button = nullptr;
    if (placing == QLatin1String("parent")) {
        button = new TLibBtBtn(&form);
    } else if (placing == QLatin1String("layout")) {
        button = new TLibBtBtn;
        layout->addWidget(button);
    } else {
        button = new TLibBtBtn(&otherForm);
        QCOMPARE(button->font().pointSize(), 20);
        layout->addWidget(button);
    }
    QCOMPARE(button->parentWidget(), &form);
    QVERIFY(button->followsParentFont());
    QCOMPARE(button->font(), form.font());
    QVERIFY(!button->font().bold());
    QCOMPARE(button->font().pointSize(), 9);
    QCOMPARE(button->palette().color(QPalette::ButtonText),
             form.palette().color(QPalette::ButtonText));
    // A later change of the form's font reaches the button.
    formFont.setPointSize(14);
    form.setFont(formFont);
    QCOMPARE(button->font().pointSize(), 14);
    QVERIFY(button->followsParentFont());
}

void TestLibBtBtn::ownFontIsKept() {
    QWidget form;
    QFont formFont;
    formFont.setPointSize(9);
    form.setFont(formFont);
    auto* layout = new QVBoxLayout(&form);
    auto* button = new TLibBtBtn;
    QFont own;
    own.setPointSize(15);
    button->setFont(own);
    QVERIFY(!button->followsParentFont());
    layout->addWidget(button);
    QCOMPARE(button->font().pointSize(), 15);
    // Applying the house style again follows the form once more.
    button->setOriginalStyle(false);
    button->setOriginalStyle(true);
    QVERIFY(button->followsParentFont());
    QCOMPARE(button->font().pointSize(), 9);
}

void TestLibBtBtn::kinds_data() {
    QTest::addColumn<TLibBtBtn::Kind>("kind");
    QTest::addColumn<bool>("inDialog");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("result"); // of the dialog

    using Kind = TLibBtBtn::Kind;
    const int rejected = QDialog::Rejected;
    QTest::newRow("Cancel in a dialog") << Kind::Cancel << true << "キャンセル" << true << rejected;
    QTest::newRow("Cancel on a window") << Kind::Cancel << false << "キャンセル" << false << 0;
    QTest::newRow("Close in a dialog") << Kind::Close << true << "閉じる" << true << rejected;
    QTest::newRow("Close on a window") << Kind::Close << false << "閉じる" << true << 0;
    QTest::newRow("Custom in a dialog") << Kind::Custom << true << "実行" << false << -1;
}

void TestLibBtBtn::kinds() {
    QFETCH(TLibBtBtn::Kind, kind);
    QFETCH(bool, inDialog);
    QFETCH(QString, text);
    QFETCH(bool, closes);
    QFETCH(int, result);

    std::unique_ptr<QWidget> window(inDialog ? new QDialog : new QWidget);
    auto* dialog = qobject_cast<QDialog*>(window.get());
    if (dialog)
        dialog->setResult(-1);
    auto* button = new TLibBtBtn(window.get());
    button->setText(QStringLiteral("実行"));
    button->setKind(kind);
    QCOMPARE(button->kind(), kind);
    QCOMPARE(button->text(), text);
    QCOMPARE(button->icon().isNull(), kind == TLibBtBtn::Kind::Custom);
    int handled = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++handled; });
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    button->click();
    QCOMPARE(handled, 1); // the form's own handler runs as well
    QCOMPARE(window->isVisible(), !closes);
    if (dialog)
        QCOMPARE(dialog->result(), result);
}

void TestLibBtBtn::enterOnTheCancelButtonRejectsTheDialog() {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* run = new QPushButton(QStringLiteral("実　　行"));
    run->setDefault(true);
    layout->addWidget(run);
    auto* cancel = new TLibBtBtn(TLibBtBtn::Kind::Cancel);
    layout->addWidget(cancel);
    int runClicks = 0;
    int cancelClicks = 0;
    connect(run, &QPushButton::clicked, [&] { ++runClicks; });
    connect(cancel, &QPushButton::clicked, [&] { ++cancelClicks; });
    bool focused = false;
    QTimer::singleShot(0, &dialog, [&] {
        if (QTest::qWaitForWindowActive(&dialog)) {
            cancel->setFocus();
            focused = cancel->hasFocus();
        }
        press(Qt::Key_Return);
        if (dialog.isVisible())
            dialog.accept(); // keeps a failing test from hanging
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(focused);
    QCOMPARE(cancelClicks, 1);
    QCOMPARE(runClicks, 0);
    QVERIFY(run->isDefault());
}

void TestLibBtBtn::enterInADialogClicksOnlyTheFocusedButton() {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* run = new QPushButton(QStringLiteral("実　　行"));
    run->setDefault(true);
    layout->addWidget(run);
    auto* button = new TLibBtBtn;
    layout->addWidget(button);
    auto* returnAction = new QAction(&dialog);
    returnAction->setShortcut(Qt::Key_Return);
    dialog.addAction(returnAction);
    int runClicks = 0;
    int buttonClicks = 0;
    int actionRuns = 0;
    connect(run, &QPushButton::clicked, [&] { ++runClicks; });
    connect(button, &QPushButton::clicked, [&] { ++buttonClicks; });
    connect(returnAction, &QAction::triggered, [&] { ++actionRuns; });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    button->setFocus();
    QVERIFY(button->hasFocus());
    press(Qt::Key_Return);
    press(Qt::Key_Enter);
    QCOMPARE(buttonClicks, 2);
    QCOMPARE(runClicks, 0);
    QCOMPARE(actionRuns, 0);
    QVERIFY(dialog.isVisible());
    QVERIFY(button->hasFocus());
    // With a target that cannot take the focus, Enter takes its ordinary
    // course: the window's shortcut, else the dialog's default button.
    QLineEdit hidden;
    button->setTabStopEnter(&hidden);
    press(Qt::Key_Return);
    QCOMPARE(actionRuns, 1);
    dialog.removeAction(returnAction);
    press(Qt::Key_Return);
    QCOMPARE(buttonClicks, 2);
    QCOMPARE(runClicks, 1);
    QVERIFY(button->hasFocus());
    // Arrow keys move the focus here too, past the dialog's own handling.
    press(Qt::Key_Up);
    QVERIFY(run->hasFocus());
}

QTEST_MAIN(TestLibBtBtn)
#include "tst_libbtbtn.moc"
