#include "FilterExpression.h"

#include "EngineError.h"
#include "SqlLexer.h"

#include <cmath>
#include <vector>

namespace marubo::store {

struct FilterOperand {
    bool isField = false;
    QString name;     // field name
    QVariant literal; // literal value; invalid for NULL
};

struct FilterExpression::Node {
    enum class Kind { Or, And, Not, Compare, IsNull, IsNotNull };
    Kind kind = Kind::Compare;
    std::vector<std::shared_ptr<const Node>> children;
    QString op;
    FilterOperand left, right;
};

namespace {

using Node = FilterExpression::Node;
using NodePtr = std::shared_ptr<const Node>;

class Parser {
public:
    explicit Parser(const QString& text)
        : text_(text), tokens_(tokenizeSql(text, QStringLiteral("フィルタ"))) {}

    NodePtr parseAll() {
        NodePtr root = parseOr();
        if (current().kind != SqlToken::Kind::End)
            fail(QStringLiteral("余分な「%1」があります").arg(current().text));
        return root;
    }

private:
    const SqlToken& current() const { return tokens_[index_]; }
    const SqlToken& peek(qsizetype ahead) const {
        const qsizetype i = qMin<qsizetype>(index_ + ahead, qsizetype(tokens_.size()) - 1);
        return tokens_[i];
    }
    void advance() {
        if (current().kind != SqlToken::Kind::End)
            ++index_;
    }

    [[noreturn]] void fail(const QString& problem) const {
        throw EngineError(
            EngineError::Kind::Syntax,
            QStringLiteral("フィルタ「%1」の書き方が正しくありません（%2文字目：%3）。")
                .arg(text_)
                .arg(current().pos + 1)
                .arg(problem));
    }

    NodePtr parseOr() {
        NodePtr left = parseAnd();
        while (current().isWord(u"or")) {
            advance();
            left = combine(Node::Kind::Or, left, parseAnd());
        }
        return left;
    }

    NodePtr parseAnd() {
        NodePtr left = parseNot();
        while (current().isWord(u"and")) {
            advance();
            left = combine(Node::Kind::And, left, parseNot());
        }
        return left;
    }

    NodePtr parseNot() {
        if (current().isWord(u"not")) {
            advance();
            auto node = std::make_shared<Node>();
            node->kind = Node::Kind::Not;
            node->children.push_back(parseNot());
            return node;
        }
        return parseTerm();
    }

    NodePtr parseTerm() {
        if (current().isSymbol(u"(")) {
            advance();
            NodePtr inner = parseOr();
            if (!current().isSymbol(u")"))
                fail(QStringLiteral("「)」がありません"));
            advance();
            return inner;
        }
        auto node = std::make_shared<Node>();
        node->left = parseOperand();
        if (current().isWord(u"is")) {
            advance();
            node->kind = Node::Kind::IsNull;
            if (current().isWord(u"not")) {
                advance();
                node->kind = Node::Kind::IsNotNull;
            }
            if (!current().isWord(u"null"))
                fail(QStringLiteral("IS の後に NULL がありません"));
            advance();
            return node;
        }
        static const QStringList operators = {
            QStringLiteral("="), QStringLiteral("=="), QStringLiteral("<>"), QStringLiteral("!="),
            QStringLiteral("<"), QStringLiteral("<="), QStringLiteral(">"),  QStringLiteral(">=")};
        if (current().kind != SqlToken::Kind::Symbol || !operators.contains(current().text))
            fail(QStringLiteral("比較演算子がありません"));
        node->kind = Node::Kind::Compare;
        node->op = current().text;
        if (node->op == u"==")
            node->op = QStringLiteral("=");
        if (node->op == u"!=")
            node->op = QStringLiteral("<>");
        advance();
        node->right = parseOperand();
        return node;
    }

    FilterOperand parseOperand() {
        FilterOperand operand;
        const SqlToken& token = current();
        bool negative = false;
        if (token.isSymbol(u"-") && peek(1).kind == SqlToken::Kind::Number) {
            negative = true;
            advance();
        }
        const SqlToken& value = current();
        switch (value.kind) {
        case SqlToken::Kind::Number: {
            bool ok = false;
            const qint64 whole = value.text.toLongLong(&ok);
            if (ok)
                operand.literal = QVariant(negative ? -whole : whole);
            else
                operand.literal =
                    QVariant(negative ? -value.text.toDouble() : value.text.toDouble());
            break;
        }
        case SqlToken::Kind::String:
            operand.literal = QVariant(value.text);
            break;
        case SqlToken::Kind::QuotedIdentifier:
            operand.isField = true;
            operand.name = value.text;
            break;
        case SqlToken::Kind::Identifier:
            if (value.isWord(u"null")) {
                operand.literal = QVariant();
            } else if (value.isWord(u"true") || value.isWord(u"false")) {
                operand.literal = QVariant(value.isWord(u"true"));
            } else if (value.isWord(u"and") || value.isWord(u"or") || value.isWord(u"not") ||
                       value.isWord(u"is")) {
                fail(QStringLiteral("項目名か値がありません"));
            } else {
                operand.isField = true;
                operand.name = value.text;
            }
            break;
        default:
            fail(QStringLiteral("項目名か値がありません"));
        }
        advance();
        return operand;
    }

