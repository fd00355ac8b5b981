#pragma once

#include <QString>
#include <QStringList>

namespace marubo {

// Starts `program` as a process of its own with `arguments`, without a shell and
// without waiting for it. On POSIX the file first gets its execute bit (a
// downloaded file has none). True when the process started.
bool startUpdater(const QString& program, const QStringList& arguments);

} // namespace marubo
