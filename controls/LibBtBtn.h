#pragma once

#include <QEvent>
#include <QFont>
#include <QPointer>
#include <QPushButton>

namespace marubo::controls {

// The house push button for forms filled in from the keyboard.
//
// Enter clicks the button, and the focus stays; with TabStopEnter set, the
// focus then goes on to that control. Up and Down move the focus to the
// previous or next control of the window's tab order, or to TabStopUp /
// TabStopDown when they are set. One wheel notch (a delta of exactly 120)
// moves the focus to the previous control, or towards the user to the next;
// the wheel takes no targets. Keys held with Alt are left to the base button.
//
// A focus move to a target runs in two steps: the focus first goes along the
// tab order, and when it leaves the button it is handed on to the target.
// Before the move the key is offered to the button's containers as an event
// of childKeyEventType(); a container that accepts it keeps the focus where it
// is.
//
// Targets are not owned; a destroyed target reads as none. A target that is
// hidden or disabled (itself or through a parent) is still returned, but the
// keys treat it as none, except Enter, which then takes the ordinary course
// without clicking.
class TLibBtBtn : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(bool OriginalStyle READ originalStyle WRITE setOriginalStyle)
    Q_PROPERTY(QWidget* TabStopEnter READ tabStopEnter WRITE setTabStopEnter)
    Q_PROPERTY(QWidget* TabStopUp READ tabStopUp WRITE setTabStopUp)
    Q_PROPERTY(QWidget* TabStopDown READ tabStopDown WRITE setTabStopDown)

public:
    // What a click does besides the clicked() signal. Cancel rejects the
    // dialog the button sits in; Close closes the button's window. Both show
    // their standard text and icon when chosen. The action runs before the
    // handlers connected to clicked() by the form.
    enum class Kind { Custom, Cancel, Close };
    Q_ENUM(Kind)

    // The house style is applied at once (OriginalStyle is true).
    explicit TLibBtBtn(QWidget* parent = nullptr);
    TLibBtBtn(Kind kind, QWidget* parent = nullptr);

    bool originalStyle() const { return FOriginalStyle; }
    // True applies the house style: not the default button, a bold 12-point
    // font in the window-text colour, height 24, and then the parent's font
    // (see followsParentFont). False changes nothing else.
    void setOriginalStyle(bool on);

    // Whether the button shows its parent's font. The house style turns this
    // on; giving the button a font of its own turns it off. A button without a
    // parent shows the house font until it is placed on a form.
    bool followsParentFont() const { return followParentFont_; }

    QWidget* tabStopEnter() const { return FTabStopEnter; }
    void setTabStopEnter(QWidget* control) { FTabStopEnter = control; }
    QWidget* tabStopUp() const { return FTabStopUp; }
    void setTabStopUp(QWidget* control) { FTabStopUp = control; }
    QWidget* tabStopDown() const { return FTabStopDown; }
    void setTabStopDown(QWidget* control) { FTabStopDown = control; }

    Kind kind() const { return kind_; }
    void setKind(Kind kind);

    // The bold 12-point font of the house style.
    static QFont houseFont();

    // The type of the QKeyEvent offered to the containers (from the parent up
    // to the window) before Enter, Up or Down moves the focus. A container
    // claims the key by accepting the event; the focus then stays.
    static QEvent::Type childKeyEventType();

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Runs the button's own handling of a key press; false leaves the key to
    // the base button.
    bool handleKeyPress(const QKeyEvent& key);
    // Whether a key press will be handled by the button itself.
    bool takesKey(const QKeyEvent& key) const;
    // Offers the key to the containers, then moves the focus along the tab
    // order; false when there is no containing window.
    bool moveFocus(const QKeyEvent& key, bool next);
    bool offerToContainers(const QKeyEvent& key);
    void moveAlongTabOrder(bool next);
    void followParentFont();
    void runKind();
    bool changingParent() const { return parentWidget() != knownParent_; }

    bool FOriginalStyle = false;
    QPointer<QWidget> FTabStopEnter;
    QPointer<QWidget> FTabStopUp;
    QPointer<QWidget> FTabStopDown;
    // The control that takes the focus over when the button loses it.
    QPointer<QWidget> FTabStopControl;

    Kind kind_ = Kind::Custom;
    bool followParentFont_ = false;
    bool housePaletteSet_ = false; // the palette is the house style's own
    bool styling_ = false;         // the button is changing its own font
    // The parent as of the last ParentChange; Qt changes the font of a
    // button moving to a new parent before it reports the move.
    const QWidget* knownParent_ = nullptr;
};

} // namespace marubo::controls
