#pragma once

#include <QString>

class QWidget;

namespace marubo {

// The message boxes of the windows, behind one interface so that tests can
// read every text and give the answers.
class MessageBoxes {
public:
    enum class Icon { Warning, Information };

    virtual ~MessageBoxes() = default;
    // A message with one OK button.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // A question with yes and no; true when the answer is yes.
    virtual bool askYesNo(QWidget* parent, const QString& text, Icon icon) = 0;
    // An error that ended an action.
    virtual void showError(QWidget* parent, const QString& text) = 0;
};

// The message boxes of the toolkit, modal, titled after the window they belong to.
class DialogMessageBoxes final : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text, Icon icon) override;
    void showError(QWidget* parent, const QString& text) override;
};

// For programs without windows: every text goes to the standard error, every
// question is answered no, and nothing blocks.
class PrintedMessageBoxes final : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text, Icon icon) override;
    void showError(QWidget* parent, const QString& text) override;
    // How many texts were printed.
    int printed() const { return printed_; }

private:
    void print(const QString& text);
    int printed_ = 0;
};

} // namespace marubo
