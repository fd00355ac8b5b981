#include "SheetApplication.h"

#include "SheetModel.h"
#include "XlsxOutput.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUrl>
#include <algorithm>
#include <vector>

namespace marubo::sheet {

namespace {

// A formatted range is written cell by cell (its blank cells carry the
// borders and fills), and every such cell is held in memory until the file
// is written. Ranges beyond this many cells are refused, which bounds the
// memory a copy takes: a larger grid loses the rest of its formatting there,
// as after any failure of the formatting, and its sheet is still shown.
constexpr qint64 kMaxFormattedCells = 2'000'000;

bool is(const QString& member, QLatin1StringView name) {
    return member.compare(name, Qt::CaseInsensitive) == 0;
}

[[noreturn]] void unknown(const QString& member) {
    throw AutomationError(QStringLiteral("The object has no member %1.").arg(member));
}

[[noreturn]] void refuse(const QString& member, const QVariant& value) {
    throw AutomationError(QStringLiteral("%1 cannot be set to %2.").arg(member, value.toString()));
}

void expectArgs(const QString& member, const QVariantList& args, qsizetype count) {
    if (args.size() != count)
        throw AutomationError(QStringLiteral("%1 takes %2 argument(s), not %3.")
                                  .arg(member)
                                  .arg(count)
                                  .arg(args.size()));
}

int toInt(const QString& member, const QVariant& value) {
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok)
        refuse(member, value);
    return number;
}

// A colour value as a 32-bit pattern: red in the low byte, or a system colour.
quint32 toColour(const QString& member, const QVariant& value) {
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > UINT32_MAX)
        refuse(member, value);
    return quint32(number);
}

// What one instance holds: its workbooks, the active one, its switches.
struct ApplicationState {
    AutomationClasses* classes = nullptr;
    XlsxOpener open;
    std::vector<std::shared_ptr<Workbook>> books;
    std::shared_ptr<Workbook> active;
    bool visible = false;
    QVariant windowState = -4143; // normal
    bool displayAlerts = true;
    bool quit = false;
    int newBooks = 0;

    void checkRunning() const {
        if (quit)
            throw AutomationError(QStringLiteral("The application has quit."));
    }
    bool isOpen(const std::shared_ptr<Workbook>& book) const {
        return std::find(books.begin(), books.end(), book) != books.end();
    }
    void addBook(std::shared_ptr<Workbook> book) {
        books.push_back(book);
        active = std::move(book);
    }
    void closeBook(const std::shared_ptr<Workbook>& book) {
        books.erase(std::remove(books.begin(), books.end(), book), books.end());
        if (active == book)
            active = books.empty() ? nullptr : books.back();
    }
    std::shared_ptr<Workbook> activeBook() const {
        if (!active)
            throw AutomationError(QStringLiteral("No workbook is open."));
        return active;
    }
};
using State = std::shared_ptr<ApplicationState>;

class ModelObject : public AutomationObject {
public:
    explicit ModelObject(State state) : state_(std::move(state)) {}
    QVariant get(const QString& member, const QVariantList& args) override {
        state_->checkRunning();
        return read(member, args);
    }
    void set(const QString& member, const QVariant& value, const QVariantList& args) override {
        state_->checkRunning();
        if (!args.isEmpty())
            throw AutomationError(QStringLiteral("%1 takes no index.").arg(member));
        write(member, value);
    }
    QVariant call(const QString& member, const QVariantList& args,
                  const NamedArgs& named) override {
        state_->checkRunning();
        return invoke(member, args, named);
    }

protected:
    virtual QVariant read(const QString& member, const QVariantList&) { unknown(member); }
    virtual void write(const QString& member, const QVariant&) { unknown(member); }
    virtual QVariant invoke(const QString& member, const QVariantList&, const NamedArgs&) {
        unknown(member);
    }
    State state_;
};

