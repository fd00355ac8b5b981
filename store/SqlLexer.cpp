#include "SqlLexer.h"

#include "EngineError.h"

#include <QStringList>

namespace marubo::store {

namespace {

[[noreturn]] void syntaxError(const QString& what, const QString& text, qsizetype pos,
                              const QString& problem) {
    throw EngineError(EngineError::Kind::Syntax,
                      QStringLiteral("%1の書き方が正しくありません（%2文字目：%3）。\n%4")
                          .arg(what)
                          .arg(pos + 1)
                          .arg(problem, text.simplified()));
}

bool isNameStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool isNamePart(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}
bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Index just past a quoted run that starts at `i` with `quote`; a doubled quote
// stands for itself. Fills `out` with the unquoted text.
qsizetype skipQuoted(const QString& s, qsizetype i, QChar quote, QChar close, QString& out,
                     const QString& what) {
    const qsizetype start = i;
    ++i;
    while (i < s.size()) {
        if (s[i] == close) {
            if (close == quote && i + 1 < s.size() && s[i + 1] == close) {
                out += close;
                i += 2;
                continue;
            }
            return i + 1;
        }
        out += s[i++];
    }
    syntaxError(what, s, start, QStringLiteral("引用符が閉じていません"));
}

qsizetype skipComment(const QString& s, qsizetype i, const QString& what) {
    if (s[i] == u'-') {
        while (i < s.size() && s[i] != u'\n')
            ++i;
        return i;
    }
    const qsizetype end = s.indexOf(QStringLiteral("*/"), i + 2);
    if (end < 0)
        syntaxError(what, s, i, QStringLiteral("コメントが閉じていません"));
    return end + 2;
}

bool commentStartsAt(const QString& s, qsizetype i) {
    return i + 1 < s.size() &&
           ((s[i] == u'/' && s[i + 1] == u'*') || (s[i] == u'-' && s[i + 1] == u'-'));
}

} // namespace

std::vector<SqlToken> tokenizeSql(const QString& s, const QString& what) {
    std::vector<SqlToken> tokens;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c.isSpace() || c.unicode() < 32) {
            ++i;
            continue;
        }
        if (commentStartsAt(s, i)) {
            i = skipComment(s, i, what);
            continue;
        }
        SqlToken token;
        token.pos = i;
        if (c == u'\'') {
            token.kind = SqlToken::Kind::String;
            i = skipQuoted(s, i, c, c, token.text, what);
        } else if (c == u'"') {
            token.kind = SqlToken::Kind::QuotedIdentifier;
            i = skipQuoted(s, i, c, c, token.text, what);
        } else if (c == u'[') {
            token.kind = SqlToken::Kind::QuotedIdentifier;
            i = skipQuoted(s, i, c, u']', token.text, what);
        } else if (isAsciiDigit(c) || (c == u'.' && i + 1 < s.size() && isAsciiDigit(s[i + 1]))) {
            token.kind = SqlToken::Kind::Number;
            const qsizetype start = i;
            while (i < s.size() && isAsciiDigit(s[i]))
                ++i;
            if (i < s.size() && s[i] == u'.') {
                ++i;
                while (i < s.size() && isAsciiDigit(s[i]))
                    ++i;
            }
            if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
                qsizetype j = i + 1;
                if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
                    ++j;
                if (j < s.size() && isAsciiDigit(s[j])) {
                    i = j;
                    while (i < s.size() && isAsciiDigit(s[i]))
                        ++i;
                }
            }
            token.text = s.mid(start, i - start);
        } else if (isNameStart(c)) {
            token.kind = SqlToken::Kind::Identifier;
            const qsizetype start = i;
            while (i < s.size() && isNamePart(s[i]))
                ++i;
            token.text = s.mid(start, i - start);
        } else {
            token.kind = SqlToken::Kind::Symbol;
            static const QStringList pairs = {QStringLiteral("<>"), QStringLiteral("<="),
                                              QStringLiteral(">="), QStringLiteral("!="),
                                              QStringLiteral("==")};
            const QString two = s.mid(i, 2);
            if (pairs.contains(two)) {
                token.text = two;
                i += 2;
            } else if (QStringLiteral("(),;=<>+-*/.%|").contains(c)) {
                token.text = c;
                ++i;
            } else {
                syntaxError(what, s, i, QStringLiteral("使えない文字「%1」").arg(c));
            }
        }
        tokens.push_back(std::move(token));
    }
    SqlToken end;
    end.pos = s.size();
    tokens.push_back(end);
    return tokens;
}

QString stripSqlComments(const QString& s, const QString& what) {
    QString out;
    out.reserve(s.size());
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"' || c == u'[') {
            QString ignored;
            const qsizetype end = skipQuoted(s, i, c, c == u'[' ? u']' : c, ignored, what);
            out += s.mid(i, end - i);
            i = end;
        } else if (commentStartsAt(s, i)) {
            i = skipComment(s, i, what);
            out += u' ';
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace marubo::store
