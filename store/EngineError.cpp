#include "EngineError.h"

namespace marubo::store {

EngineError::EngineError(Kind kind, const QString& message)
    : std::runtime_error(message.toStdString()), kind_(kind), message_(message) {}

} // namespace marubo::store
