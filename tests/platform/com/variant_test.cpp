#include "platform/com/dispatch.h"
#include <cmath>
#include <gtest/gtest.h>

using namespace vyr::com;

namespace {

Variant cy(int64_t v)
{
    VARIANT r;
    VariantInit(&r);
    r.vt = VT_CY;
    r.cyVal.int64 = v;
    return Variant(r);
}

struct Case {
    const char* name;
    Variant from;
    VARTYPE to;
    HRESULT hr;
    int64_t expected; // read from the union member of `to`
};

int64_t valueOf(const VARIANT& v)
{
    switch (v.vt) {
    case VT_I1: return v.cVal;
    case VT_UI1: return v.bVal;
    case VT_I2: return v.iVal;
    case VT_BOOL: return v.boolVal;
    case VT_UI2: return v.uiVal;
    case VT_I4: return v.lVal;
    case VT_UI4: return v.ulVal;
    case VT_I8: case VT_CY: return v.llVal;
    default: return INT64_MIN;
    }
}

} // namespace

TEST(VariantConversion, IntegerTargetsRoundHalfToEvenAndReportOverflow)
{
    const Case cases[] = {
        {"2.5 to even 2", Variant::fromDouble(2.5), VT_I4, S_OK, 2},
        {"3.5 to even 4", Variant::fromDouble(3.5), VT_I4, S_OK, 4},
        {"-2.5 to even -2", Variant::fromDouble(-2.5), VT_I4, S_OK, -2},
        {"0.5 to 0", Variant::fromDouble(0.5), VT_I2, S_OK, 0},
        {"2.6 to 3", Variant::fromDouble(2.6), VT_I2, S_OK, 3},
        {"32766.5 fits", Variant::fromDouble(32766.5), VT_I2, S_OK, 32766},
        {"32767.5 rounds out of short", Variant::fromDouble(32767.5), VT_I2, DISP_E_OVERFLOW, 0},
        {"70000 too big for short", Variant::fromLong(70000), VT_I2, DISP_E_OVERFLOW, 0},
        {"-1 not unsigned", Variant::fromLong(-1), VT_UI4, DISP_E_OVERFLOW, 0},
        {"max unsigned too big for long", Variant::fromULong(0xFFFFFFFFu), VT_I4, DISP_E_OVERFLOW, 0},
        {"255 fits a byte", Variant::fromLong(255), VT_UI1, S_OK, 255},
        {"255.5 rounds out of a byte", Variant::fromDouble(255.5), VT_UI1, DISP_E_OVERFLOW, 0},
        {"2^63 out of 64 bits", Variant::fromDouble(9223372036854775808.0), VT_I8, DISP_E_OVERFLOW, 0},
        {"-2^63 fits 64 bits", Variant::fromDouble(-9223372036854775808.0), VT_I8, S_OK, INT64_MIN},
        {"NaN", Variant::fromDouble(NAN), VT_I4, DISP_E_OVERFLOW, 0},
        {"true is -1", Variant::fromBool(true), VT_I2, S_OK, -1},
        {"long to bool", Variant::fromLong(5), VT_BOOL, S_OK, VARIANT_TRUE},
        {"zero to bool", Variant::fromDouble(0.0), VT_BOOL, S_OK, VARIANT_FALSE},
        {"empty is 0", Variant(), VT_I4, S_OK, 0},
        {"text with spaces", Variant::fromString(" 42 "), VT_I4, S_OK, 42},
        {"text exponent", Variant::fromString("1e3"), VT_I4, S_OK, 1000},
        {"text half", Variant::fromString("-0.5"), VT_I4, S_OK, 0},
        {"text True", Variant::fromString("True"), VT_I2, S_OK, -1},
        {"text not a number", Variant::fromString("12abc"), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {"empty text", Variant::fromString(""), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {"text infinity", Variant::fromString("inf"), VT_R8, DISP_E_TYPEMISMATCH, 0},
        {"text nan", Variant::fromString("nan"), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {"text hexadecimal", Variant::fromString("0x10"), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {"text beyond double", Variant::fromString("1e999"), VT_R8, DISP_E_OVERFLOW, 0},
        {"text to bool", Variant::fromString("abc"), VT_BOOL, DISP_E_TYPEMISMATCH, 0},
        {"double to currency", Variant::fromDouble(1.23456), VT_CY, S_OK, 12346},
        {"text to currency", Variant::fromString("8"), VT_CY, S_OK, 80000},
        {"currency to long", cy(25000), VT_I4, S_OK, 2},
        {"currency overflow", Variant::fromDouble(1e300), VT_CY, DISP_E_OVERFLOW, 0},
        {"object to number", Variant::fromUnknown(nullptr), VT_I4, DISP_E_TYPEMISMATCH, 0},
    };
    for (const Case& c : cases) {
        Variant out;
        const HRESULT hr = c.from.changeType(c.to, out);
        EXPECT_EQ(hr, c.hr) << c.name;
        if (SUCCEEDED(c.hr) && SUCCEEDED(hr)) {
            EXPECT_EQ(out.type(), c.to) << c.name;
            EXPECT_EQ(valueOf(out.get()), c.expected) << c.name;
        }
        if (FAILED(hr)) {
            EXPECT_TRUE(out.isEmpty()) << c.name << ": a failed conversion leaves the target alone";
        }
    }
}

TEST(VariantConversion, RealAndTextTargets)
{
    EXPECT_EQ(Variant::fromString("2.25").toDouble(), 2.25);
    EXPECT_EQ(Variant::fromLong(-17).toString(), "-17");
    EXPECT_EQ(Variant::fromBool(true).toString(), "True");
    EXPECT_EQ(Variant::fromBool(false).toString(), "False");
    EXPECT_EQ(Variant::fromDouble(0.1).toString(), "0.1");
    EXPECT_EQ(cy(123456).toDouble(), 12.3456);
    Variant single;
    EXPECT_EQ(Variant::fromDouble(1e39).changeType(VT_R4, single), DISP_E_OVERFLOW);
    EXPECT_FALSE(Variant::fromString("x").toLong());
}

TEST(Variant, CopiesOwnTheirStringsAndObjectsCount)
{
    Variant a = Variant::fromString("abc");
    Variant b = a;
    EXPECT_NE(a.get().bstrVal, b.get().bstrVal);
    EXPECT_TRUE(a == b);
    b = Variant::fromString("abd");
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(Variant::fromShort(1) == Variant::fromLong(1)); // different types never compare equal
    Variant moved = std::move(a);
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(moved.toString(), "abc");
}
