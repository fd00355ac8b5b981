#pragma once

#include "FieldDef.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace marubo::store {

// A parsed filter expression such as "code>0 and (S1 is not Null)". It is never
// pasted into SQL: field names are checked against the table and literals are
// bound as parameters.
//
// Grammar: or-expressions of and-expressions of [not] terms; a term is a
// parenthesised expression, `operand IS [NOT] NULL`, or `operand op operand` with
// op one of = <> != < <= > >=. An operand is a field name (bare, "quoted" or
// [bracketed]), a number, a 'text', NULL, TRUE or FALSE. Keywords ignore case.
class FilterExpression {
public:
    FilterExpression() = default;

    // Throws EngineError(Syntax) on malformed text. Empty text gives an empty expression.
    static FilterExpression parse(const QString& text);

    bool isEmpty() const { return root_ == nullptr; }
    const QString& text() const { return text_; }
    // Field names the expression refers to, as written.
    QStringList fieldNames() const;

    using FieldResolver = std::function<const FieldDef*(const QString& name)>;
    // SQL for a WHERE clause with ? placeholders; the values to bind are appended
    // to `binds`. Throws EngineError(NotFound) for a field the resolver does not know.
    QString toSql(const FieldResolver& resolve, QVariantList& binds, const QString& table) const;

    struct Node;

private:
    std::shared_ptr<const Node> root_;
    QString text_;
};

} // namespace marubo::store
