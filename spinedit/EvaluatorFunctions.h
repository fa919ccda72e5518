#pragma once
// The functions an expression may call, and the factorial and combinatorics
// behind the postfix "!", nAp and nCp.
#include <cstdint>
#include <string_view>

inline constexpr double kEvaluatorPi = 3.141592653589793;
inline constexpr double kEvaluatorE = 2.718281828459045;
// 1/180, written as the decimal the degree conversions have always used.
inline constexpr double kEvaluatorOneEightieth = 0.005555555555555556;

enum class EvaluatorFunction : std::uint8_t {
    Abs,
    Acos,
    Asin,
    Atan,
    Cos,
    Cosh,
    Deg,
    Exp,
    Ln,
    Log,
    Logn,
    NAp,
    NCp,
    Rad,
    Sin,
    Sinh,
    Sqrt,
    Tan,
    Tanh,
};

struct EvaluatorFunctionEntry {
    std::string_view name;
    EvaluatorFunction function;
    int arguments; // 1 or 2
};

// The function of that exact (case-sensitive) name, or nullptr.
const EvaluatorFunctionEntry* FindEvaluatorFunction(std::string_view name);

// A computed value, or the evaluator code of the check that refused the
// arguments (then value is meaningless).
struct EvaluatorResult {
    double value{0.0};
    std::uint16_t error{0};
};

// Checks the arguments and computes. b is ignored by one-argument functions.
EvaluatorResult CallEvaluatorFunction(EvaluatorFunction function, double a, double b);

// n! for an integral n: 0! is 1, a negative n gives -(|n|!), and a result past
// the range of a double is +inf (or -inf).
double EvaluatorFactorial(double n);

// n!/(n-p)! and n!/((n-p)! p!) for integral 1 <= p <= n, exact while the
// result is an integer a double holds exactly, +inf past the double range.
double EvaluatorArrangements(double n, double p);
double EvaluatorCombinations(double n, double p);
