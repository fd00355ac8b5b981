#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

namespace marubo::test {

// The files of a zip archive (stored or deflated entries), by their names in
// the archive; none when the archive cannot be read. Enough to look into the
// .xlsx files the spreadsheet copy writes.
std::optional<QMap<QString, QByteArray>> readZip(const QByteArray& archive);

// A raw DEFLATE stream decompressed; none when the stream is broken.
std::optional<QByteArray> inflateRaw(const QByteArray& data);

} // namespace marubo::test
