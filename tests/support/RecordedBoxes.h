#pragma once

#include "controls/MessageBoxes.h"

#include <QList>
#include <QStringList>

namespace marubo::test {

// Message boxes that record every text instead of showing it; questions get `answer`.
struct RecordedBoxes : MessageBoxes {
    QStringList messages;
    QStringList errors;
    QStringList questions;
    QList<Icon> icons; // of the questions
    bool answer = false;

    void showMessage(QWidget*, const QString& text) override { messages << text; }
    bool askYesNo(QWidget*, const QString& text, Icon icon) override {
        questions << text;
        icons << icon;
        return answer;
    }
    void showError(QWidget*, const QString& text) override { errors << text; }
};

} // namespace marubo::test