// Something that belongs to one workbook and fails once the book is closed.
class BookPart : public ModelObject {
public:
    BookPart(State state, std::shared_ptr<Workbook> book)
        : ModelObject(std::move(state)), book_(std::move(book)) {}

protected:
    Worksheet& sheet() {
        if (!state_->isOpen(book_))
            throw AutomationError(QStringLiteral("The workbook %1 is closed.").arg(book_->name));
        return book_->sheet;
    }
    std::shared_ptr<Workbook> book_;
};

// Borders, Interior or Font of a range: each property sets one format.
class RangePart : public BookPart {
public:
    enum class Kind { Borders, Interior, Font };
    RangePart(State state, std::shared_ptr<Workbook> book, CellArea area, Kind kind)
        : BookPart(std::move(state), std::move(book)), area_(area), kind_(kind) {}

protected:
    void write(const QString& member, const QVariant& value) override {
        sheet().formats.append({area_, property(member, value), settingValue(member, value)});
    }
    QVariant read(const QString& member, const QVariantList& args) override {
        if (!args.isEmpty())
            unknown(member);
        const CellFormat format = sheet().formatAt(area_.top, area_.left);
        switch (property(member, QVariant())) {
        case FormatProperty::BorderWeight:
            return format.borderWeight.value_or(0);
        case FormatProperty::BorderColor:
            return format.borderColor.value_or(0);
        case FormatProperty::FillColor:
            return format.fillColor.value_or(0xFFFFFF);
        case FormatProperty::FontSize:
            return format.fontSize.value_or(11.0);
        case FormatProperty::FontName:
            return format.fontName.value_or(QStringLiteral("Calibri"));
        case FormatProperty::FontColor:
            return format.fontColor.value_or(0);
        case FormatProperty::Bold:
            return format.bold;
        case FormatProperty::Italic:
            return format.italic;
        case FormatProperty::Strikethrough:
            return format.strikethrough;
        case FormatProperty::NumberFormat:
            break;
        }
        unknown(member);
    }

private:
    FormatProperty property(const QString& member, const QVariant&) const {
        switch (kind_) {
        case Kind::Borders:
            if (is(member, QLatin1StringView("Weight")))
                return FormatProperty::BorderWeight;
            if (is(member, QLatin1StringView("Color")))
                return FormatProperty::BorderColor;
            break;
        case Kind::Interior:
            if (is(member, QLatin1StringView("Color")))
                return FormatProperty::FillColor;
            break;
        case Kind::Font:
            if (is(member, QLatin1StringView("Size")))
                return FormatProperty::FontSize;
            if (is(member, QLatin1StringView("Name")))
                return FormatProperty::FontName;
            if (is(member, QLatin1StringView("Color")))
                return FormatProperty::FontColor;
            if (is(member, QLatin1StringView("Bold")))
                return FormatProperty::Bold;
            if (is(member, QLatin1StringView("Italic")))
                return FormatProperty::Italic;
            if (is(member, QLatin1StringView("Strikethrough")))
                return FormatProperty::Strikethrough;
            break;
        }
        unknown(member);
    }

    // The value checked as the property takes it.
    QVariant settingValue(const QString& member, const QVariant& value) const {
        switch (property(member, value)) {
        case FormatProperty::BorderWeight: {
            const int weight = toInt(member, value);
            if (weight != 1 && weight != 2 && weight != 4 && weight != -4138)
                refuse(member, value);
            return weight;
        }
        case FormatProperty::BorderColor:
        case FormatProperty::FillColor:
        case FormatProperty::FontColor:
            return toColour(member, value);
        case FormatProperty::FontSize: {
            bool ok = false;
            const double size = value.toDouble(&ok);
            if (!ok || size < 1 || size > 409)
                refuse(member, value);
            return size;
        }
        case FormatProperty::FontName:
            if (value.typeId() != QMetaType::QString || value.toString().trimmed().isEmpty())
                refuse(member, value);
            return value.toString();
        case FormatProperty::Bold:
        case FormatProperty::Italic:
        case FormatProperty::Strikethrough:
            return value.toBool();
        case FormatProperty::NumberFormat:
            break;
        }
        refuse(member, value);
    }

    CellArea area_;
    Kind kind_;
};

