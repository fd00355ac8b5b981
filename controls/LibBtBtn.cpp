#include "LibBtBtn.h"

#include <QDialog>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QScopedValueRollback>
#include <QStyle>
#include <QWheelEvent>
#include <utility>

namespace marubo::controls {

namespace {

// Hidden or disabled controls, or those on a hidden or disabled parent, cannot
// take the focus.
bool canTakeFocus(const QWidget* control) {
    return control && control->isVisible() && control->isEnabled();
}

bool isEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// One notch of an ordinary mouse wheel.
constexpr int kWheelNotch = 120;
constexpr int kHouseHeight = 24;

} // namespace

TLibBtBtn::TLibBtBtn(QWidget* parent) : QPushButton(parent), knownParent_(parent) {
    // The button handles Enter itself. It must not become a dialog's default
    // button by taking the focus, or an Enter passed on to the dialog would
    // click it after all.
    setAutoDefault(false);
    // Connected first, so the kind's action runs before the form's handlers.
    connect(this, &QAbstractButton::clicked, this, &TLibBtBtn::runKind);
    setOriginalStyle(true);
}

TLibBtBtn::TLibBtBtn(Kind kind, QWidget* parent) : TLibBtBtn(parent) {
    setKind(kind);
}

void TLibBtBtn::setOriginalStyle(bool on) {
    if (on == FOriginalStyle)
        return;
    FOriginalStyle = on;
    if (!on)
        return;
    setDefault(false);
    // The house font (bold, 12 points) in the window-text colour shows only
    // while there is no parent font to follow; see followParentFont().
    resize(width(), kHouseHeight);
    followParentFont_ = true;
    followParentFont();
}

QFont TLibBtBtn::houseFont() {
    QFont font;
    font.setPixelSize(16);
    font.setPointSize(12); // the size in points is the one that counts
    font.setBold(true);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

void TLibBtBtn::followParentFont() {
    const QScopedValueRollback guard(styling_, true);
    if (parentWidget()) {
        setFont(QFont()); // no font of its own: the parent's is used
        if (housePaletteSet_) {
            setPalette(QPalette());
            housePaletteSet_ = false;
        }
        return;
    }
    setFont(houseFont());
    QPalette own = palette();
    own.setColor(QPalette::ButtonText, QGuiApplication::palette().color(QPalette::WindowText));
    setPalette(own);
    housePaletteSet_ = true;
}

void TLibBtBtn::setKind(Kind kind) {
    kind_ = kind;
    switch (kind) {
    case Kind::Cancel:
        setText(QStringLiteral("キャンセル"));
        setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
        break;
    case Kind::Close:
        setText(QStringLiteral("閉じる"));
        setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
        break;
    case Kind::Custom:
        break;
    }
}

void TLibBtBtn::runKind() {
    switch (kind_) {
    case Kind::Cancel:
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->reject();
        break;
    case Kind::Close:
        window()->close();
        break;
    case Kind::Custom:
        break;
    }
}

QEvent::Type TLibBtBtn::childKeyEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool TLibBtBtn::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Keeps shortcuts of the window (a Return action, say) from taking a
        // key the button is going to handle.
        if (takesKey(*static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        // Handled here, before the button's and the dialog's own treatment of
        // Enter and the arrows.
        FTabStopControl = nullptr;
        if (handleKeyPress(*static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QPushButton::event(event);
}

bool TLibBtBtn::takesKey(const QKeyEvent& key) const {
    if (key.modifiers() & Qt::AltModifier)
        return false;
    if (isEnterKey(key.key()))
        return !FTabStopEnter || canTakeFocus(FTabStopEnter);
    return (key.key() == Qt::Key_Up || key.key() == Qt::Key_Down) && !isWindow();
}

bool TLibBtBtn::handleKeyPress(const QKeyEvent& key) {
    if (key.modifiers() & Qt::AltModifier)
        return false; // menu and mnemonic keys
    bool next = true;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (!FTabStopEnter) {
            click();
            return true;
        }
        if (!canTakeFocus(FTabStopEnter))
            return false; // the key's ordinary course, without a click
        const QPointer<TLibBtBtn> self(this);
        click();
        // A click that closed the window or removed the button ends here.
        if (!self || !isVisible())
            return true;
        FTabStopControl = FTabStopEnter;
        break;
    }
    case Qt::Key_Up:
        if (canTakeFocus(FTabStopUp))
            FTabStopControl = FTabStopUp;
        next = false;
        break;
    case Qt::Key_Down:
        if (canTakeFocus(FTabStopDown))
            FTabStopControl = FTabStopDown;
        break;
    default:
        return false;
    }
    const bool handled = moveFocus(key, next);
    // The target belongs to this move: when the focus did not leave, a later
    // exit (a mouse click elsewhere, say) must not be redirected to it.
    if (hasFocus())
        FTabStopControl = nullptr;
    return handled;
}

bool TLibBtBtn::moveFocus(const QKeyEvent& key, bool next) {
    if (offerToContainers(key))
        return true;
    if (isWindow())
        return false; // no containing window: the base handling
    moveAlongTabOrder(next);
    return true;
}

bool TLibBtBtn::offerToContainers(const QKeyEvent& key) {
    QKeyEvent childKey(childKeyEventType(), key.key(), key.modifiers(), key.text(),
                       key.isAutoRepeat(), key.count());
    for (QWidget* container = parentWidget(); container;
         container = container->isWindow() ? nullptr : container->parentWidget()) {
        childKey.setAccepted(false);
        QCoreApplication::sendEvent(container, &childKey);
        if (childKey.isAccepted())
            return true;
    }
    return false;
}

void TLibBtBtn::moveAlongTabOrder(bool next) {
    // The same move as Tab and Backtab: up to the window, among its tab stops.
    focusNextPrevChild(next);
}

void TLibBtBtn::focusInEvent(QFocusEvent* event) {
    QPushButton::focusInEvent(event);
    FTabStopControl = nullptr;
}

void TLibBtBtn::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    if (const QPointer<QWidget> target = std::exchange(FTabStopControl, nullptr))
        target->setFocus(event->reason());
}

void TLibBtBtn::wheelEvent(QWheelEvent* event) {
    if (!isWindow()) {
        const int delta = event->angleDelta().y();
        if (delta == -kWheelNotch)
            moveAlongTabOrder(true);
        else if (delta == kWheelNotch)
            moveAlongTabOrder(false);
    }
    QPushButton::wheelEvent(event);
}

void TLibBtBtn::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentChange:
        knownParent_ = parentWidget();
        if (followParentFont_)
            followParentFont();
        break;
    case QEvent::FontChange:
        // A font given to the button ends following the parent's; fonts the
        // button sets itself, or takes on from a new parent before it hears
        // of the change, do not.
        if (!styling_ && !changingParent() && testAttribute(Qt::WA_SetFont))
            followParentFont_ = false;
        break;
    case QEvent::PaletteChange:
        if (!styling_ && !changingParent() && testAttribute(Qt::WA_SetPalette))
            housePaletteSet_ = false;
        break;
    default:
        break;
    }
    QPushButton::changeEvent(event);
}

} // namespace marubo::controls
