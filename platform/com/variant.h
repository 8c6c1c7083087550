#pragma once
// VARIANT (24 bytes on x86-64: VARTYPE, three reserved words, a 16-byte union) and the
// Variant* functions of the automation API that the controls use.
#include "platform/com/bstr.h"

struct IUnknown;
struct IDispatch;

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        int64_t llVal;
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        CY cyVal;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        int8_t cVal;
        USHORT uiVal;
        ULONG ulVal;
        uint64_t ullVal;
        INT intVal;
        UINT uintVal;
        VARIANT* pvarVal;
        void* byref;
        struct {
            void* pvRecord;
            void* pRecInfo;
        } brecVal;
    };
};
static_assert(sizeof(VARIANT) == 24);
static_assert(offsetof(VARIANT, lVal) == 8);
using VARIANTARG = VARIANT;

void VariantInit(VARIANT* v);
HRESULT VariantClear(VARIANT* v);
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Converts between the scalar types, BSTR and booleans as the automation API does for the
// cases the controls need (numbers <-> numbers, numbers <-> text, booleans as -1/0).
// DISP_E_TYPEMISMATCH for objects or unparseable text, DISP_E_OVERFLOW when out of range.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, WORD flags, VARTYPE vt);

namespace vyr::com {

// Owns one VARIANT; copies deep, clears on destruction. Converts from and to C++ values.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const VARIANT& v);
    Variant(const Variant& o) : Variant(o.v_) {}
    Variant(Variant&& o) noexcept : v_(o.v_) { VariantInit(&o.v_); }
    ~Variant() { VariantClear(&v_); }
    Variant& operator=(const Variant& o);
    Variant& operator=(Variant&& o) noexcept;

    static Variant fromShort(int16_t v);
    static Variant fromLong(int32_t v);
    static Variant fromULong(uint32_t v);
    static Variant fromDouble(double v);
    static Variant fromBool(bool v);
    static Variant fromString(std::string_view utf8);
    static Variant fromUnknown(IUnknown* p); // AddRefs
    static Variant fromDispatch(IDispatch* p); // AddRefs

    VARTYPE type() const { return v_.vt; }
    bool isEmpty() const { return v_.vt == VT_EMPTY; }

    // Converted reads; nullopt when the conversion fails.
    std::optional<int32_t> toLong() const;
    std::optional<double> toDouble() const;
    std::optional<bool> toBool() const;
    std::optional<std::string> toString() const;

    // A VARIANT converted to `vt` (S_OK) or the conversion's error.
    HRESULT changeType(VARTYPE vt, Variant& out) const;

    const VARIANT& get() const { return v_; }
    VARIANT* put() { VariantClear(&v_); return &v_; } // for out parameters
    VARIANT detach() { VARIANT r = v_; VariantInit(&v_); return r; }
    // Writes a deep copy to a caller-owned out parameter.
    HRESULT copyTo(VARIANT* dest) const { return VariantCopy(dest, &v_); }

private:
    VARIANT v_;
};

bool operator==(const Variant& a, const Variant& b);

} // namespace vyr::com
