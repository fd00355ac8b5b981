#include "SqlScript.h"

#include "EngineError.h"
#include "SqlLexer.h"

namespace marubo::store {

namespace {

const QString kWhat = QStringLiteral("SQL文");

class StatementParser {
public:
    explicit StatementParser(const QString& text)
        : text_(text), tokens_(tokenizeSql(text, kWhat)) {}

    const SqlToken& current() const { return tokens_[index_]; }
    const SqlToken& peek(qsizetype ahead = 1) const {
        return tokens_[qMin<qsizetype>(index_ + ahead, qsizetype(tokens_.size()) - 1)];
    }
    void advance() {
        if (current().kind != SqlToken::Kind::End)
            ++index_;
    }
    bool acceptWord(QStringView word) {
        if (!current().isWord(word))
            return false;
        advance();
        return true;
    }
    void expectWord(QStringView word) {
        if (!acceptWord(word))
            fail(QStringLiteral("%1 がありません").arg(word.toString()));
    }
    void expectSymbol(QStringView symbol) {
        if (!current().isSymbol(symbol))
            fail(QStringLiteral("「%1」がありません").arg(symbol.toString()));
        advance();
    }
    QString expectName() {
        if (!current().isName())
            fail(QStringLiteral("名前がありません"));
        QString name = current().text;
        advance();
        return name;
    }
    bool atEnd() const { return current().kind == SqlToken::Kind::End || current().isSymbol(u";"); }
    // The token as it would be written again.
    QString written(const SqlToken& token) const {
        switch (token.kind) {
        case SqlToken::Kind::String:
            return QLatin1Char('\'') + QString(token.text).replace(u'\'', QStringLiteral("''")) +
                   QLatin1Char('\'');
        case SqlToken::Kind::QuotedIdentifier:
            return quoteIdentifier(token.text);
        default:
            return token.text;
        }
    }

