#include "app/scenario/script_text.h"

#include <stdexcept>

namespace qx::scenario {

bool ScriptLines::next(std::string& line) {
    line.clear();
    std::streambuf* buf = in_.rdbuf();
    if (!buf) return false;
    using Traits = std::char_traits<char>;
    if (!started_) {
        started_ = true;
        // A byte-order mark is three bytes EF BB BF; anything else is text.
        static const unsigned char kMark[] = {0xEF, 0xBB, 0xBF};
        int matched = 0;
        while (matched < 3 && buf->sgetc() == kMark[matched]) {
            buf->sbumpc();
            ++matched;
        }
        for (int i = 0; i < matched; ++i) line.push_back(static_cast<char>(kMark[i]));
        if (matched == 3) line.clear();
    }
    bool any = !line.empty();
    for (;;) {
        const int c = buf->sbumpc();
        if (Traits::eq_int_type(c, Traits::eof())) {
            if (!any) in_.setstate(std::ios::eofbit);
            return any;
        }
        any = true;
        if (c == '\n') return true;
        if (c == '\r') {
            if (buf->sgetc() == '\n') buf->sbumpc();
            return true;
        }
        if (line.size() == kMaxLineBytes) {
            throw std::length_error("the line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
        }
        line.push_back(Traits::to_char_type(c));
    }
}

}  // namespace qx::scenario
