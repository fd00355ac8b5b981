#pragma once

#include <QString>

namespace marubo {

// Position (1-based, in UTF-16 code units) of the first occurrence of `search`
// in `text`; 0 when it does not occur or either text is empty. Exact comparison.
qsizetype FindPos(const QString& search, const QString& text);

// `text` with every occurrence of `search` replaced by `replacement`, searching
// again after each replacement, so occurrences formed by a replacement together
// with its neighbours are replaced too. An empty search text or text is returned
// unchanged. A replacement that contains the search text is replaced in one
// left-to-right pass instead (it would never end otherwise).
QString ReplaceAll(const QString& text, const QString& search, const QString& replacement);

} // namespace marubo
