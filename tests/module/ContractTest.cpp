// The interfaces of the built controls, row by row as their documentation
// gives them; DISPIDs are a contract with every host that calls by number.
#include "tests/support/DispatchContract.h"

namespace {

using kw::test::ContractRow;
using kw::test::ExpectContract;
constexpr DispKind P = DispKind::Property;
constexpr DispKind M = DispKind::Method;
constexpr VARTYPE R = VT_BYREF;

TEST(Contract, Led) {
    ExpectContract("Led",
                   {
                       {"Color", 1, P, VT_I2, {}, "m_nLedColor"},
                       {"Shape", 2, P, VT_I2, {}, "m_nLedShape"},
                       {"Mode", 3, P, VT_I2, {}, "m_nLedMode"},
                       {"SetColor", 4, M, VT_EMPTY, {VT_I2}},
                       {"SetShape", 5, M, VT_EMPTY, {VT_I2}},
                       {"SetMode", 6, M, VT_EMPTY, {VT_I2}},
                       {"BorderStyle", -504, P, VT_I2},
                       {"Enabled", -514, P, VT_BOOL},
                       {"AboutBox", -552, M, VT_EMPTY},
                   },
                   {});
}

TEST(Contract, SpinEdit) {
    ExpectContract(
        "SpinEdit",
        {
            {"Label", 1, P, VT_BSTR},
            {"LowLimit", 2, P, VT_R4},
            {"HighLimit", 3, P, VT_R4},
            {"StepVal", 4, P, VT_R4},
            {"Typ", 5, P, VT_I2},
            {"PointPos", 6, P, VT_I2},
            {"Units", 7, P, VT_I2},
            {"DefaultUnit", 8, P, VT_I2},
            {"LabelWidth", 9, P, VT_I2},
            {"SpinWidth", 10, P, VT_I2},
            {"UnitWidth", 11, P, VT_I2},
            {"UnitText", 12, P, VT_BSTR},
            {"UnitsMaskMM", 13, P, VT_I2},
            {"UnitsMaskINCH", 14, P, VT_I2},
            {"AbsWidth", 15, P, VT_I2},
            {"Flags", 16, P, VT_I2},
            {"Value", 17, P, VT_R8},
            {"ControlPointer", 18, P, VT_I4},
            {"SetVal", 19, M, VT_BOOL, {VT_R8, VT_I2}},
            {"GetVal", 20, M, VT_BOOL, {R | VT_R8, VT_I2}},
            {"GetfVal", 21, M, VT_BOOL, {R | VT_R4, VT_I2}},
            {"GetsVal", 22, M, VT_BOOL, {R | VT_I2, VT_I2}},
            {"GetlVal", 23, M, VT_BOOL, {R | VT_I4, VT_I2}},
            {"GetUnit", 24, M, VT_BOOL, {R | VT_I2}},
            {"SetUnit", 25, M, VT_BOOL, {VT_I2}},
            {"SetOffset", 26, M, VT_BOOL, {VT_R8}},
            {"SetLabelColor", 27, M, VT_BOOL, {VT_I4}},
            {"GetLabelColor", 28, M, VT_BOOL, {R | VT_I4}},
            {"SetUndefined", 29, M, VT_EMPTY},
            {"IsDefVal", 30, M, VT_BOOL},
            {"SetValueColor", 31, M, VT_BOOL, {VT_I4}},
            {"GetValueColor", 32, M, VT_BOOL, {R | VT_I4}},
            {"EditHeight", 33, P, VT_I2},
            {"Text", -517, P, VT_BSTR},
            {"BorderStyle", -504, P, VT_I2},
            {"Enabled", -514, P, VT_BOOL},
            {"AboutBox", -552, M, VT_EMPTY},
        },
        {
            {"ValueChanged", 1, M, VT_EMPTY},
            {"UnitChanged", 2, M, VT_EMPTY, {VT_I2, VT_I2, VT_I4}},
            {"LabelChanged", 3, M, VT_EMPTY},
            {"RequestUnitText", 4, M, VT_EMPTY, {R | VT_BSTR, VT_I2, R | VT_I4}},
            {"RequestUnitConvert", 5, M, VT_EMPTY, {VT_R8, VT_I2, R | VT_R8, VT_I2, R | VT_I4, VT_I4}},
            {"RequestLabelText", 6, M, VT_EMPTY, {R | VT_BSTR, R | VT_I4}},
            {"Toggle", 7, M, VT_EMPTY},
        });
}

} // namespace
