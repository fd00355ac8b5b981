#pragma once

#include "controls/MessageBoxes.h"
#include "controls/sheet/Automation.h"

#include <QMap>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>

namespace marubo::test {

// A stand-in spreadsheet application that writes every call into a log, one
// line each, named by the path from the application object:
//   Workbooks.Add()
//   Application.Workbooks.Open("a.csv", ReadOnly:=false)
//   ActiveSheet.Range("A1:C4").Borders.Weight := 2
//   ActiveSheet.Range("A1:A1").Text            (a value read)
// Reads of Text, Count and Name give `values` of that line (empty text or 0
// otherwise); other reads give objects further down the path and are not
// logged. A line listed in `failing` is logged and then fails.
class Recording {
public:
    QStringList log;
    QMap<QString, QVariant> values;
    QSet<QString> failing;
    // Hears every line as it is logged, before a failure.
    std::function<void(const QString&)> onLine;

    sheet::ObjectRef application();
    void add(const QString& line);
};

// Every text of a value as the log writes it: "text", 12, true, null.
QString loggedValue(const QVariant& value);

// Message boxes that remember the errors shown.
class RecordedErrors : public MessageBoxes {
public:
    QStringList errors;
    void showMessage(QWidget*, const QString& text) override { errors << text; }
    bool askYesNo(QWidget*, const QString& text, Icon) override {
        errors << text;
        return false;
    }
    void showError(QWidget*, const QString& text) override { errors << text; }
};

} // namespace marubo::test
