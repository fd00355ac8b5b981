#include "SheetCopy.h"

#include "SheetApplication.h"
#include "SheetProgress.h"
#include "controls/MessageBoxes.h"

#include <QApplication>
#include <cmath>

namespace marubo::sheet {

namespace {

const QString kNotFound = QStringLiteral("Ｍｉｃｒｏｓｏｆｔ Ｅｘｃｅｌ が見つかりません。\r\n\r\n"
                                         "インストール後、再起動して下さい。");
const QString kCopyFailed = QStringLiteral("Ｅｘｃｅｌ出力中にエラーが発生しました。");

// ActiveSheet.Range(address)
ObjectRef sheetRange(AutomationObject& application, const QString& address) {
    return getObject(*getObject(application, QStringLiteral("ActiveSheet")),
                     QStringLiteral("Range"), {address});
}

ObjectRef part(AutomationObject& object, const QString& member) {
    return getObject(object, member);
}

// Application.Workbooks
ObjectRef workbooks(AutomationObject& application) {
    return getObject(*getObject(application, QStringLiteral("Application")),
                     QStringLiteral("Workbooks"));
}

// The size in points, whole when it is whole.
QVariant pointSize(const QFont& font) {
    double points = font.pointSizeF();
    if (points <= 0)
        points = font.pixelSize() * 72.0 / 96.0;
    if (points == std::floor(points))
        return int(points);
    return points;
}

} // namespace

bool CopyExcel(const SheetCopySettings& settings, const SheetCopyHooks& hooks) {
    AutomationClasses& classes = hooks.classes ? *hooks.classes : AutomationClasses::process();
    auto report = [&](const QString& text) {
        if (!settings.showErrDlg)
            return;
        QApplication::beep();
        if (hooks.boxes)
            hooks.boxes->showError(hooks.container, text);
    };

    ObjectRef application;
    bool created = false;
    try {
        application = classes.getActiveObject(kSpreadsheetClass);
    } catch (const std::exception&) {
        // none running: start one below
    }
    if (!application) {
        try {
            application = classes.createObject(kSpreadsheetClass);
            created = true;
        } catch (const ServerUnavailable&) {
            report(kNotFound);
            return false;
        }
    }

    try {
        getObject(*application, QStringLiteral("Workbooks"))->call(QStringLiteral("Add"));
        const int lines = hooks.copyCsvFile ? hooks.copyCsvFile() : 0;
        if (lines <= 0) {
            CloseExcel(*application, created);
            return false;
        }
        FormatExcelSheet(*application, settings.csvPath, lines - 1, settings.lastColumn,
                         settings.cellBorderWeight, settings.cellColor, settings.cellBorderColor,
                         settings.cellTitleColor, settings.cellFont, settings.cellFontColor,
                         settings.sheetName, settings.autoFit, settings.columnName,
                         hooks.container);
        part(*getObject(*application, QStringLiteral("ActiveSheet")), QStringLiteral("PageSetup"))
            ->set(QStringLiteral("Orientation"), settings.landscape ? 2 : 1);
        application->set(QStringLiteral("Visible"), true);
        if (!created)
            application->set(QStringLiteral("WindowState"), 1);
        return true;
    } catch (const std::exception&) {
        report(kCopyFailed);
        try {
            CloseExcel(*application, created);
        } catch (const std::exception&) {
            // The instance is given up either way; the failure is reported.
        }
        return false;
    }
}

void CloseExcel(AutomationObject& application, bool created) {
    application.set(QStringLiteral("DisplayAlerts"), false);
    if (created)
        application.call(QStringLiteral("Quit"));
    else
        getObject(*getObject(application, QStringLiteral("Application")),
                  QStringLiteral("ActiveWorkbook"))
            ->call(QStringLiteral("Close"));
}

void FormatExcelSheet(AutomationObject& application, const QString& csvPath, int lastRow,
                      int lastColumn, int borderWeight, quint32 cellColor, quint32 borderColor,
                      quint32 titleColor, const QFont& font, quint32 fontColor,
                      const QString& sheetName, bool autoFit, bool columnName, QWidget* container) {
    SheetProgress progress(container, QStringLiteral("データ出力中"),
                           QStringLiteral("Excel 読み込み中"));
    progress.step();
    try {
        // The CSV file in place of every open workbook.
        workbooks(application)->call(QStringLiteral("Close"));
        workbooks(application)
            ->call(QStringLiteral("Open"), {csvPath}, {{QStringLiteral("ReadOnly"), false}});
        progress.step();

        // Columns whose title ends in a full stop get number format 64.
        for (int column = 1; column <= lastColumn + 1; ++column) {
            try {
                const QString title = sheetRange(application, RangeText(1, column, 0, 0))
                                          ->get(QStringLiteral("Text"))
                                          .toString();
                if (title.endsWith(QLatin1Char('.')))
                    sheetRange(application, RangeText(2, column, lastRow, 0))
                        ->set(QStringLiteral("NumberFormatLocal"), 64);
            } catch (const std::exception&) {
                // That column keeps its format; the others go on.
            }
        }
        const QString all = RangeText(1, 1, lastRow, lastColumn);
        progress.step();

        if (borderWeight != 0)
            part(*sheetRange(application, all), QStringLiteral("Borders"))
                ->set(QStringLiteral("Weight"), borderWeight);
        progress.step();
        if (cellColor != clNone)
            part(*sheetRange(application, all), QStringLiteral("Interior"))
                ->set(QStringLiteral("Color"), cellColor);
        progress.step();
        if (columnName && titleColor != clNone)
            part(*sheetRange(application, RangeText(1, 1, 0, lastColumn)),
                 QStringLiteral("Interior"))
                ->set(QStringLiteral("Color"), titleColor);
        progress.step();
        if (borderWeight != 0)
            part(*sheetRange(application, all), QStringLiteral("Borders"))
                ->set(QStringLiteral("Color"), borderColor);
        progress.step();

        // The font of every cell; only what differs from plain is switched on.
        const ObjectRef cellFont = part(
            *part(*getObject(application, QStringLiteral("ActiveSheet")), QStringLiteral("Cells")),
            QStringLiteral("Font"));
        cellFont->set(QStringLiteral("Size"), pointSize(font));
        cellFont->set(QStringLiteral("Name"), font.family());
        cellFont->set(QStringLiteral("Color"), fontColor);
        if (font.bold())
            cellFont->set(QStringLiteral("Bold"), true);
        if (font.italic())
            cellFont->set(QStringLiteral("Italic"), true);
        if (font.strikeOut())
            cellFont->set(QStringLiteral("Strikethrough"), true);
        progress.step();

        if (!sheetName.isEmpty()) {
            // The suffixes accumulate: S, S(2), S(2)(3), …
            QString candidate = sheetName;
            int k = 1;
            do {
                ++k;
                if (!BookNameFree(application, candidate))
                    candidate += QStringLiteral("(%1)").arg(k);
            } while (!BookNameFree(application, candidate));
            try {
                getObject(application, QStringLiteral("ActiveSheet"))
                    ->set(QStringLiteral("Name"), candidate);
            } catch (const std::exception&) {
                // The sheet keeps the name it had.
            }
            part(*getObject(application, QStringLiteral("ActiveSheet")),
                 QStringLiteral("PageSetup"))
                ->set(QStringLiteral("CenterHeader"), QStringLiteral("&A"));
        }
        progress.step();

        if (autoFit)
            part(*part(*getObject(application, QStringLiteral("ActiveSheet")),
                       QStringLiteral("Cells")),
                 QStringLiteral("EntireColumn"))
                ->call(QStringLiteral("AutoFit"));
        progress.step();

        getObject(*getObject(application, QStringLiteral("ActiveSheet")), QStringLiteral("Cells"),
                  {1, 1})
            ->call(QStringLiteral("Select"));
        progress.step();
    } catch (const std::exception&) {
        // The rest of the formatting is skipped; the copy goes on.
    }
    QApplication::processEvents();
    progress.close();
}

bool BookNameFree(AutomationObject& application, const QString& name) {
    const int count = workbooks(application)->get(QStringLiteral("Count")).toInt();
    for (int i = 1; i <= count; ++i) {
        const ObjectRef book = getObject(*getObject(application, QStringLiteral("Application")),
                                         QStringLiteral("Workbooks"), {i});
        if (book->get(QStringLiteral("Name")).toString() == name)
            return false;
    }
    return true;
}

QString RangeText(int row, int column, int rowSpan, int columnSpan) {
    return QStringLiteral("%1%2:%3%4")
        .arg(ColumnLetters(column))
        .arg(row)
        .arg(ColumnLetters(column + columnSpan))
        .arg(row + rowSpan);
}

QString ColumnLetters(int n) {
    if (n <= 26)
        return QString(QChar(64 + n));
    const int first = 64 + (n - 1) / 26;
    const int second = 64 + (((n - 1) / 26 + n) % 27);
    return QString(QChar(first)) + QChar(second);
}

} // namespace marubo::sheet
