#include "platform/dao/value.h"

#include "platform/dao/error.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <strings.h>

namespace vyr::dao {

namespace {

[[noreturn]] void nullUsed()
{
    throw DaoError(ErrorNumber::QueryFailed, "Invalid use of Null");
}

// Text for a message: control bytes (a binary value read as text) shown as \xHH, so that the
// message neither ends early nor garbles the terminal.
std::string printable(const std::string& s)
{
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x20 || c == 0x7f) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += char(c);
        }
    }
    return out;
}

std::string formatNumber(double n)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, n);
    return std::string(buf, res.ptr);
}

} // namespace

std::string Value::text() const
{
    switch (kind()) {
    case Kind::Null: nullUsed();
    case Kind::Text: return std::get<std::string>(data_);
    case Kind::Number: return formatNumber(std::get<double>(data_));
    case Kind::Boolean: return std::get<bool>(data_) ? "True" : "False";
    }
    return {};
}

double Value::number() const
{
    switch (kind()) {
    case Kind::Null: nullUsed();
    case Kind::Number: return std::get<double>(data_);
    case Kind::Boolean: return std::get<bool>(data_) ? -1.0 : 0.0;
    case Kind::Text: {
        const std::string& s = std::get<std::string>(data_);
        size_t b = s.find_first_not_of(' ');
        size_t e = s.find_last_not_of(' ');
        double n = 0;
        if (b != std::string::npos) {
            const char* first = s.data() + b;
            const char* last = s.data() + e + 1;
            if (*first == '+')
                ++first;
            auto res = std::from_chars(first, last, n, std::chars_format::fixed);
            if (res.ec == std::errc() && res.ptr == last && std::isfinite(n))
                return n;
        }
        throw DaoError(ErrorNumber::QueryFailed, "Type mismatch: '" + printable(s) + "' is not a number");
    }
    }
    return 0;
}

bool Value::boolean() const
{
    switch (kind()) {
    case Kind::Null: nullUsed();
    case Kind::Boolean: return std::get<bool>(data_);
    case Kind::Number: return std::get<double>(data_) != 0;
    case Kind::Text: {
        const std::string& s = std::get<std::string>(data_);
        if (strcasecmp(s.c_str(), "true") == 0)
            return true;
        if (strcasecmp(s.c_str(), "false") == 0)
            return false;
        return number() != 0;
    }
    }
    return false;
}

bool Value::isText(const std::string& other) const
{
    return kind() == Kind::Text && std::get<std::string>(data_) == other;
}

} // namespace vyr::dao
