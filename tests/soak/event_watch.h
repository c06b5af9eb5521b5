// Reads the event lines a simulated run prints ("@T tray modify warning",
// "@T block 268435456", ...) as they are written, without keeping them: the
// soak only needs what the last of each kind said.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string>

namespace qx::soak {

class EventWatch final : public std::streambuf {
public:
    EventWatch();

    // Called with each whole line (without its newline).
    std::function<void(const std::string&)> onLine;

    std::ostream& stream() { return stream_; }

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    void put(char c);
    std::string line_;
    std::ostream stream_;
};

}  // namespace qx::soak
