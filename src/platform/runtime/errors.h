// Run-time errors of the program's arithmetic and conversions. A handler
// either lets them pass to its caller, skips the failing step, or catches
// them all in one place, as each handler says.
#pragma once

#include <stdexcept>

namespace qx {

enum class ErrorCode {
    Overflow = 6,
    DivisionByZero = 11,
    TypeMismatch = 13,
    Refused = 5,
    InvalidPropertyValue = 380,
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(ErrorCode code, const char* what) : std::runtime_error(what), code_(code) {}
    ErrorCode code() const { return code_; }

private:
    ErrorCode code_;
};

// Runs one statement; a run-time error in it is skipped and the caller goes
// on with the next statement.
template <typename F>
void skipOnError(F&& statement) {
    try {
        statement();
    } catch (const RuntimeError&) {
    }
}

}  // namespace qx