    static NodePtr combine(Node::Kind kind, NodePtr left, NodePtr right) {
        auto node = std::make_shared<Node>();
        node->kind = kind;
        node->children = {std::move(left), std::move(right)};
        return node;
    }

    QString text_;
    std::vector<SqlToken> tokens_;
    qsizetype index_ = 0;
};

void collectNames(const Node& node, QStringList& names) {
    for (const auto& child : node.children)
        collectNames(*child, names);
    for (const FilterOperand* operand : {&node.left, &node.right})
        if (operand->isField && !names.contains(operand->name, Qt::CaseInsensitive))
            names << operand->name;
}

class SqlWriter {
public:
    SqlWriter(const FilterExpression::FieldResolver& resolve, QVariantList& binds,
              const QString& table, const QString& text)
        : resolve_(resolve), binds_(binds), table_(table), text_(text) {}

    QString write(const Node& node) {
        switch (node.kind) {
        case Node::Kind::Or:
        case Node::Kind::And: {
            const QString joiner =
                node.kind == Node::Kind::Or ? QStringLiteral(" OR ") : QStringLiteral(" AND ");
            // Separate statements: the placeholders must be bound left to right.
            const QString left = write(*node.children[0]);
            const QString right = write(*node.children[1]);
            return QLatin1Char('(') + left + joiner + right + QLatin1Char(')');
        }
        case Node::Kind::Not:
            return QStringLiteral("(NOT ") + write(*node.children[0]) + QLatin1Char(')');
        case Node::Kind::IsNull:
        case Node::Kind::IsNotNull:
            return QLatin1Char('(') + operand(node.left, node.left.literal) +
                   (node.kind == Node::Kind::IsNull ? QStringLiteral(" IS NULL)")
                                                    : QStringLiteral(" IS NOT NULL)"));
        case Node::Kind::Compare:
            break;
        }
        const FieldDef* leftField = node.left.isField ? field(node.left.name) : nullptr;
        const FieldDef* rightField = node.right.isField ? field(node.right.name) : nullptr;
        const QVariant leftValue = literalFor(node.left, rightField);
        const QVariant rightValue = literalFor(node.right, leftField);
        // "x = NULL" means "x IS NULL" here, as users of the engine's filters expect;
        // so does "x = ''", empty text being stored as NULL.
        const bool leftNull = !node.left.isField && !leftValue.isValid();
        const bool rightNull = !node.right.isField && !rightValue.isValid();
        if ((leftNull || rightNull) && (node.op == u"=" || node.op == u"<>")) {
            const QString other =
                leftNull ? operand(node.right, rightValue) : operand(node.left, leftValue);
            return QLatin1Char('(') + other +
                   (node.op == u"=" ? QStringLiteral(" IS NULL)")
                                    : QStringLiteral(" IS NOT NULL)"));
        }
        const QString left = operand(node.left, leftValue);
        const QString right = operand(node.right, rightValue);
        return QLatin1Char('(') + left + QLatin1Char(' ') + node.op + QLatin1Char(' ') + right +
               QLatin1Char(')');
    }

private:
    const FieldDef* field(const QString& name) {
        const FieldDef* def = resolve_(name);
        if (!def)
            throw EngineError(
                EngineError::Kind::NotFound,
                QStringLiteral("フィルタ「%1」の項目「%2」はテーブル「%3」にありません。")
                    .arg(text_, name, table_));
        return def;
    }

    // The value of a literal compared with a field, in the field's type; invalid
    // for NULL. Nothing is lost on the way: text is not cut to the field's size
    // and a fraction compared with whole numbers is not rounded.
    QVariant literalFor(const FilterOperand& op, const FieldDef* comparedWith) const {
        if (op.isField || !comparedWith || !op.literal.isValid())
            return op.literal;
        if (comparedWith->isInteger() && op.literal.typeId() == QMetaType::Double) {
            const double number = op.literal.toDouble();
            if (number != std::floor(number))
                return op.literal;
        }
        FieldDef unlimited = *comparedWith;
        unlimited.size = 0;
        try {
            return coerceValue(unlimited, op.literal, table_);
        } catch (const EngineError&) {
            // Keep the literal as written; the comparison then simply fails to match.
            return op.literal;
        }
    }

    // SQL for one operand: a field's name, or a placeholder bound to `value`.
    QString operand(const FilterOperand& op, QVariant value) {
        if (op.isField)
            return quoteIdentifier(field(op.name)->name);
        if (value.typeId() == QMetaType::QDate)
            value = value.toDate().toString(Qt::ISODate);
        binds_ << value;
        return QStringLiteral("?");
    }

    const FilterExpression::FieldResolver& resolve_;
    QVariantList& binds_;
    const QString& table_;
    const QString& text_;
};

} // namespace

FilterExpression FilterExpression::parse(const QString& text) {
    FilterExpression expression;
    expression.text_ = text;
    if (text.trimmed().isEmpty())
        return expression;
    expression.root_ = Parser(text).parseAll();
    return expression;
}

QStringList FilterExpression::fieldNames() const {
    QStringList names;
    if (root_)
        collectNames(*root_, names);
    return names;
}

QString FilterExpression::toSql(const FieldResolver& resolve, QVariantList& binds,
                                const QString& table) const {
    if (!root_)
        return {};
    return SqlWriter(resolve, binds, table, text_).write(*root_);
}

} // namespace marubo::store
