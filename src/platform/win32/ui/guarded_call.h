// The window procedures' boundary: no C++ exception may unwind through a
// window procedure into the system, so whatever a handler throws is caught
// here and handed on as an exception_ptr (the owner rethrows it to look
// inside: a run-time error, the program's ProcessExit, anything else).
#pragma once

#include <exception>
#include <functional>

namespace qx::win32ui {

using FailureHandler = std::function<void(std::exception_ptr)>;

template <typename Body>
void guardedCall(const FailureHandler& failed, Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        if (!failed) return;
        try {
            failed(std::current_exception());
        } catch (...) {
            // A failing report must not escape either.
        }
    }
}

}  // namespace qx::win32ui
