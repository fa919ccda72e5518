// The parser levels: precedence, associativity, the postfix chain, numbers and
// what happens to text after the outermost sum.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

#include "tests/spinedit/EvaluatorTestSupport.h"

namespace {

struct Case {
    const char* text;
    double expected;
};

void ExpectValues(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        const Evaluation got = Evaluate(c.text);
        EXPECT_FALSE(got.error) << c.text << ": " << got;
        EXPECT_DOUBLE_EQ(got.value, c.expected) << c.text << ": " << got;
    }
}

TEST(EvaluatorLevels, PrecedenceAndAssociativity) {
    ExpectValues({
        {"1+2*3", 7},
        {"1-2-3", -4},
        {"8/2/2", 2},
        {"6/2*3", 9},
        {"2^3^2", 512},
        {"2*3^2", 18},
        {"(1+2)*3", 9},
        {"0^0", 1},
        {"2^-1", 0.5},
        {"10 % 4", 2},
        {"7 % 2 ^ 2", 3},
        {"2 ^ 7 % 4", 8},
        {"7 % 3 % 2", 0},
        {"2*7%4", 6},
    });
}

TEST(EvaluatorLevels, UnarySignsBindTighterThanEveryOperator) {
    ExpectValues({
        {"-2^2", 4},
        {"-3!", -6},
        {"--2", 2},
        {"+-+2", -2},
        {"2*-3", -6},
        {"2--3", 5},
    });
}

TEST(EvaluatorLevels, PostfixChain) {
    const double halfPi = 3.141592653589793 / 2;
    ExpectValues({
        {"90\xB0", halfPi},
        {"45\xB0\xB0", 45 * 3.141592653589793 / 180 * 3.141592653589793 / 180},
        {"3!", 6},
        {"0!", 1},
        {"3!!", 720},
        {"3!\xB0", 6 * 3.141592653589793 / 180},
        {"(2+1)!", 6},
        {"(-3)!", -6},
        {"(-1)!", -1},
    });
    EXPECT_DOUBLE_EQ(Evaluate("90\xB0").value, Evaluate("rad(90)").value);
}

TEST(EvaluatorLevels, NumbersTakePointOrCommaAndHaveNoExponent) {
    CExpressionEvaluator evaluator;
    evaluator.SetVariable("e1", 100); // never reached: "e1" reads as e, 1
    ExpectValues({
        {"2,5+1", 3.5},
        {"2.5+1", 3.5},
        {".5", 0.5},
        {",5", 0.5},
        {"5.", 5},
        {".", 0},
        {"007", 7},
        {"1e3", 1}, // the number 1; "e3" is passed over as trailing text
        {"e", 2.718281828459045},
        {"pi", 3.141592653589793},
    });
    EXPECT_DOUBLE_EQ(Evaluate(evaluator, "e1").value, 2.718281828459045);
    const std::string huge(400, '9');
    EXPECT_EQ(Evaluate(huge).value, std::numeric_limits<double>::infinity());
    EXPECT_EQ(Evaluate("0." + std::string(400, '0') + "1").value, 0.0);
}

TEST(EvaluatorLevels, TextAfterTheOutermostSumIsIgnored) {
    ExpectValues({
        {"2)", 2},
        {"3 + 4 5", 7},
        {"2 3", 2},
        {"(2)3", 2},
        {"1+2) # not read", 3},
        {" \t\r\n 7 \n", 7},
    });
    EXPECT_DOUBLE_EQ(Evaluate(std::string_view("4\0+1", 4)).value, 4);
}

TEST(EvaluatorLevels, ResultsOutsideTheReals) {
    // pow and fmod without checks, as the library computes them.
    EXPECT_TRUE(std::isnan(Evaluate("(-8)^(1/3)").value));
    EXPECT_TRUE(std::isnan(Evaluate("5 % 0").value));
    EXPECT_FALSE(Evaluate("5 % 0").error);
    EXPECT_EQ(Evaluate("2^2000").value, std::numeric_limits<double>::infinity());
}

} // namespace
