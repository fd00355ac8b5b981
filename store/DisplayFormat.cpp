#include "DisplayFormat.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace marubo::store {

namespace {

// The format split at ";" outside quotes.
QStringList sections(const QString& format) {
    QStringList parts;
    QString current;
    QChar quote;
    for (const QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            current += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            current += c;
        } else if (c == u';') {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

QString groupThousands(const QString& digits) {
    QString grouped;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            grouped += u',';
        grouped += digits[i];
    }
    return grouped;
}

QString formatSection(double value, const QString& section) {
    // Find the placeholders and the text around them.
    qsizetype first = -1, last = -1, point = -1;
    bool thousands = false;
    int integerZeros = 0, decimalZeros = 0, decimalPlaces = 0;
    QChar quote;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            continue;
        }
        if (c == u'0' || c == u'#' || ((c == u'.' || c == u',') && first >= 0)) {
            if (first < 0)
                first = i;
            last = i;
            if (c == u'.') {
                if (point < 0)
                    point = i;
            } else if (c == u',') {
                if (point < 0)
                    thousands = true;
            } else if (point < 0) {
                if (c == u'0')
                    ++integerZeros;
            } else {
                ++decimalPlaces;
                if (c == u'0')
                    decimalZeros = decimalPlaces;
            }
        }
    }
    auto literal = [](const QString& text) {
        QString out;
        QChar quoteChar;
        for (const QChar c : text) {
            if (!quoteChar.isNull()) {
                if (c == quoteChar)
                    quoteChar = QChar();
                else
                    out += c;
            } else if (c == u'"' || c == u'\'') {
                quoteChar = c;
            } else {
                out += c;
            }
        }
        return out;
    };
    if (first < 0)
        return literal(section); // no digits at all

    // Round half away from zero at the last decimal place shown.
    const double scale = std::pow(10.0, decimalPlaces);
    const double rounded = std::round(std::fabs(value) * scale) / scale;
    QString text = QString::number(rounded, 'f', decimalPlaces);
    QString integerPart = text.section(u'.', 0, 0);
    QString decimals = decimalPlaces > 0 ? text.section(u'.', 1, 1) : QString();
    while (decimals.size() > decimalZeros && decimals.endsWith(u'0'))
        decimals.chop(1);
    if (integerPart == u"0" && integerZeros == 0)
        integerPart.clear();
    while (integerPart.size() < integerZeros)
        integerPart.prepend(u'0');
    if (thousands)
        integerPart = groupThousands(integerPart);
    QString number = integerPart;
    if (!decimals.isEmpty())
        number += u'.' + decimals;
    if (number.isEmpty())
        number = QStringLiteral("0");
    return literal(section.left(first)) + number + literal(section.mid(last + 1));
}

} // namespace

QString formatNumber(double value, const QString& format) {
    if (format.isEmpty())
        return QString::number(value, 'g', 15);
    const QStringList parts = sections(format);
    if (value == 0.0 && parts.size() >= 3 && !parts[2].isEmpty())
        return formatSection(0.0, parts[2]);
    if (value < 0 && parts.size() >= 2 && !parts[1].isEmpty())
        return formatSection(value, parts[1]);
    const QString text = formatSection(value, parts[0]);
    const bool showsDigits = text.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return value < 0 && showsDigits ? QLatin1Char('-') + text : text;
}

QString formatDate(const QDate& date, const QString& format) {
    if (!date.isValid())
        return {};
    QString out;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = format.indexOf(c, i + 1);
            out += format.mid(i + 1, (end < 0 ? format.size() : end) - i - 1);
            i = end < 0 ? format.size() : end + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run].toLower() == c.toLower())
            ++run;
        const QChar kind = c.toLower();
        if (kind == u'y') {
            out += run >= 3 ? QString::number(date.year())
                            : QString::number(date.year() % 100).rightJustified(2, u'0');
        } else if (kind == u'm') {
            out += run >= 2 ? QString::number(date.month()).rightJustified(2, u'0')
                            : QString::number(date.month());
        } else if (kind == u'd') {
            out += run >= 2 ? QString::number(date.day()).rightJustified(2, u'0')
                            : QString::number(date.day());
        } else {
            out += format.mid(i, run);
        }
        i += run;
    }
    return out;
}

} // namespace marubo::store
