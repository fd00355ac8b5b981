#include "FieldDef.h"

#include "EngineError.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace marubo::store {

namespace {

int sizeInParentheses(const QString& declared) {
    static const QRegularExpression re(QStringLiteral("\\(\\s*(\\d+)"));
    const auto match = re.match(declared);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QString typeLabel(const FieldDef& field) {
    return field.declaredType.isEmpty() ? QStringLiteral("?") : field.declaredType;
}

[[noreturn]] void conversionError(const FieldDef& field, const QString& table,
                                  const QString& what) {
    throw EngineError(EngineError::Kind::Conversion,
                      QStringLiteral("テーブル「%1」の項目「%2」（%3）：%4")
                          .arg(table, field.name, typeLabel(field), what));
}

void checkIntegerRange(const FieldDef& field, qint64 value, const QString& table) {
    qint64 low = std::numeric_limits<qint32>::min();
    qint64 high = std::numeric_limits<qint32>::max();
    if (field.type == FieldType::SmallInt) {
        low = std::numeric_limits<qint16>::min();
        high = std::numeric_limits<qint16>::max();
    }
    if (value < low || value > high)
        conversionError(
            field, table,
            QStringLiteral("値 %1 は範囲（%2～%3）を超えています。").arg(value).arg(low).arg(high));
}

bool isIntegerVariant(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool isFloatVariant(const QVariant& v) {
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

bool parseInteger(const QString& text, qint64& out) {
    bool ok = false;
    out = text.trimmed().toLongLong(&ok);
    return ok;
}

bool parseFloat(const QString& text, double& out) {
    bool ok = false;
    out = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(out);
}

qint64 floatToInteger(const FieldDef& field, double value, const QString& table) {
    const double rounded = roundHalfEven(value);
    if (!std::isfinite(rounded) || rounded < -9.2e18 || rounded > 9.2e18)
        conversionError(field, table,
                        QStringLiteral("値 %1 は整数にできません。").arg(floatText(value)));
    return qint64(rounded);
}

bool parseBoolean(const QString& text, bool& out) {
    const QString t = text.trimmed().toLower();
    if (t == u"true" || t == u"t" || t == u"yes" || t == u"y" || t == u"1") {
        out = true;
        return true;
    }
    if (t == u"false" || t == u"f" || t == u"no" || t == u"n" || t == u"0") {
        out = false;
        return true;
    }
    return false;
}

} // namespace

FieldDef fieldDefFromDeclaration(const QString& name, const QString& declaredType) {
    FieldDef field;
    field.name = name;
    field.declaredType = declaredType;
    const QString upper = declaredType.trimmed().toUpper();
    const QString base = upper.section(QLatin1Char('('), 0, 0).trimmed();
    if (base == u"VARCHAR") {
        field.type = FieldType::String;
        field.size = sizeInParentheses(upper);
    } else if (base == u"CHAR" || base == u"CHARACTER") {
        field.type = FieldType::FixedChar;
        field.size = sizeInParentheses(upper);
    } else if (base == u"SMALLINT") {
        field.type = FieldType::SmallInt;
    } else if (base == u"AUTOINC") {
        field.type = FieldType::AutoInc;
    } else if (base == u"INTEGER" || base == u"INT" || base == u"WORD" || base == u"BYTE") {
        field.type = FieldType::Integer;
    } else if (base == u"MONEY") {
        field.type = FieldType::Money;
    } else if (base == u"FLOAT" || base == u"DOUBLE" || base == u"REAL" || base == u"NUMERIC" ||
               base == u"DECIMAL" || base == u"BCD") {
        field.type = FieldType::Float;
    } else if (base == u"DATE") {
        field.type = FieldType::Date;
    } else if (base == u"BOOLEAN" || base == u"BOOL") {
        field.type = FieldType::Boolean;
    } else if (upper.contains(u"INT")) { // SQLite's affinity rules for the rest
        field.type = FieldType::Integer;
    } else if (upper.contains(u"CHAR") || upper.contains(u"CLOB") || upper.contains(u"TEXT") ||
               upper.contains(u"MEMO")) {
        field.type = FieldType::String;
    } else if (upper.contains(u"REAL") || upper.contains(u"FLOA") || upper.contains(u"DOUB")) {
        field.type = FieldType::Float;
    } else if (upper.contains(u"BLOB") || upper.contains(u"GRAPHIC") || upper.contains(u"BYTES")) {
        field.type = FieldType::Blob;
    } else {
        field.type = FieldType::String; // untyped columns: read as text
    }
    return field;
}

qsizetype indexOfField(const QList<FieldDef>& fields, const QString& name) {
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

double roundHalfEven(double value) {
    const double floorValue = std::floor(value);
    const double diff = value - floorValue;
    if (diff < 0.5)
        return floorValue;
    if (diff > 0.5)
        return floorValue + 1.0;
    return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

QDate parseDateText(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})\\s*$"));
    static const QRegularExpression compact(QStringLiteral("^\\s*(\\d{4})(\\d{2})(\\d{2})\\s*$"));
    auto match = re.match(text);
    if (!match.hasMatch())
        match = compact.match(text);
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

QDate parseIsoDate(QStringView text) {
    // YYYY-MM-DD, the form dates are stored in; checked by hand because it is
    // read for every date of every row.
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = 0; i < lengths[p]; ++i) {
            const QChar c = text[starts[p] + i];
            if (c < u'0' || c > u'9')
                return {};
            parts[p] = parts[p] * 10 + (c.unicode() - u'0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]);
}

QString floatText(double value) {
    if (value == 0.0)
        return QStringLiteral("0");
    return QString::number(value, 'g', 15);
}

// A value that already has the field's own type passes unchanged.
bool alreadyFits(const FieldDef& field, const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString: {
        if (!field.isText())
            return false;
        const qsizetype length = static_cast<const QString*>(value.constData())->size();
        return length > 0 &&
               (field.size <= 0 || length <= field.size); // empty text is stored as NULL
    }
    case QMetaType::Double:
        return field.isFloat() && std::isfinite(*static_cast<const double*>(value.constData()));
    case QMetaType::QDate:
        return field.type == FieldType::Date;
    case QMetaType::Bool:
        return field.type == FieldType::Boolean;
    default:
        return false;
    }
}

QVariant coerceValue(const FieldDef& field, const QVariant& value, const QString& table) {
    if (!value.isValid() || value.isNull())
        return {};
    if (alreadyFits(field, value))
        return value;
    if (field.isText()) {
        QString text = value.typeId() == QMetaType::QDate ? value.toDate().toString(Qt::ISODate)
                       : isFloatVariant(value)            ? floatText(value.toDouble())
                                                          : value.toString();
        if (text.isEmpty())
            return {};
        if (field.size > 0 && text.size() > field.size)
            text.truncate(field.size);
        return text;
    }
    if (field.isInteger()) {
        qint64 number = 0;
        if (isIntegerVariant(value)) {
            number = value.toLongLong();
        } else if (isFloatVariant(value)) {
            number = floatToInteger(field, value.toDouble(), table);
        } else if (value.typeId() == QMetaType::Bool) {
            number = value.toBool() ? 1 : 0;
        } else if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return {};
            if (!parseInteger(text, number))
                conversionError(field, table,
                                QStringLiteral("「%1」は整数ではありません。").arg(text));
        } else {
            conversionError(
                field, table,
                QStringLiteral("この値は整数の項目に入れられません（%1）。").arg(value.toString()));
        }
        checkIntegerRange(field, number, table);
        return QVariant(number);
    }
    if (field.isFloat()) {
        double number = 0;
        if (isIntegerVariant(value) || isFloatVariant(value)) {
            number = value.toDouble();
        } else if (value.typeId() == QMetaType::Bool) {
            number = value.toBool() ? 1 : 0;
        } else if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return {};
            if (!parseFloat(text, number))
                conversionError(field, table,
                                QStringLiteral("「%1」は数値ではありません。").arg(text));
        } else {
            conversionError(
                field, table,
                QStringLiteral("この値は数値の項目に入れられません（%1）。").arg(value.toString()));
        }
        if (!std::isfinite(number))
            conversionError(field, table, QStringLiteral("数値ではない値は入れられません。"));
        return QVariant(number);
    }
    if (field.type == FieldType::Date) {
        if (value.typeId() == QMetaType::QDate) {
            const QDate date = value.toDate();
            return date.isValid() ? QVariant(date) : QVariant();
        }
        if (value.typeId() == QMetaType::QDateTime)
            return QVariant(value.toDateTime().date());
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return {};
            const QDate date = parseDateText(text);
            if (!date.isValid())
                conversionError(field, table,
                                QStringLiteral("「%1」は日付ではありません。").arg(text));
            return QVariant(date);
        }
        conversionError(
            field, table,
            QStringLiteral("この値は日付の項目に入れられません（%1）。").arg(value.toString()));
    }
    if (field.type == FieldType::Boolean) {
        if (value.typeId() == QMetaType::Bool)
            return value;
        if (isIntegerVariant(value) || isFloatVariant(value))
            return QVariant(value.toDouble() != 0.0);
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return {};
        bool flag = false;
        if (!parseBoolean(text, flag))
            conversionError(field, table,
                            QStringLiteral("「%1」は真偽値ではありません。").arg(text));
        return QVariant(flag);
    }
    // Blob
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().isEmpty() ? QVariant() : value;
    const QByteArray bytes = value.toString().toUtf8();
    return bytes.isEmpty() ? QVariant() : QVariant(bytes);
}

QVariant valueFromStorage(FieldType type, const QVariant& raw) {
    if (!raw.isValid() || raw.isNull())
        return {};
    switch (type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc:
        if (isFloatVariant(raw) && raw.toDouble() == std::floor(raw.toDouble()))
            return QVariant(qint64(raw.toDouble()));
        return raw;
    case FieldType::Money:
    case FieldType::Float:
        if (isIntegerVariant(raw))
            return QVariant(double(raw.toLongLong()));
        return raw;
    case FieldType::Date:
        if (raw.typeId() == QMetaType::QString) {
            const QDate date = parseIsoDate(*static_cast<const QString*>(raw.constData()));
            if (date.isValid())
                return QVariant(date);
        }
        return raw;
    case FieldType::Boolean:
        if (isIntegerVariant(raw))
            return QVariant(raw.toLongLong() != 0);
        return raw;
    default:
        return raw;
    }
}

QString valueAsString(const FieldDef&, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return floatText(value.toDouble());
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy/MM/dd"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

qint64 valueAsInteger(const FieldDef& field, const QVariant& value, const QString& table) {
    if (!value.isValid() || value.isNull())
        return 0;
    if (isIntegerVariant(value))
        return value.toLongLong();
    if (isFloatVariant(value))
        return floatToInteger(field, value.toDouble(), table);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return 0;
        qint64 number = 0;
        if (parseInteger(text, number))
            return number;
        conversionError(field, table, QStringLiteral("「%1」は整数ではありません。").arg(text));
    }
    conversionError(field, table, QStringLiteral("この値は整数として読めません。"));
}

double valueAsFloat(const FieldDef& field, const QVariant& value, const QString& table) {
    if (!value.isValid() || value.isNull())
        return 0.0;
    if (isIntegerVariant(value) || isFloatVariant(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1.0 : 0.0;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return 0.0;
        double number = 0;
        if (parseFloat(text, number))
            return number;
        conversionError(field, table, QStringLiteral("「%1」は数値ではありません。").arg(text));
    }
    conversionError(field, table, QStringLiteral("この値は数値として読めません。"));
}

QDate valueAsDate(const FieldDef& field, const QVariant& value, const QString& table) {
    if (!value.isValid() || value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    if (value.typeId() == QMetaType::QString) {
        const QDate date = parseDateText(value.toString());
        if (date.isValid() || value.toString().trimmed().isEmpty())
            return date;
    }
    conversionError(field, table,
                    QStringLiteral("「%1」は日付として読めません。").arg(value.toString()));
}

bool valueAsBoolean(const FieldDef& field, const QVariant& value, const QString& table) {
    if (!value.isValid() || value.isNull())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isIntegerVariant(value) || isFloatVariant(value))
        return value.toDouble() != 0.0;
    bool flag = false;
    if (parseBoolean(value.toString(), flag))
        return flag;
    conversionError(field, table,
                    QStringLiteral("「%1」は真偽値として読めません。").arg(value.toString()));
}

} // namespace marubo::store
