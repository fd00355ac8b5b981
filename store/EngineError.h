#pragma once

#include <QString>
#include <stdexcept>

namespace marubo::store {

// An error of the database engine. The message is for the user: it names the
// table, field or folder concerned and ends with SQLite's own text where there
// is one.
class EngineError : public std::runtime_error {
public:
    enum class Kind {
        General,
        NotFound,     // table, field, index or folder that does not exist
        KeyViolation, // a row with the same key exists already, or a key field is empty
        Locked,       // another program holds the file
        ReadOnly,     // the file or its folder cannot be written
        CannotOpen,   // the file cannot be opened at all
        Corrupt,      // not a data file, or a damaged one
        Syntax,       // malformed filter or SQL text
        Conversion,   // a value that does not fit the field
        State,        // an operation that the data set's state does not allow
    };

    EngineError(Kind kind, const QString& message);

    Kind kind() const { return kind_; }
    const QString& message() const { return message_; }

private:
    Kind kind_;
    QString message_;
};

} // namespace marubo::store