class RangeObject : public BookPart {
public:
    RangeObject(State state, std::shared_ptr<Workbook> book, CellArea area, bool wholeColumns)
        : BookPart(std::move(state), std::move(book)), area_(area), wholeColumns_(wholeColumns) {
        if (!area_.isWholeSheet() && area_.cellCount() > kMaxFormattedCells && !wholeColumns_)
            throw AutomationError(QStringLiteral("The range is too large."));
    }

protected:
    QVariant read(const QString& member, const QVariantList& args) override {
        if (!args.isEmpty())
            unknown(member);
        if (is(member, QLatin1StringView("Text")))
            return area_.cellCount() == 1 ? QVariant(sheet().text(area_.top, area_.left))
                                          : QVariant();
        if (is(member, QLatin1StringView("NumberFormatLocal"))) {
            const auto format = sheet().formatAt(area_.top, area_.left).numberFormat;
            return format.value_or(QStringLiteral("G/標準"));
        }
        if (is(member, QLatin1StringView("Borders")))
            return part(RangePart::Kind::Borders);
        if (is(member, QLatin1StringView("Interior")))
            return part(RangePart::Kind::Interior);
        if (is(member, QLatin1StringView("Font")))
            return part(RangePart::Kind::Font);
        if (is(member, QLatin1StringView("EntireColumn")))
            return objectValue(std::make_shared<RangeObject>(
                state_, book_, CellArea{1, area_.left, kSheetRows, area_.right}, true));
        unknown(member);
    }

    void write(const QString& member, const QVariant& value) override {
        if (!is(member, QLatin1StringView("NumberFormatLocal")))
            unknown(member);
        // A number stands for one of the spreadsheet's built-in formats.
        if (value.typeId() == QMetaType::QString) {
            sheet().formats.append({area_, FormatProperty::NumberFormat, value});
            return;
        }
        const int index = toInt(member, value);
        if (index < 0 || index > 255)
            refuse(member, value);
        sheet().formats.append({area_, FormatProperty::NumberFormat, index});
    }

    QVariant invoke(const QString& member, const QVariantList& args, const NamedArgs&) override {
        if (is(member, QLatin1StringView("Select"))) {
            expectArgs(member, args, 0);
            sheet().selection = {area_.top, area_.left};
            return true;
        }
        if (is(member, QLatin1StringView("AutoFit"))) {
            expectArgs(member, args, 0);
            if (!wholeColumns_)
                throw AutomationError(QStringLiteral("AutoFit needs whole columns."));
            sheet().autoFit(area_.left, area_.right);
            return true;
        }
        unknown(member);
    }

private:
    QVariant part(RangePart::Kind kind) {
        sheet();
        if (area_.cellCount() > kMaxFormattedCells && !area_.isWholeSheet())
            throw AutomationError(QStringLiteral("The range is too large to format."));
        return objectValue(std::make_shared<RangePart>(state_, book_, area_, kind));
    }

    CellArea area_;
    bool wholeColumns_;
};

class PageSetupObject : public BookPart {
public:
    using BookPart::BookPart;

protected:
    QVariant read(const QString& member, const QVariantList& args) override {
        if (!args.isEmpty())
            unknown(member);
        if (is(member, QLatin1StringView("CenterHeader")))
            return sheet().centerHeader;
        if (is(member, QLatin1StringView("Orientation")))
            return sheet().orientation;
        unknown(member);
    }
    void write(const QString& member, const QVariant& value) override {
        if (is(member, QLatin1StringView("CenterHeader"))) {
            // The page header of the file holds 255 characters with its "&C".
            if (value.toString().size() > 253)
                refuse(member, value);
            sheet().centerHeader = value.toString();
            return;
        }
        if (is(member, QLatin1StringView("Orientation"))) {
            const int orientation = toInt(member, value);
            if (orientation != 1 && orientation != 2)
                refuse(member, value);
            sheet().orientation = orientation;
            return;
        }
        unknown(member);
    }
};

