#pragma once
// The value of one field: Null, text, number or Boolean, as the tool reads and writes them.
#include <string>
#include <variant>

namespace vyr::dao {

class Value {
public:
    enum class Kind { Null, Text, Number, Boolean };

    Value() = default;
    Value(std::string text) : data_(std::move(text)) {}
    Value(const char* text) : data_(std::string(text)) {}
    Value(double number) : data_(number) {}
    Value(int number) : data_(double(number)) {}
    Value(bool flag) : data_(flag) {}

    Kind kind() const { return Kind(data_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // Conversions the way the tool uses them; each throws DaoError on Null or on a value
    // that cannot be read as the asked kind ("Invalid use of Null", "Type mismatch").
    std::string text() const;    // numbers as the shortest exact decimal, Booleans "True"/"False"
    double number() const;       // text must be a whole decimal number
    bool boolean() const;        // numbers: non-zero; text: "True"/"False" in any case

    // True when the value is text equal to `other`, exactly; Null and other kinds never are.
    bool isText(const std::string& other) const;

    bool operator==(const Value&) const = default;

private:
    std::variant<std::monostate, std::string, double, bool> data_;
};

} // namespace vyr::dao
