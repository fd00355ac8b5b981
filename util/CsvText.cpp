#include "CsvText.h"

#include "LibAdd.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace marubo {

namespace {

const QString kBlankMarker = QStringLiteral("!#$%&()=~|");

bool isBlankOrControl(QChar c) {
    return c.unicode() >= 1 && c.unicode() <= 32;
}

// UTF-16 without a byte-order mark, told by its zero bytes: the high bytes of
// the ASCII characters (commas, quotes, digits, line breaks) are zero, so in
// little-endian text many odd offsets hold zeros and hardly any even ones,
// and the other way round in big-endian text. The pattern must be clear in
// the first bytes; none when it is not, or when the length is odd.
std::optional<QStringDecoder::Encoding> unmarkedUtf16(const QByteArray& bytes) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    const qsizetype sample = qMin(bytes.size(), qsizetype(512));
    qsizetype evenZeros = 0, oddZeros = 0;
    for (qsizetype i = 0; i < sample; ++i) {
        if (bytes[i] == '\0')
            ++(i % 2 ? oddZeros : evenZeros);
    }
    const qsizetype quarterOfPairs = sample / 2 / 4;
    if (oddZeros >= quarterOfPairs && oddZeros > 3 * evenZeros)
        return QStringDecoder::Utf16LE;
    if (evenZeros >= quarterOfPairs && evenZeros > 3 * oddZeros)
        return QStringDecoder::Utf16BE;
    return std::nullopt;
}

} // namespace

QString trimControl(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString quoteCsvValue(const QString& value) {
    QString doubled = value;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString csvLine(const QList<CsvColumnValue>& columns, const QString& separator) {
    QString line;
    for (const CsvColumnValue& column : columns) {
        if (column.position > 0)
            line += separator;
        if (column.value)
            line += quoteCsvValue(*column.value);
    }
    return line;
}

QStringList splitCsvLine(const QString& original) {
    QString line = original;
    if (FindPos(QStringLiteral("\t"), line) > 0)
        line = ReplaceAll(line, QStringLiteral("\t"), QStringLiteral(","));
    line = ReplaceAll(line, QStringLiteral(" "), kBlankMarker);
    // A NUL ends the line, as it ends a C string.
    const qsizetype nul = line.indexOf(QChar(0));
    if (nul >= 0)
        line.truncate(nul);

    QStringList values;
    const qsizetype n = line.size();
    qsizetype p = 0;
    while (p < n && isBlankOrControl(line[p]))
        ++p;
    while (p < n) {
        QString value;
        if (line[p] == u'"') {
            ++p;
            while (p < n) {
                if (line[p] == u'"') {
                    if (p + 1 < n && line[p + 1] == u'"') {
                        value += u'"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                value += line[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < n && line[p].unicode() > 32 && line[p] != u',')
                ++p;
            value = line.mid(start, p - start);
        }
        values << value;
        while (p < n && isBlankOrControl(line[p]))
            ++p;
        if (p < n && line[p] == u',') {
            if (p + 1 == n)
                values << QString(); // a comma at the very end adds an empty value
            ++p;
            while (p < n && isBlankOrControl(line[p]))
                ++p;
        }
    }
    for (QString& value : values)
        value = ReplaceAll(value, kBlankMarker, QStringLiteral(" "));
    return values;
}

QByteArray encodeCsvFile(const QStringList& lines) {
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    QByteArray bytes = encoder.encode(text);
    if (lines.isEmpty())
        bytes = QByteArray("\xFF\xFE", 2); // the mark alone
    return bytes;
}

std::optional<QString> decodeCsvFile(const QByteArray& bytes) {
    auto decode = [&bytes](QStringDecoder decoder, qsizetype skip) -> std::optional<QString> {
        if (!decoder.isValid())
            return std::nullopt;
        QString text = decoder.decode(QByteArrayView(bytes).sliced(skip));
        if (decoder.hasError())
            return std::nullopt;
        return text;
    };
    const QStringDecoder::Flags strict = QStringDecoder::Flag::Stateless;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decode(QStringDecoder(QStringDecoder::Utf8, strict), 3);
    if (bytes.startsWith("\xFF\xFE"))
        return decode(QStringDecoder(QStringDecoder::Utf16LE, strict), 2);
    if (bytes.startsWith("\xFE\xFF"))
        return decode(QStringDecoder(QStringDecoder::Utf16BE, strict), 2);
    // A zero byte is no character of UTF-8 or Windows-31J text.
    if (bytes.contains('\0')) {
        const std::optional<QStringDecoder::Encoding> utf16 = unmarkedUtf16(bytes);
        if (!utf16)
            return std::nullopt;
        std::optional<QString> text = decode(QStringDecoder(*utf16, strict), 0);
        if (text && text->contains(QChar(0)))
            return std::nullopt; // zero bytes where UTF-16 text has none
        return text;
    }
    if (auto utf8 = decode(QStringDecoder(QStringDecoder::Utf8, strict), 0))
        return utf8;
    // Files from Japanese Windows programs: Windows-31J (CP932).
    return decode(QStringDecoder("windows-31j", strict), 0);
}

QStringList splitTextLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

} // namespace marubo
