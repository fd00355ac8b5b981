#pragma once

#include <QString>
#include <vector>

namespace marubo::store {

struct SqlToken {
    enum class Kind { End, Identifier, QuotedIdentifier, String, Number, Symbol };
    Kind kind = Kind::End;
    QString text;      // identifier or symbol as written; string and quoted name without quotes
    qsizetype pos = 0; // 0-based position in the source

    bool isWord(QStringView word) const {
        return kind == Kind::Identifier && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(QStringView symbol) const { return kind == Kind::Symbol && text == symbol; }
    bool isName() const { return kind == Kind::Identifier || kind == Kind::QuotedIdentifier; }
};

// Splits engine SQL or filter text into tokens, skipping blanks and comments
// (/* ... */ and -- to the end of the line). The list ends with an End token.
// Throws EngineError(Syntax) on an unterminated quote or comment, or a character
// that belongs to no token; `what` names the text in the message.
std::vector<SqlToken> tokenizeSql(const QString& text, const QString& what);

// The text with comments replaced by blanks; quotes are respected.
QString stripSqlComments(const QString& text, const QString& what);

// `name` as a double-quoted SQL identifier.
QString quoteIdentifier(const QString& name);

} // namespace marubo::store
