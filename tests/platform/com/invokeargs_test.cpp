// The one argument rule, as containers break it: wrong counts, null arrays, named arguments,
// by-reference arguments and values that do not convert.
#include "platform/com/invokeargs.h"
#include <gtest/gtest.h>

using namespace vyr::com;

namespace {

VARIANT ref(VARTYPE vt, void* p)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VARTYPE(VT_BYREF | vt);
    v.byref = p;
    return v;
}

// A method (LONG x, [out] VARIANT_BOOL* flag, BSTR text).
const ParamSpec kMethod[] = {{VT_I4, false}, {VT_BOOL, true}, {VT_BSTR, false}};

struct Case {
    const char* name;
    CallShape shape;
    std::vector<VARIANT> args; // reversed, as in rgvarg
    std::vector<DISPID> named;
    bool nullArray;
    HRESULT expected;
    UINT argErr; // checked when not UINT(-1)
};

} // namespace

TEST(InvokeArgs, RefusesWhatDoesNotFitTheDeclaration)
{
    VARIANT_BOOL flag = 0;
    const VARIANT text = Variant::fromString("t").detach();
    const VARIANT one = Variant::fromLong(1).detach();
    const VARIANT notANumber = Variant::fromString("x1").detach();
    const VARIANT huge = Variant::fromDouble(1e300).detach();
    VARIANT nullRef = ref(VT_VARIANT, nullptr);
    VARIANT nullBool = ref(VT_BOOL, nullptr);
    VARIANT wrongOut = ref(VT_I4, &flag);
    VARIANT flagRef = ref(VT_BOOL, &flag);
    const Case cases[] = {
        {"too few", CallShape::Method, {text, flagRef}, {}, false, DISP_E_BADPARAMCOUNT, UINT(-1)},
        {"too many", CallShape::Method, {text, flagRef, one, one}, {}, false, DISP_E_BADPARAMCOUNT, UINT(-1)},
        {"null array", CallShape::Method, {text, flagRef, one}, {}, true, E_POINTER, UINT(-1)},
        {"text for a number", CallShape::Method, {text, flagRef, notANumber}, {}, false, DISP_E_TYPEMISMATCH, 2},
        {"number out of range", CallShape::Method, {text, flagRef, huge}, {}, false, DISP_E_OVERFLOW, 2},
        {"out without a place", CallShape::Method, {text, nullBool, one}, {}, false, E_POINTER, 1},
        {"out by a null VARIANT", CallShape::Method, {text, nullRef, one}, {}, false, E_POINTER, 1},
        {"out of another type", CallShape::Method, {text, wrongOut, one}, {}, false, DISP_E_TYPEMISMATCH, 1},
        {"out by value", CallShape::Method, {text, one, one}, {}, false, DISP_E_TYPEMISMATCH, 1},
        {"named beyond the parameters", CallShape::Method, {text, flagRef, one}, {7}, false, DISP_E_PARAMNOTFOUND, 0},
        {"named twice", CallShape::Method, {one, one, flagRef}, {1, 1}, false, DISP_E_PARAMNOTFOUND, 1},
        {"named leaves one out", CallShape::Method, {text, flagRef}, {2, 1}, false, DISP_E_PARAMNOTOPTIONAL, UINT(-1)},
        {"get with an argument", CallShape::Get, {one}, {}, false, DISP_E_BADPARAMCOUNT, UINT(-1)},
        {"put unnamed", CallShape::Put, {one}, {}, false, DISP_E_PARAMNOTFOUND, UINT(-1)},
        {"put named otherwise", CallShape::Put, {one}, {0}, false, DISP_E_PARAMNOTFOUND, UINT(-1)},
        {"put without value", CallShape::Put, {}, {}, false, DISP_E_BADPARAMCOUNT, UINT(-1)},
        {"put with null array", CallShape::Put, {one}, {DISPID_PROPERTYPUT}, true, E_POINTER, UINT(-1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<VARIANT> args = c.args;
        std::vector<DISPID> named = c.named;
        DISPPARAMS p{c.nullArray ? nullptr : args.data(), named.empty() ? nullptr : named.data(), UINT(args.size()),
                     UINT(named.size())};
        const ParamSpec put{VT_I4, false};
        std::span<const ParamSpec> specs = c.shape == CallShape::Method ? std::span<const ParamSpec>(kMethod)
                                           : c.shape == CallShape::Put  ? std::span<const ParamSpec>(&put, 1)
                                                                        : std::span<const ParamSpec>();
        UINT argErr = 99;
        InvokeArgs a;
        EXPECT_EQ(a.prepare(c.shape, specs, &p, &argErr), c.expected);
        if (c.argErr != UINT(-1))
            EXPECT_EQ(argErr, c.argErr);
    }
    for (VARIANT owned : {text, notANumber})
        VariantClear(&owned);
}

TEST(InvokeArgs, ConvertsInArgumentsAndHandsOutValuesBack)
{
    // A named argument after positional ones, a by-reference VARIANT in and out.
    VARIANT number = Variant::fromString("42").detach();
    VARIANT target = Variant::fromString("old").detach(); // an out VARIANT with a stale value
    VARIANT text = Variant::fromLong(7).detach();
    // text named first, then x and flag by position (reversed).
    VARIANT args[3] = {text, ref(VT_VARIANT, &target), ref(VT_VARIANT, &number)};
    DISPID named[1] = {2};
    DISPPARAMS p{args, named, 3, 1};
    InvokeArgs a;
    ASSERT_EQ(a.prepare(CallShape::Method, kMethod, &p, nullptr), S_OK);
    ASSERT_EQ(a.count(), 3u);
    EXPECT_EQ(a.value(0).vt, VT_I4);
    EXPECT_EQ(a.value(0).lVal, 42);
    EXPECT_EQ(a.value(1).vt, VT_BYREF | VT_BOOL);
    EXPECT_EQ(a.value(2).vt, VT_BSTR);
    EXPECT_EQ(utf8(a.value(2).bstrVal), "7");
    // The callee sees them reversed, as positional arguments of their declared types.
    const DISPPARAMS* d = a.dispParams();
    ASSERT_EQ(d->cArgs, 3u);
    EXPECT_EQ(d->cNamedArgs, 0u);
    EXPECT_EQ(d->rgvarg[2].lVal, 42);
    *static_cast<VARIANT_BOOL*>(d->rgvarg[1].byref) = VARIANT_TRUE;
    a.complete();
    EXPECT_EQ(target.vt, VT_BOOL) << "the VARTYPE is the declared one, not overwritten";
    EXPECT_EQ(target.boolVal, VARIANT_TRUE);
    VariantClear(&number);
    VariantClear(&text);

    // A put: by-reference scalar, null objects for VT_EMPTY.
    LONG value = -5;
    VARIANT byRef = ref(VT_I4, &value);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS pp{&byRef, &put, 1, 1};
    const ParamSpec asDouble{VT_R8, false}, asObject{VT_DISPATCH, false};
    InvokeArgs b;
    ASSERT_EQ(b.prepare(CallShape::Put, {&asDouble, 1}, &pp, nullptr), S_OK);
    EXPECT_EQ(b.value(0).dblVal, -5.0);
    EXPECT_EQ(b.dispParams()->cNamedArgs, 1u);
    EXPECT_EQ(b.dispParams()->rgdispidNamedArgs[0], DISPID_PROPERTYPUT);
    VARIANT empty;
    VariantInit(&empty);
    DISPPARAMS pe{&empty, &put, 1, 1};
    InvokeArgs c;
    ASSERT_EQ(c.prepare(CallShape::Put, {&asObject, 1}, &pe, nullptr), S_OK);
    EXPECT_EQ(c.value(0).vt, VT_DISPATCH);
    EXPECT_EQ(c.value(0).pdispVal, nullptr);

    // No DISPPARAMS at all is no arguments.
    InvokeArgs g;
    EXPECT_EQ(g.prepare(CallShape::Get, {}, nullptr, nullptr), S_OK);
}
