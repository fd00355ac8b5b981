#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

namespace marubo::store {

// The engine's column types, as the table layouts write them.
enum class FieldType {
    String,    // VARCHAR(n)
    FixedChar, // CHAR(n), CHARACTER(n)
    SmallInt,  // 16-bit
    Integer,   // 32-bit
    AutoInc,   // 32-bit, assigned on insert when left empty
    Money,     // amount, held as a floating value
    Float,     // 64-bit floating value
    Date,      // calendar date, stored as ISO text YYYY-MM-DD
    Boolean,   // stored as 0/1
    Blob,      // anything else that holds bytes
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0;         // characters of a text field; 0 when unlimited
    QString declaredType; // the type as declared, e.g. "VARCHAR(40)"

    bool isText() const { return type == FieldType::String || type == FieldType::FixedChar; }
    bool isInteger() const {
        return type == FieldType::SmallInt || type == FieldType::Integer ||
               type == FieldType::AutoInc;
    }
    bool isFloat() const { return type == FieldType::Money || type == FieldType::Float; }
    bool isNumeric() const { return isInteger() || isFloat(); }
};

// The field definition for a column declared as `declaredType` ("VARCHAR(40)",
// "MONEY", ...). Types the engine does not name are mapped by SQLite's rules.
FieldDef fieldDefFromDeclaration(const QString& name, const QString& declaredType);

// Index of the field named `name` (letter case ignored), or -1.
qsizetype indexOfField(const QList<FieldDef>& fields, const QString& name);

// ---- values ------------------------------------------------------------------
// Values are held as QVariant: QString for text, qint64 for integers, double for
// amounts, QDate, bool, QByteArray; an invalid QVariant is NULL.

// The value a field holds after assigning `value` to it. Empty text becomes
// NULL; text is cut to the field's size; numbers are range-checked.
// Throws EngineError(Conversion) naming `table` and the field.
QVariant coerceValue(const FieldDef& field, const QVariant& value, const QString& table);

// The held value of a field from what SQLite returned for it.
QVariant valueFromStorage(FieldType type, const QVariant& raw);
inline QVariant valueFromStorage(const FieldDef& field, const QVariant& raw) {
    return valueFromStorage(field.type, raw);
}

// Readers with the NULL rules: NULL reads as empty text, 0, an invalid date, false.
// They throw EngineError(Conversion) when the value cannot be read that way.
QString valueAsString(const FieldDef& field, const QVariant& value);
qint64 valueAsInteger(const FieldDef& field, const QVariant& value, const QString& table);
double valueAsFloat(const FieldDef& field, const QVariant& value, const QString& table);
QDate valueAsDate(const FieldDef& field, const QVariant& value, const QString& table);
bool valueAsBoolean(const FieldDef& field, const QVariant& value, const QString& table);

// Rounds to the nearest whole number, a half to the even neighbour.
double roundHalfEven(double value);

// A date typed as YYYY-MM-DD, YYYY/MM/DD (month and day may have one digit) or
// YYYYMMDD; an invalid QDate when the text is none of these.
QDate parseDateText(const QString& text);

// A date stored as YYYY-MM-DD; an invalid QDate for any other text.
QDate parseIsoDate(QStringView text);

// The text of a floating value: up to 15 significant digits, no trailing zeros.
QString floatText(double value);

} // namespace marubo::store
