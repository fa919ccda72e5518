// Functions, their argument checks and the factorial and combinatorics behind
// "!", nAp and nCp.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "tests/spinedit/EvaluatorTestSupport.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kInf = std::numeric_limits<double>::infinity();

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

struct ErrorCase {
    const char* text;
    unsigned code;
};

void ExpectErrors(std::initializer_list<ErrorCase> cases) {
    for (const ErrorCase& c : cases) {
        const Evaluation got = Evaluate(c.text);
        EXPECT_TRUE(got.error) << c.text << ": " << got;
        EXPECT_EQ(ErrorCode(got), c.code)
            << c.text << ": expected 0x" << std::hex << c.code << ", got " << got;
    }
}

TEST(EvaluatorFunctions, NineteenNamesCaseSensitive) {
    ExpectValues({
        {"abs(-2)", 2},     {"Acos(1)", 0},         {"Asin(1)", kPi / 2}, {"Atan(1)", kPi / 4},
        {"cos(0)", 1},      {"cosh(0)", 1},         {"deg(pi)", 180},     {"exp(1)", std::exp(1.0)},
        {"ln(e)", 1},       {"log(1000)", 3},       {"logn(8,2)", 3},     {"nAp(5,2)", 20},
        {"nCp(5,2)", 10},   {"rad(180)", kPi},      {"sin(pi/2)", 1},     {"sinh(0)", 0},
        {"sqrt(16)", 4},    {"tan(0)", 0},          {"tanh(0)", 0},       {"sqrt(0)", 0},
        {"2*sqrt(4)^2", 8}, {"sin(cos(0)-1)+1", 1},
    });
    ExpectErrors({{"Sin(1)", 0x6301}, {"acos(1)", 0x6301}, {"LOG(1)", 0x6301}});
    EXPECT_TRUE(std::isnan(Evaluate("Acos(2)").value)); // no check: the library's NaN
}

TEST(EvaluatorFunctions, DomainChecks) {
    ExpectErrors({
        {"ln(0)", 0x6605},
        {"log(-1)", 0x6605},
        {"sqrt(-4)", 0x6605},
        {"logn(0,2)", 0x6605},
        {"ln((-8)^(1/3))", 0x6605}, // NaN fails the check too
        {"sqrt((-8)^(1/3))", 0x6605},
    });
    // The base of logn is not checked.
    EXPECT_EQ(Evaluate("logn(8,1)").value, kInf);
    EXPECT_TRUE(std::isnan(Evaluate("logn(8,0-2)").value));
}

TEST(EvaluatorFunctions, CombinatoricChecksInOrder) {
    ExpectErrors({
        {"nCp(2.5,0-1)", 0x6604}, // not an integer, before the sign
        {"nAp(3,0-1.5)", 0x6604},
        {"nCp(0-1,2)", 0x6603},
        {"nCp(0,0)", 0x6603},
        {"nAp(3,0)", 0x6603},
        {"nCp(2,3)", 0x6602},
        {"nAp(2,3)", 0x6602},
    });
}

TEST(EvaluatorFunctions, CommaSeparatesOnlyTheArgumentsOfTwoArgumentCalls) {
    ExpectValues({
        {"logn(8,2)", 3},
        {"logn(8, 2)", 3},
        {"logn( 8 , 2 )", 3},
        {"nCp(5,2)", 10},
        {"nAp(5,2)", 20},
        {"nCp(5,2)+2,5", 12.5},
        {"2,5+1", 3.5},
        {"logn(6.25,2.5)", 2},
        {"sin(0,5)", std::sin(0.5)},
        {"logn(sqrt(6,25),2)", std::log(2.5) / std::log(2.0)}, // the innermost call decides
    });
}

TEST(EvaluatorFunctions, ArgumentCountErrors) {
    ExpectErrors({
        {"nCp(5)", 0x6401},
        {"logn(8)", 0x6401},
        {"nCp(5,2,1)", 0x6402},
        {"logn(2,5,2)", 0x6402}, // a decimal comma is not read inside logn
        {"sin 1", 0x6303},
        {"sin", 0x6303},
        {"sin(1", 0x6104},
        {"nCp(5,2", 0x6104},
        {"foo(1)", 0x6301},
    });
}

TEST(EvaluatorFunctions, FactorialInDoublePrecision) {
    ExpectValues({
        {"12!", 479001600},
        {"13!", 6227020800.0},
        {"20!", 2432902008176640000.0},
        {"22!", 1124000727777607680000.0},
        {"(-13)!", -6227020800.0},
    });
    EXPECT_TRUE(std::isfinite(Evaluate("170!").value));
    EXPECT_EQ(Evaluate("171!").value, kInf);
    EXPECT_EQ(Evaluate("(-171)!").value, -kInf);
    EXPECT_EQ(Evaluate("1000000000000000!").value, kInf);
    EXPECT_EQ(Evaluate("(2^2000)!").value, kInf);
    EXPECT_EQ(ErrorCode(Evaluate("2.5!")), 0x5606u);
    EXPECT_EQ(ErrorCode(Evaluate("((-8)^(1/3))!")), 0x5606u);
}

TEST(EvaluatorFunctions, CombinatoricsExactAndBounded) {
    ExpectValues({
        {"nCp(20,2)", 190},
        {"nAp(15,3)", 2730},
        {"nCp(5,5)", 1},
        {"nAp(5,5)", 120},
        {"nCp(56,28)", 7648690600760440.0},
        {"nCp(60,30)", static_cast<double>(118264581564861424ULL)},
        {"nAp(20,20)", 2432902008176640000.0},
        {"nCp(1000000000000000,1)", 1e15},
        {"nCp(nAp(3,2),2)", 15},
    });
    const double big = Evaluate("nCp(1000,500)").value;
    EXPECT_NEAR(std::log(big), std::lgamma(1001.0) - 2 * std::lgamma(501.0), 1e-9);
    EXPECT_EQ(Evaluate("nCp(1100,550)").value, kInf);
    EXPECT_EQ(Evaluate("nAp(171,171)").value, kInf);
    EXPECT_EQ(Evaluate("nCp(1000000000000000,500000000000000)").value, kInf);
    EXPECT_EQ(Evaluate("nAp(1000000000000000,500000000000000)").value, kInf);
    EXPECT_EQ(Evaluate("nCp(2^2000,3)").value, kInf);
    EXPECT_EQ(Evaluate("nAp(2^2000,3)").value, kInf);
}

} // namespace
