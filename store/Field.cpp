#include "Field.h"

#include "DataSet.h"
#include "DisplayFormat.h"

namespace marubo::store {

bool Field::isNull() const {
    const QVariant& value = dataSet_.fieldValue(index_);
    return !value.isValid() || value.isNull();
}

QVariant Field::value() const {
    return dataSet_.fieldValue(index_);
}

QString Field::asString() const {
    return valueAsString(def_, dataSet_.fieldValue(index_));
}

qint64 Field::asInteger() const {
    return valueAsInteger(def_, dataSet_.fieldValue(index_), dataSet_.messageName());
}

double Field::asFloat() const {
    return valueAsFloat(def_, dataSet_.fieldValue(index_), dataSet_.messageName());
}

QDate Field::asDate() const {
    return valueAsDate(def_, dataSet_.fieldValue(index_), dataSet_.messageName());
}

bool Field::asBoolean() const {
    return valueAsBoolean(def_, dataSet_.fieldValue(index_), dataSet_.messageName());
}

QString Field::displayText() const {
    if (isNull())
        return {};
    const QString format = dataSet_.displayFormat(index_);
    if (!format.isEmpty()) {
        if (def_.isNumeric())
            return formatNumber(asFloat(), format);
        if (def_.type == FieldType::Date)
            return formatDate(asDate(), format);
    }
    return asString();
}

void Field::setValue(const QVariant& value) {
    dataSet_.setFieldValue(index_, value);
}

} // namespace marubo::store