class WorksheetObject : public BookPart {
public:
    using BookPart::BookPart;

protected:
    QVariant read(const QString& member, const QVariantList& args) override {
        if (is(member, QLatin1StringView("Name"))) {
            expectArgs(member, args, 0);
            return sheet().name;
        }
        if (is(member, QLatin1StringView("Range"))) {
            expectArgs(member, args, 1);
            const auto area = parseRangeAddress(args.first().toString());
            if (!area)
                throw AutomationError(
                    QStringLiteral("%1 is no range address.").arg(args.first().toString()));
            return range(*area);
        }
        if (is(member, QLatin1StringView("Cells"))) {
            if (args.isEmpty())
                return range(CellArea::wholeSheet());
            expectArgs(member, args, 2);
            const int row = toInt(member, args[0]);
            const int column = toInt(member, args[1]);
            if (row < 1 || row > kSheetRows || column < 1 || column > kSheetColumns)
                throw AutomationError(QStringLiteral("The cell is outside the sheet."));
            return range({row, column, row, column});
        }
        if (is(member, QLatin1StringView("PageSetup"))) {
            expectArgs(member, args, 0);
            sheet();
            return objectValue(std::make_shared<PageSetupObject>(state_, book_));
        }
        unknown(member);
    }
    void write(const QString& member, const QVariant& value) override {
        if (!is(member, QLatin1StringView("Name")))
            unknown(member);
        if (value.typeId() != QMetaType::QString || !isValidSheetName(value.toString()))
            refuse(member, value);
        sheet().name = value.toString();
    }

private:
    QVariant range(const CellArea& area) {
        sheet();
        return objectValue(std::make_shared<RangeObject>(state_, book_, area, false));
    }
};

class WorkbookObject : public BookPart {
public:
    using BookPart::BookPart;

protected:
    QVariant read(const QString& member, const QVariantList& args) override {
        expectArgs(member, args, 0);
        if (is(member, QLatin1StringView("Name"))) {
            sheet();
            return book_->name;
        }
        if (is(member, QLatin1StringView("ActiveSheet"))) {
            sheet();
            return objectValue(std::make_shared<WorksheetObject>(state_, book_));
        }
        unknown(member);
    }
    QVariant invoke(const QString& member, const QVariantList& args, const NamedArgs&) override {
        if (!is(member, QLatin1StringView("Close")))
            unknown(member);
        expectArgs(member, args, 0);
        sheet();
        state_->closeBook(book_);
        return true;
    }
};

class WorkbooksObject : public ModelObject {
public:
    using ModelObject::ModelObject;

    QVariant item(const QVariant& index) {
        bool ok = false;
        const int i = index.toInt(&ok);
        if (!ok || i < 1 || i > int(state_->books.size()))
            throw AutomationError(QStringLiteral("There is no workbook %1.").arg(index.toString()));
        return objectValue(std::make_shared<WorkbookObject>(state_, state_->books[size_t(i - 1)]));
    }

protected:
    QVariant read(const QString& member, const QVariantList& args) override {
        if (is(member, QLatin1StringView("Count"))) {
            expectArgs(member, args, 0);
            return int(state_->books.size());
        }
        if (is(member, QLatin1StringView("Item")) || member.isEmpty()) {
            expectArgs(member, args, 1);
            return item(args.first());
        }
        unknown(member);
    }
    QVariant invoke(const QString& member, const QVariantList& args,
                    const NamedArgs& named) override {
        if (is(member, QLatin1StringView("Add"))) {
            expectArgs(member, args, 0);
            auto book = std::make_shared<Workbook>();
            book->name = QStringLiteral("Book%1").arg(++state_->newBooks);
            book->sheet.name = QStringLiteral("Sheet1");
            state_->addBook(book);
            return objectValue(std::make_shared<WorkbookObject>(state_, book));
        }
        if (is(member, QLatin1StringView("Open"))) {
            expectArgs(member, args, 1);
            for (const auto& [name, value] : named) {
                if (!is(name, QLatin1StringView("ReadOnly")))
                    throw AutomationError(QStringLiteral("Open has no argument %1.").arg(name));
            }
            auto book = std::make_shared<Workbook>(readCsvWorkbook(args.first().toString()));
            state_->addBook(book);
            return objectValue(std::make_shared<WorkbookObject>(state_, book));
        }
        if (is(member, QLatin1StringView("Close"))) {
            expectArgs(member, args, 0);
            state_->books.clear();
            state_->active.reset();
            return true;
        }
        if (is(member, QLatin1StringView("Item"))) {
            expectArgs(member, args, 1);
            return item(args.first());
        }
        unknown(member);
    }
};

