#include "Field.h"

#include "DataSet.h"

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

void Field::setValue(const QVariant& value) {
    dataSet_.setFieldValue(index_, value);
}

} // namespace marubo::store
