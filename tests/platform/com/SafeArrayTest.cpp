#include "platform/com/SafeArray.h"

#include <gtest/gtest.h>

#include <limits>

TEST(SafeArray, BoundsAndElementsOfAVector) {
    SAFEARRAY* psa = SafeArrayCreateVector(VT_R8, -2, 5);
    ASSERT_NE(psa, nullptr);
    LONG lower = 0, upper = 0;
    ASSERT_EQ(SafeArrayGetLBound(psa, 1, &lower), S_OK);
    ASSERT_EQ(SafeArrayGetUBound(psa, 1, &upper), S_OK);
    EXPECT_EQ(lower, -2);
    EXPECT_EQ(upper, 2);
    EXPECT_EQ(SafeArrayGetLBound(psa, 2, &lower), DISP_E_BADINDEX);
    for (LONG i = -2; i <= 2; ++i) {
        double v = i * 1.5;
        ASSERT_EQ(SafeArrayPutElement(psa, &i, &v), S_OK);
    }
    LONG outside = 3;
    double v = 0;
    EXPECT_EQ(SafeArrayGetElement(psa, &outside, &v), DISP_E_BADINDEX);
    outside = -3;
    EXPECT_EQ(SafeArrayPutElement(psa, &outside, &v), DISP_E_BADINDEX);
    double* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(psa, reinterpret_cast<void**>(&data)), S_OK);
    EXPECT_EQ(data[0], -3.0);
    EXPECT_EQ(data[4], 3.0);
    EXPECT_EQ(SafeArrayDestroy(psa), DISP_E_ARRAYISLOCKED);
    ASSERT_EQ(SafeArrayUnaccessData(psa), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(psa), E_UNEXPECTED);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
}

TEST(SafeArray, TheFirstIndexVariesFastest) {
    SAFEARRAYBOUND bounds[2] = {{3, 0}, {2, 1}}; // 3 x 2, second index from 1
    SAFEARRAY* psa = SafeArrayCreate(VT_I2, 2, bounds);
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(SafeArrayGetDim(psa), 2u);
    for (LONG j = 1; j <= 2; ++j)
        for (LONG i = 0; i < 3; ++i) {
            LONG index[2] = {i, j};
            SHORT v = static_cast<SHORT>(10 * j + i);
            ASSERT_EQ(SafeArrayPutElement(psa, index, &v), S_OK);
        }
    SHORT* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(psa, reinterpret_cast<void**>(&data)), S_OK);
    const SHORT expected[6] = {10, 11, 12, 20, 21, 22};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(data[k], expected[k]) << "element " << k;
    SafeArrayUnaccessData(psa);
    SafeArrayDestroy(psa);
}

TEST(SafeArray, CopyIsDeepForStringsAndVariants) {
    SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 1);
    SAFEARRAY* variants = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    LONG i = 0;
    CComBSTR s("first");
    CComVariant v = CComVariant::Str("second");
    ASSERT_EQ(SafeArrayPutElement(strings, &i, BSTR(s)), S_OK);
    ASSERT_EQ(SafeArrayPutElement(variants, &i, &v), S_OK);
    // Overwriting an element frees the old one (the leak checker watches).
    ASSERT_EQ(SafeArrayPutElement(strings, &i, BSTR(s)), S_OK);

    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(strings, &copy), S_OK);
    SafeArrayDestroy(strings);
    BSTR back = nullptr;
    ASSERT_EQ(SafeArrayGetElement(copy, &i, &back), S_OK);
    EXPECT_EQ(BstrView(back), "first");
    SysFreeString(back);
    SafeArrayDestroy(copy);

    ASSERT_EQ(SafeArrayCopy(variants, &copy), S_OK);
    SafeArrayDestroy(variants);
    CComVariant out;
    ASSERT_EQ(SafeArrayGetElement(copy, &i, &out), S_OK);
    EXPECT_EQ(BstrView(out.bstrVal), "second");
    VARTYPE vt = VT_EMPTY;
    ASSERT_EQ(SafeArrayGetVartype(copy, &vt), S_OK);
    EXPECT_EQ(vt, VT_VARIANT);
    SafeArrayDestroy(copy);
}

TEST(SafeArray, ImpossibleShapesAreRefused) {
    SAFEARRAYBOUND huge[2] = {{std::numeric_limits<ULONG>::max(), 0},
                              {std::numeric_limits<ULONG>::max(), 0}};
    EXPECT_EQ(SafeArrayCreate(VT_R8, 2, huge), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_R8, 0, huge), nullptr);
    EXPECT_EQ(SafeArrayCreateVector(static_cast<VARTYPE>(VT_NULL), 0, 1), nullptr);
    SAFEARRAY* empty = SafeArrayCreateVector(VT_I4, 0, 0);
    ASSERT_NE(empty, nullptr);
    LONG upper = 0;
    ASSERT_EQ(SafeArrayGetUBound(empty, 1, &upper), S_OK);
    EXPECT_EQ(upper, -1);
    SafeArrayDestroy(empty);
}
