// Reading and writing the model's properties by name ("Caption", "Width",
// "Enabled", ...), as the scenario scripts print and set them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/model.h"

namespace qx::scenario {

// A property's value written as scripts read it: True/False, the shortest
// decimal that reads back exactly, or the text itself.
struct PropertyValue {
    enum class Type { Boolean, Number, Text } type = Type::Text;
    bool boolean = false;
    double number = 0;
    std::string text;

    static PropertyValue of(bool b) { return {Type::Boolean, b, 0, {}}; }
    static PropertyValue of(double n) { return {Type::Number, false, n, {}}; }
    static PropertyValue of(std::string t) { return {Type::Text, false, 0, std::move(t)}; }
    std::string format() const;
};

std::optional<PropertyValue> getProperty(const ui::Control& c, std::string_view property);
std::optional<PropertyValue> getProperty(const ui::Timer& t, std::string_view property);
std::optional<PropertyValue> getProperty(const ui::MenuItem& m, std::string_view property);
std::optional<PropertyValue> getProperty(const ui::Form& f, std::string_view property);

// Sets a property from its text; false for an unknown property or a value of
// the wrong kind. A whole-number property (DrawWidth 1..32767, Interval
// 0..65535) throws RuntimeError: Overflow for a number its integer can't
// hold, Invalid property value outside its range. Runs no handler.
bool setProperty(ui::Control& c, std::string_view property, std::string_view value);
bool setProperty(ui::Timer& t, std::string_view property, std::string_view value);
bool setProperty(ui::MenuItem& m, std::string_view property, std::string_view value);
bool setProperty(ui::Form& f, std::string_view property, std::string_view value);

// "True"/"False" (any case) as a boolean.
std::optional<bool> parseBoolean(std::string_view text);
// A finite decimal number; nullopt for anything else ("nan", "inf", "1e999").
std::optional<double> parseNumber(std::string_view text);

}  // namespace qx::scenario
