#include "MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTextStream>
#include <QWidget>

namespace marubo {

namespace {

QString titleFor(QWidget* parent) {
    QWidget* window = parent ? parent->window() : QApplication::activeWindow();
    return window ? window->windowTitle() : QApplication::applicationDisplayName();
}

// Japanese button texts, whatever translations the toolkit has installed.
void nameButtons(QMessageBox& box) {
    if (QAbstractButton* ok = box.button(QMessageBox::Ok))
        ok->setText(QStringLiteral("OK"));
    if (QAbstractButton* yes = box.button(QMessageBox::Yes))
        yes->setText(QStringLiteral("はい(&Y)"));
    if (QAbstractButton* no = box.button(QMessageBox::No))
        no->setText(QStringLiteral("いいえ(&N)"));
}

int run(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    nameButtons(box);
    return box.exec();
}

} // namespace

void DialogMessageBoxes::showMessage(QWidget* parent, const QString& text) {
    run(parent, QMessageBox::NoIcon, titleFor(parent), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool DialogMessageBoxes::askYesNo(QWidget* parent, const QString& text, Icon icon) {
    const bool warning = icon == Icon::Warning;
    return run(parent, warning ? QMessageBox::Warning : QMessageBox::Information,
               warning ? QStringLiteral("警告") : QStringLiteral("情報"), text,
               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

void DialogMessageBoxes::showError(QWidget* parent, const QString& text) {
    run(parent, QMessageBox::Critical, titleFor(parent), text, QMessageBox::Ok, QMessageBox::Ok);
}

void PrintedMessageBoxes::showMessage(QWidget*, const QString& text) {
    print(text);
}

bool PrintedMessageBoxes::askYesNo(QWidget*, const QString& text, Icon) {
    print(text);
    return false;
}

void PrintedMessageBoxes::showError(QWidget*, const QString& text) {
    print(text);
}

void PrintedMessageBoxes::print(const QString& text) {
    ++printed_;
    QTextStream(stderr) << text << Qt::endl;
}

} // namespace marubo