    [[noreturn]] void fail(const QString& problem) const {
        throw EngineError(EngineError::Kind::Syntax,
                          QStringLiteral("SQL文の書き方が正しくありません（%1文字目：%2）。\n%3")
                              .arg(current().pos + 1)
                              .arg(problem, text_.simplified()));
    }

private:
    QString text_;
    std::vector<SqlToken> tokens_;
    qsizetype index_ = 0;
};

QStringList parseNameList(StatementParser& p, QStringList* modifiers = nullptr) {
    QStringList names;
    p.expectSymbol(u"(");
    while (true) {
        names << p.expectName();
        QString modifier;
        while (p.current().isWord(u"asc") || p.current().isWord(u"desc") ||
               p.current().isWord(u"nocase")) {
            if (p.current().isWord(u"desc"))
                modifier += QStringLiteral(" DESC");
            else if (p.current().isWord(u"nocase"))
                modifier.prepend(QStringLiteral(" COLLATE NOCASE"));
            p.advance();
        }
        if (modifiers)
            *modifiers << modifier.trimmed();
        if (p.current().isSymbol(u",")) {
            p.advance();
            continue;
        }
        p.expectSymbol(u")");
        return names;
    }
}

QString parseType(StatementParser& p) {
    if (p.current().kind != SqlToken::Kind::Identifier)
        p.fail(QStringLiteral("型がありません"));
    QString type = p.current().text;
    p.advance();
    if (p.current().isSymbol(u"(")) {
        p.advance();
        type += QLatin1Char('(');
        while (!p.current().isSymbol(u")")) {
            if (p.atEnd())
                p.fail(QStringLiteral("「)」がありません"));
            type += p.current().text;
            p.advance();
        }
        p.advance();
        type += QLatin1Char(')');
    }
    return type;
}

// Words up to the end of the current list item (a "," or ")" at depth 0).
QString collectOptions(StatementParser& p) {
    QStringList words;
    while (!p.atEnd() && !p.current().isSymbol(u",") && !p.current().isSymbol(u")")) {
        words << p.written(p.current());
        p.advance();
    }
    return words.join(QLatin1Char(' '));
}

bool isCreate(const QString& statement, QStringView what) {
    const auto tokens = tokenizeSql(statement, kWhat);
    qsizetype i = 0;
    if (!tokens[i].isWord(u"create"))
        return false;
    ++i;
    if (tokens[i].isWord(u"unique"))
        ++i;
    return tokens[i].isWord(what);
}

struct ParsedIndex {
    QString table;
    IndexDef index;
    QStringList modifiers;
    bool ifNotExists = false;
};

ParsedIndex parseIndexStatement(const QString& statement) {
    StatementParser p(statement);
    p.expectWord(u"create");
    ParsedIndex parsed;
    parsed.index.unique = p.acceptWord(u"unique");
    p.expectWord(u"index");
    if (p.acceptWord(u"if")) {
        p.expectWord(u"not");
        p.expectWord(u"exists");
        parsed.ifNotExists = true;
    }
    parsed.index.name = p.expectName();
    p.expectWord(u"on");
    parsed.table = p.expectName();
    parsed.index.fields = parseNameList(p, &parsed.modifiers);
    // Index options of the engine (COMPRESS ...) have no meaning for SQLite.
    while (!p.atEnd())
        p.advance();
    return parsed;
}

TranslatedStatement translateCreateIndex(const QString& statement) {
    const ParsedIndex parsed = parseIndexStatement(statement);
    return {createIndexSql(parsed.table, parsed.index, parsed.ifNotExists, parsed.modifiers), false,
            true};
}

} // namespace

QStringList splitSqlScript(const QString& script) {
    const QString text = stripSqlComments(script, kWhat);
    const auto tokens = tokenizeSql(text, kWhat);
    QStringList statements;
    qsizetype start = 0;
    for (const SqlToken& token : tokens) {
        if (token.isSymbol(u";") || token.kind == SqlToken::Kind::End) {
            const QString statement = text.mid(start, token.pos - start).trimmed();
            if (!statement.isEmpty())
                statements << statement;
            start = token.pos + 1;
        }
    }
    return statements;
}

TableLayout parseCreateTable(const QString& statement, bool* ifNotExists) {
    StatementParser p(statement);
    p.expectWord(u"create");
    p.expectWord(u"table");
    bool conditional = false;
    if (p.acceptWord(u"if")) {
        p.expectWord(u"not");
        p.expectWord(u"exists");
        conditional = true;
    }
    if (ifNotExists)
        *ifNotExists = conditional;
    TableLayout layout;
    layout.name = p.expectName();
    p.expectSymbol(u"(");
    QStringList options;
    while (true) {
        if (p.current().isWord(u"primary")) {
            p.advance();
            p.expectWord(u"key");
            QStringList key = parseNameList(p);
            // A key on the engine's record number is SQLite's own row id.
            if (!(key.size() == 1 && key.first().compare(u"RecordID", Qt::CaseInsensitive) == 0))
                layout.primaryKey = key;
            const QString rest = collectOptions(p);
            if (!rest.isEmpty())
                options << rest;
        } else {
            const QString name = p.expectName();
            const QString type = parseType(p);
            if (!p.current().isSymbol(u",") && !p.current().isSymbol(u")"))
                p.fail(QStringLiteral("項目「%1」の指定には対応していません").arg(name));
            if (layout.fieldIndex(name) >= 0)
                p.fail(QStringLiteral("項目「%1」が二つあります").arg(name));
            layout.fields << fieldDefFromDeclaration(name, type);
        }
        if (p.current().isSymbol(u",")) {
            p.advance();
            continue;
        }
        p.expectSymbol(u")");
        break;
    }
    // Options may also follow the closing parenthesis.
    QStringList trailing;
    while (!p.atEnd()) {
        trailing << p.written(p.current());
        p.advance();
    }
    if (!trailing.isEmpty())
        options << trailing.join(QLatin1Char(' '));
    layout.options = options.join(QLatin1Char(' ')).simplified();
    // The options are kept inside a comment of the stored statement.
    if (layout.options.contains(QStringLiteral("*/")))
        p.fail(QStringLiteral("テーブルのオプションに「*/」は使えません"));
    for (const QString& keyField : layout.primaryKey)
        if (layout.fieldIndex(keyField) < 0)
            p.fail(QStringLiteral("主キーの項目「%1」がありません").arg(keyField));
    if (layout.fields.isEmpty())
        p.fail(QStringLiteral("項目がありません"));
    return layout;
}

std::pair<QString, IndexDef> parseCreateIndex(const QString& statement) {
    const ParsedIndex parsed = parseIndexStatement(statement);
    return {parsed.table, parsed.index};
}

QList<TableLayout> layoutsOfScript(const QString& script) {
    QList<TableLayout> layouts;
    for (const QString& statement : splitSqlScript(script)) {
        if (isCreate(statement, u"table")) {
            layouts << parseCreateTable(statement);
        } else if (isCreate(statement, u"index")) {
            const auto [table, index] = parseCreateIndex(statement);
            for (TableLayout& layout : layouts)
                if (layout.name.compare(table, Qt::CaseInsensitive) == 0)
                    layout.indexes << index;
        }
    }
    return layouts;
}

TranslatedStatement translateStatement(const QString& statement) {
    const QString text = stripSqlComments(statement, kWhat).trimmed();
    if (isCreate(text, u"table")) {
        bool ifNotExists = false;
        const TableLayout layout = parseCreateTable(text, &ifNotExists);
        return {createTableSql(layout, ifNotExists), false, true};
    }
    if (isCreate(text, u"index"))
        return translateCreateIndex(text);
    const auto tokens = tokenizeSql(text, kWhat);
    const bool isQuery = tokens.front().isWord(u"select") || tokens.front().isWord(u"with");
    const bool changesSchema = tokens.front().isWord(u"create") || tokens.front().isWord(u"drop") ||
                               tokens.front().isWord(u"alter");
    return {text, isQuery, changesSchema};
}

} // namespace marubo::store
