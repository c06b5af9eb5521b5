#include "event_watch.h"

namespace qx::soak {

EventWatch::EventWatch() : stream_(this) { line_.reserve(256); }

void EventWatch::put(char c) {
    if (c != '\n') {
        line_.push_back(c);
        return;
    }
    if (onLine) onLine(line_);
    line_.clear();
}

EventWatch::int_type EventWatch::overflow(int_type ch) {
    if (!traits_type::eq_int_type(ch, traits_type::eof())) put(traits_type::to_char_type(ch));
    return traits_type::not_eof(ch);
}

std::streamsize EventWatch::xsputn(const char* s, std::streamsize n) {
    for (std::streamsize i = 0; i < n; ++i) put(s[i]);
    return n;
}

}  // namespace qx::soak
