// COleSafeArray and COleDispatchDriver against a small dispatch object.
#include "platform/afx/OleDispatchDriver.h"
#include "platform/afx/OleSafeArray.h"
#include "platform/com/DispatchObject.h"

#include <gtest/gtest.h>

TEST(OleSafeArrayTest, OneDimensionalArraysHoldTheirElementsAndBounds) {
    const double values[] = {1.5, -2.25, 3.0};
    COleSafeArray array;
    ASSERT_EQ(array.CreateOneDim(VT_R8, 3, values, 1), S_OK);
    EXPECT_EQ(array.vt, VT_ARRAY | VT_R8);
    EXPECT_EQ(array.GetDim(), 1u);
    EXPECT_EQ(array.GetOneDimSize(), 3u);
    LONG lower = -7, upper = -7;
    EXPECT_EQ(array.GetLBound(1, &lower), S_OK);
    EXPECT_EQ(array.GetUBound(1, &upper), S_OK);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 3);
    EXPECT_EQ(array.GetLBound(2, &lower), DISP_E_BADINDEX);

    LONG index = 2;
    double element = 0;
    EXPECT_EQ(array.GetElement(&index, &element), S_OK);
    EXPECT_EQ(element, -2.25);
    element = 9.5;
    index = 3;
    EXPECT_EQ(array.PutElement(&index, &element), S_OK);
    index = 4;
    EXPECT_EQ(array.GetElement(&index, &element), DISP_E_BADINDEX);

    double* data = nullptr;
    ASSERT_EQ(array.AccessData(reinterpret_cast<void**>(&data)), S_OK);
    EXPECT_EQ(data[0], 1.5);
    EXPECT_EQ(data[2], 9.5);
    EXPECT_EQ(array.UnaccessData(), S_OK);

    // Strings are copied in; the caller's stay the caller's.
    BSTR names[] = {SysAllocStringView("X"), SysAllocStringView("Y")};
    COleSafeArray strings;
    ASSERT_EQ(strings.CreateOneDim(VT_BSTR, 2, names), S_OK);
    SysFreeString(names[0]);
    SysFreeString(names[1]);
    BSTR second = nullptr;
    index = 1;
    EXPECT_EQ(strings.GetElement(&index, &second), S_OK);
    EXPECT_EQ(BstrView(second), "Y");
    SysFreeString(second);

    // Detach gives the variant away; Attach takes one back and empties it.
    VARIANT result = array.Detach();
    EXPECT_EQ(array.vt, VT_EMPTY);
    EXPECT_EQ(array.GetDim(), 0u);
    COleSafeArray again;
    EXPECT_EQ(again.Attach(result), S_OK);
    EXPECT_EQ(result.vt, VT_EMPTY);
    EXPECT_EQ(again.GetOneDimSize(), 3u);
    VARIANT notAnArray;
    VariantInit(&notAnArray);
    EXPECT_EQ(again.Attach(notAnArray), E_INVALIDARG);
    EXPECT_EQ(again.GetOneDimSize(), 3u) << "a failed attach keeps the array";

    // An array still open for access is freed all the same.
    void* open = nullptr;
    EXPECT_EQ(again.AccessData(&open), S_OK);
    again.Clear();
    EXPECT_EQ(again.vt, VT_EMPTY);
}

namespace {

class CSample final : public CDispatchObject {
public:
    CSample();
    LONG GetPointer() { return m_pointer; }
    void SetPointer(LONG) { ThrowDispatchException(CTL_E_SETNOTSUPPORTED, "read-only"); }
    double Scale(double x, SHORT factor) { return x * factor; }

    LONG m_pointer{0x1234};
    std::string m_name{"Led"};
};

constexpr DispParam kScaleParams[] = {{"x", VT_R8}, {"factor", VT_I2}};
const DispEntry kRows[] = {
    DispGetSet<&CSample::GetPointer, &CSample::SetPointer>("ControlPointer", 4, VT_I4),
    DispMember<&CSample::m_name>("Name", 5, VT_BSTR),
    DispMethod<&CSample::Scale>("Scale", 6, VT_R8, kScaleParams),
};
const DispTable kTable{kRows};

CSample::CSample() : CDispatchObject({nullptr, &kTable, GUID_NULL, GUID_NULL, nullptr}, this) {}

} // namespace

TEST(OleDispatchDriverTest, GetsSetsAndInvokesByDispid) {
    auto* sample = new CSample;
    {
        COleDispatchDriver driver;
        driver.AttachDispatch(sample); // Takes the creation reference.

        LONG pointer = 0;
        EXPECT_EQ(driver.GetProperty(4, VT_I4, &pointer), S_OK);
        EXPECT_EQ(pointer, 0x1234);
        double asReal = 0;
        EXPECT_EQ(driver.GetProperty(4, VT_R8, &asReal), S_OK) << "converted to the asked type";
        EXPECT_EQ(asReal, double(0x1234));

        const LONG newValue = 5;
        EXPECT_EQ(driver.SetProperty(4, VT_I4, &newValue), CTL_E_SETNOTSUPPORTED);
        EXPECT_EQ(driver.LastExceptionText(), "read-only");
        EXPECT_EQ(sample->m_pointer, 0x1234);

        const CString name("Schalter");
        EXPECT_EQ(driver.SetProperty(5, VT_BSTR, &name), S_OK);
        CString read;
        EXPECT_EQ(driver.GetProperty(5, VT_BSTR, &read), S_OK);
        EXPECT_EQ(read, "Schalter");

        double scaled = 0;
        EXPECT_EQ(driver.InvokeHelper(6, DISPATCH_METHOD, VT_R8, &scaled, 2.5, SHORT(3)), S_OK);
        EXPECT_EQ(scaled, 7.5);
        EXPECT_EQ(driver.GetProperty(99, VT_I4, &pointer), DISP_E_MEMBERNOTFOUND);
    }
    // The driver released the object; a driver without one fails cleanly.
    COleDispatchDriver none;
    LONG value = 0;
    EXPECT_EQ(none.GetProperty(4, VT_I4, &value), E_POINTER);
}