class ApplicationObject : public ModelObject,
                          public std::enable_shared_from_this<ApplicationObject> {
public:
    using ModelObject::ModelObject;

protected:
    QVariant read(const QString& member, const QVariantList& args) override {
        if (is(member, QLatin1StringView("Workbooks"))) {
            auto books = std::make_shared<WorkbooksObject>(state_);
            if (args.isEmpty())
                return objectValue(books);
            expectArgs(member, args, 1);
            return books->item(args.first());
        }
        expectArgs(member, args, 0);
        if (is(member, QLatin1StringView("Application")))
            return objectValue(shared_from_this());
        if (is(member, QLatin1StringView("ActiveWorkbook")))
            return objectValue(std::make_shared<WorkbookObject>(state_, state_->activeBook()));
        if (is(member, QLatin1StringView("ActiveSheet")))
            return objectValue(std::make_shared<WorksheetObject>(state_, state_->activeBook()));
        if (is(member, QLatin1StringView("Visible")))
            return state_->visible;
        if (is(member, QLatin1StringView("WindowState")))
            return state_->windowState;
        if (is(member, QLatin1StringView("DisplayAlerts")))
            return state_->displayAlerts;
        unknown(member);
    }

    void write(const QString& member, const QVariant& value) override {
        if (is(member, QLatin1StringView("Visible"))) {
            if (value.toBool())
                show();
            state_->visible = value.toBool();
            return;
        }
        if (is(member, QLatin1StringView("WindowState"))) {
            state_->windowState = toInt(member, value);
            return;
        }
        if (is(member, QLatin1StringView("DisplayAlerts"))) {
            state_->displayAlerts = value.toBool();
            return;
        }
        unknown(member);
    }

    QVariant invoke(const QString& member, const QVariantList& args, const NamedArgs&) override {
        if (!is(member, QLatin1StringView("Quit")))
            unknown(member);
        expectArgs(member, args, 0);
        state_->books.clear();
        state_->active.reset();
        state_->quit = true;
        state_->classes->revokeActiveObject(kSpreadsheetClass, this);
        return true;
    }

private:
    // The active workbook as an .xlsx file beside the file it came from,
    // handed to the desktop.
    void show() {
        const std::shared_ptr<Workbook> book = state_->activeBook();
        if (book->path.isEmpty())
            throw AutomationError(QStringLiteral("The workbook %1 has no file.").arg(book->name));
        const QFileInfo source(book->path);
        const QString xlsx =
            source.absoluteDir().filePath(source.completeBaseName() + QStringLiteral(".xlsx"));
        // Writing a large sheet takes seconds, after the progress window closed.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        writeXlsx(*book, xlsx);
        if (state_->open && !state_->open(xlsx))
            throw AutomationError(
                QStringLiteral("No program opens %1.").arg(QDir::toNativeSeparators(xlsx)));
    }
};

} // namespace

ObjectRef startSpreadsheetApplication(AutomationClasses& classes, XlsxOpener open) {
    auto state = std::make_shared<ApplicationState>();
    state->classes = &classes;
    state->open = std::move(open);
    auto application = std::make_shared<ApplicationObject>(state);
    classes.registerActiveObject(kSpreadsheetClass, application);
    return application;
}

void registerSpreadsheetApplication(AutomationClasses& classes, XlsxOpener open) {
    classes.registerClass(kSpreadsheetClass, [open](AutomationClasses& owner) {
        return startSpreadsheetApplication(owner, open);
    });
}

bool openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

AutomationClasses& AutomationClasses::process() {
    static AutomationClasses classes = [] {
        AutomationClasses made;
        registerSpreadsheetApplication(made, openWithDesktop);
        return made;
    }();
    return classes;
}

} // namespace marubo::sheet
