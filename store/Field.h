#pragma once

#include "FieldDef.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace marubo::store {

class DataSet;

// A field of the current row of a data set. Reads follow the NULL rules (NULL
// reads as empty text, 0, an invalid date, false); assigning empty text stores
// NULL, in text and number fields alike. Assignments need the edit or insert state.
// A field lives while its data set is open: closing the data set ends it.
class Field {
public:
    Field(DataSet& dataSet, FieldDef def, qsizetype index)
        : dataSet_(dataSet), def_(std::move(def)), index_(index) {}

    const QString& fieldName() const { return def_.name; }
    const FieldDef& def() const { return def_; }
    FieldType dataType() const { return def_.type; }
    int size() const { return def_.size; }
    qsizetype index() const { return index_; } // 0-based position in the data set
    DataSet& dataSet() const { return dataSet_; }

    bool isNull() const;
    QVariant value() const;
    QString asString() const;
    // The text a view shows: the display format applied to a numeric or date
    // field that has one, else the same as asString.
    QString displayText() const;
    qint64 asInteger() const; // a fraction is rounded, a half to the even neighbour
    double asFloat() const;
    QDate asDate() const;
    bool asBoolean() const;

    void setValue(const QVariant& value);
    void setAsString(const QString& text) { setValue(QVariant(text)); }
    void setAsInteger(qint64 number) { setValue(QVariant(number)); }
    void setAsFloat(double number) { setValue(QVariant(number)); }
    void setAsDate(const QDate& date) { setValue(QVariant(date)); }
    void setAsBoolean(bool flag) { setValue(QVariant(flag)); }
    void clear() { setValue(QVariant()); }

private:
    DataSet& dataSet_;
    FieldDef def_;
    qsizetype index_;
};

} // namespace marubo::store
