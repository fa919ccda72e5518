#include "platform/com/Variant.h"
#include "platform/com/SafeArray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

HRESULT Convert(const VARIANT& src, VARTYPE vt, CComVariant* out, USHORT flags = 0) {
    return VariantChangeType(out, &src, flags, vt);
}

} // namespace

TEST(VariantCoercion, RealToIntegerRoundsHalfToEven) {
    const struct {
        double in;
        LONG out;
    } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {0.5, 0}, {1.5, 2}};
    for (auto c : cases) {
        CComVariant out;
        ASSERT_EQ(Convert(CComVariant::R8(c.in), VT_I4, &out), S_OK) << c.in;
        EXPECT_EQ(out.lVal, c.out) << "from " << c.in;
    }
}

TEST(VariantCoercion, ValuesOutsideTheTargetRangeOverflow) {
    CComVariant out = CComVariant::I4(99);
    EXPECT_EQ(Convert(CComVariant::I4(32768), VT_I2, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(Convert(CComVariant::R8(32767.5), VT_I2, &out), DISP_E_OVERFLOW); // rounds to 32768
    EXPECT_EQ(Convert(CComVariant::I4(-1), VT_UI2, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(Convert(CComVariant::R8(std::nan("")), VT_I4, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(Convert(CComVariant::R8(1e39), VT_R4, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(Convert(CComVariant::Str("1e400"), VT_R8, &out), DISP_E_OVERFLOW);
    // A failed conversion leaves the destination untouched.
    EXPECT_EQ(out.vt, VT_I4);
    EXPECT_EQ(out.lVal, 99);
    ASSERT_EQ(Convert(CComVariant::I4(32767), VT_I2, &out), S_OK);
    EXPECT_EQ(out.iVal, 32767);
}

TEST(VariantCoercion, StringsAreReadInTheInvariantForm) {
    const struct {
        const char* text;
        double value;
    } good[] = {{"12", 12},    {" 12 ", 12},     {"-1.5", -1.5}, {"+.5", 0.5},
                {"1e3", 1000}, {"2.5E-1", 0.25}, {"1e-400", 0},  {"5.", 5}};
    for (auto c : good) {
        CComVariant out;
        ASSERT_EQ(Convert(CComVariant::Str(c.text), VT_R8, &out), S_OK) << c.text;
        EXPECT_DOUBLE_EQ(out.dblVal, c.value) << c.text;
    }
    for (const char* bad :
         {"", " ", "abc", "1,5", "0x10", "inf", "nan", "1e", "--1", ".", "1 2", "1.2.3"}) {
        CComVariant out;
        EXPECT_EQ(Convert(CComVariant::Str(bad), VT_R8, &out), DISP_E_TYPEMISMATCH) << bad;
    }
    CComVariant rounded;
    ASSERT_EQ(Convert(CComVariant::Str("2.5"), VT_I2, &rounded), S_OK);
    EXPECT_EQ(rounded.iVal, 2);
}

TEST(VariantCoercion, NumbersAreWrittenInTheInvariantForm) {
    const struct {
        CComVariant in;
        const char* text;
    } cases[] = {{CComVariant::R8(0.1), "0.1"},
                 {CComVariant::R8(1e20), "1E+20"},
                 {CComVariant::R8(-2.5), "-2.5"},
                 {CComVariant::R4(0.1f), "0.1"},
                 {CComVariant::I2(-7), "-7"},
                 {CComVariant::Bool(true), "-1"},
                 {CComVariant::R8(1.0 / 3), "0.333333333333333"}};
    for (const auto& c : cases) {
        CComVariant out;
        ASSERT_EQ(Convert(c.in, VT_BSTR, &out), S_OK);
        EXPECT_EQ(BstrView(out.bstrVal), c.text);
    }
    CComVariant alpha;
    ASSERT_EQ(Convert(CComVariant::Bool(false), VT_BSTR, &alpha, VARIANT_ALPHABOOL), S_OK);
    EXPECT_EQ(BstrView(alpha.bstrVal), "False");
}

TEST(VariantCoercion, BooleansFollowThePlatform) {
    CComVariant out;
    ASSERT_EQ(Convert(CComVariant::Bool(true), VT_I2, &out), S_OK);
    EXPECT_EQ(out.iVal, -1);
    ASSERT_EQ(Convert(CComVariant::R8(0.25), VT_BOOL, &out), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    ASSERT_EQ(Convert(CComVariant::Str("false"), VT_BOOL, &out), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_FALSE);
    ASSERT_EQ(Convert(CComVariant::Str("TRUE"), VT_BOOL, &out), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
}

TEST(VariantCoercion, NullEmptyAndErrorValues) {
    CComVariant null;
    null.vt = VT_NULL;
    CComVariant out;
    EXPECT_EQ(Convert(null, VT_I4, &out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Convert(null, VT_BSTR, &out), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(Convert(CComVariant(), VT_R8, &out), S_OK);
    EXPECT_EQ(out.dblVal, 0.0);
    ASSERT_EQ(Convert(CComVariant(), VT_BSTR, &out), S_OK);
    EXPECT_EQ(SysStringLen(out.bstrVal), 0u);
    EXPECT_EQ(Convert(CComVariant::Error(E_FAIL), VT_R8, &out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Convert(CComVariant::I4(1), VT_DISPATCH, &out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Convert(CComVariant::I4(1), static_cast<VARTYPE>(64), &out), DISP_E_BADVARTYPE);
}

TEST(VariantCoercion, ByReferenceSourcesAreReadThrough) {
    double value = 2.5;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_R8;
    ref.pdblVal = &value;
    CComVariant out;
    ASSERT_EQ(Convert(ref, VT_BSTR, &out), S_OK);
    EXPECT_EQ(BstrView(out.bstrVal), "2.5");
    ref.pdblVal = nullptr;
    EXPECT_EQ(Convert(ref, VT_BSTR, &out), DISP_E_BADVARTYPE);
}

TEST(VariantCoercion, ConvertsInPlace) {
    CComVariant v = CComVariant::Str("42");
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 42);
}

TEST(VariantLifetime, CopiesOwnTheirStringsAndArrays) {
    CComVariant a = CComVariant::Str("text");
    CComVariant b(a);
    EXPECT_NE(a.bstrVal, b.bstrVal);
    EXPECT_EQ(BstrView(b.bstrVal), "text");

    CComVariant arr;
    arr.vt = VT_ARRAY | VT_BSTR;
    arr.parray = SafeArrayCreateVector(VT_BSTR, 0, 2);
    CComBSTR s("x");
    LONG i = 1;
    ASSERT_EQ(SafeArrayPutElement(arr.parray, &i, BSTR(s)), S_OK);
    CComVariant copy(arr);
    EXPECT_NE(copy.parray, arr.parray);
    BSTR back = nullptr;
    ASSERT_EQ(SafeArrayGetElement(copy.parray, &i, &back), S_OK);
    EXPECT_EQ(BstrView(back), "x");
    SysFreeString(back);
}

TEST(VariantLifetime, ClearingALockedArrayIsRefused) {
    CComVariant v;
    v.vt = VT_ARRAY | VT_I4;
    v.parray = SafeArrayCreateVector(VT_I4, 0, 3);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(v.parray, &data), S_OK);
    EXPECT_EQ(VariantClear(&v), DISP_E_ARRAYISLOCKED);
    ASSERT_EQ(SafeArrayUnaccessData(v.parray), S_OK);
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
}
