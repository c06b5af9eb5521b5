#include "app/scenario/model_properties.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/runtime/errors.h"
#include "platform/runtime/numbers.h"

namespace qx::scenario {

std::string PropertyValue::format() const {
    switch (type) {
        case Type::Boolean: return boolean ? "True" : "False";
        case Type::Number: return ShortestText(number);
        case Type::Text: return text;
    }
    return text;
}

std::optional<bool> parseBoolean(std::string_view text) {
    auto lower = [](std::string_view s) {
        std::string r(s);
        for (char& ch : r) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
        return r;
    };
    const std::string t = lower(text);
    if (t == "true" || t == "-1") return true;
    if (t == "false" || t == "0") return false;
    return std::nullopt;
}

std::optional<double> parseNumber(std::string_view text) {
    double v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(v)) return std::nullopt;  // "nan", "inf"
    return v;
}

namespace {
std::optional<std::uint32_t> parseColor(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t v = 0;
        auto [ptr, ec] = std::from_chars(text.data() + 2, text.data() + text.size(), v, 16);
        if (ec == std::errc() && ptr == text.data() + text.size()) return v;
        return std::nullopt;
    }
    // A colour is a whole number of 32 bits; anything else is refused.
    if (auto n = parseNumber(text); n && *n >= 0 && *n <= 4294967295.0 && *n == std::floor(*n)) {
        return static_cast<std::uint32_t>(*n);
    }
    return std::nullopt;
}

// A whole-number property: rounded by the program's rule (Overflow outside
// 16 or 32 bits), then Invalid property value outside what the property takes.
int checkedInteger(double value, bool sixteenBits, int lowest, int highest) {
    const std::int32_t n = sixteenBits ? CInt(value) : CLng(value);
    if (n < lowest || n > highest) {
        throw RuntimeError(ErrorCode::InvalidPropertyValue, "Invalid property value");
    }
    return n;
}

std::string colorText(std::uint32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", c);
    return buf;
}
}  // namespace

std::optional<PropertyValue> getProperty(const ui::Control& c, std::string_view p) {
    if (p == "Caption") return PropertyValue::of(c.caption());
    if (p == "Left") return PropertyValue::of(c.left());
    if (p == "Top") return PropertyValue::of(c.top());
    if (p == "Width") return PropertyValue::of(c.width());
    if (p == "Height") return PropertyValue::of(c.height());
    if (p == "Visible") return PropertyValue::of(c.visible());
    if (p == "Enabled") return PropertyValue::of(c.enabled());
    if (p == "BackColor") return PropertyValue::of(colorText(c.backColor()));
    if (p == "ForeColor") return PropertyValue::of(colorText(c.foreColor()));
    if (p == "DrawWidth") return PropertyValue::of(static_cast<double>(c.drawWidth()));
    if (p == "TabIndex") return PropertyValue::of(static_cast<double>(c.tabIndex));
    if (p == "Picture") return PropertyValue::of(c.picture);
    if (p == "ScaleWidth") return PropertyValue::of(c.scaleWidth());
    if (p == "ScaleHeight") return PropertyValue::of(c.scaleHeight());
    return std::nullopt;
}

std::optional<PropertyValue> getProperty(const ui::Timer& t, std::string_view p) {
    if (p == "Enabled") return PropertyValue::of(t.enabled());
    if (p == "Interval") return PropertyValue::of(static_cast<double>(t.interval()));
    if (p == "Tag") return PropertyValue::of(t.tag());
    return std::nullopt;
}

std::optional<PropertyValue> getProperty(const ui::MenuItem& m, std::string_view p) {
    if (p == "Caption") return PropertyValue::of(m.caption());
    if (p == "Checked") return PropertyValue::of(m.checked());
    if (p == "Enabled") return PropertyValue::of(m.enabled());
    if (p == "Visible") return PropertyValue::of(m.visible());
    return std::nullopt;
}

std::optional<PropertyValue> getProperty(const ui::Form& f, std::string_view p) {
    if (p == "Caption") return PropertyValue::of(f.caption());
    if (p == "Left") return PropertyValue::of(f.left());
    if (p == "Top") return PropertyValue::of(f.top());
    if (p == "Width") return PropertyValue::of(f.width());
    if (p == "Height") return PropertyValue::of(f.height());
    if (p == "ScaleWidth") return PropertyValue::of(f.scaleWidth());
    if (p == "ScaleHeight") return PropertyValue::of(f.scaleHeight());
    if (p == "Visible") return PropertyValue::of(f.visible());
    if (p == "Enabled") return PropertyValue::of(f.enabled());
    if (p == "WindowState") return PropertyValue::of(static_cast<double>(f.windowState()));
    if (p == "Loaded") return PropertyValue::of(f.loaded());
    return std::nullopt;
}

bool setProperty(ui::Control& c, std::string_view p, std::string_view v) {
    if (p == "Caption") {
        c.setCaption(v);
        return true;
    }
    if (p == "Visible" || p == "Enabled") {
        auto b = parseBoolean(v);
        if (!b) return false;
        if (p == "Visible") c.setVisible(*b); else c.setEnabled(*b);
        return true;
    }
    if (p == "BackColor" || p == "ForeColor") {
        auto color = parseColor(v);
        if (!color) return false;
        if (p == "BackColor") c.setBackColor(*color); else c.setForeColor(*color);
        return true;
    }
    auto n = parseNumber(v);
    if (!n) return false;
    if (p == "Left") c.setLeft(*n);
    else if (p == "Top") c.setTop(*n);
    else if (p == "Width") c.setWidth(*n);
    else if (p == "Height") c.setHeight(*n);
    else if (p == "DrawWidth") c.setDrawWidth(checkedInteger(*n, true, 1, 32767));
    else return false;
    return true;
}

bool setProperty(ui::Timer& t, std::string_view p, std::string_view v) {
    if (p == "Tag") {
        t.setTag(v);
        return true;
    }
    if (p == "Enabled") {
        auto b = parseBoolean(v);
        if (!b) return false;
        t.setEnabled(*b);
        return true;
    }
    if (p == "Interval") {
        auto n = parseNumber(v);
        if (!n) return false;
        t.setInterval(checkedInteger(*n, false, 0, 65535));
        return true;
    }
    return false;
}

bool setProperty(ui::MenuItem& m, std::string_view p, std::string_view v) {
    if (p == "Caption") {
        m.setCaption(v);
        return true;
    }
    auto b = parseBoolean(v);
    if (!b) return false;
    if (p == "Checked") m.setChecked(*b);
    else if (p == "Enabled") m.setEnabled(*b);
    else if (p == "Visible") m.setVisible(*b);
    else return false;
    return true;
}

bool setProperty(ui::Form& f, std::string_view p, std::string_view v) {
    if (p == "Caption") {
        f.setCaption(v);
        return true;
    }
    if (p == "Visible" || p == "Enabled") {
        auto b = parseBoolean(v);
        if (!b) return false;
        if (p == "Visible") f.setVisible(*b); else f.setEnabled(*b);
        return true;
    }
    auto n = parseNumber(v);
    if (!n) return false;
    if (p == "Left") f.setBounds(*n, f.top(), f.width(), f.height());
    else if (p == "Top") f.setBounds(f.left(), *n, f.width(), f.height());
    else if (p == "Width") f.setBounds(f.left(), f.top(), *n, f.height());
    else if (p == "Height") f.setBounds(f.left(), f.top(), f.width(), *n);
    else return false;
    return true;
}

}  // namespace qx::scenario
