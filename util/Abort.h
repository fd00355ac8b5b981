#pragma once

#include <exception>

namespace marubo {

// The silent abort: ends the current action without a message box of its own.
// Event handlers that refuse a change (before-insert, before-delete) throw it,
// and the outermost event handler swallows it.
class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "aborted"; }
};

} // namespace marubo
