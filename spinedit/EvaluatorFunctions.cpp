#include "spinedit/EvaluatorFunctions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// In the order the names have always been looked up.
constexpr std::array<EvaluatorFunctionEntry, 19> kFunctions{{
    {"abs", EvaluatorFunction::Abs, 1},   {"Acos", EvaluatorFunction::Acos, 1},
    {"Asin", EvaluatorFunction::Asin, 1}, {"Atan", EvaluatorFunction::Atan, 1},
    {"cos", EvaluatorFunction::Cos, 1},   {"cosh", EvaluatorFunction::Cosh, 1},
    {"deg", EvaluatorFunction::Deg, 1},   {"exp", EvaluatorFunction::Exp, 1},
    {"ln", EvaluatorFunction::Ln, 1},     {"log", EvaluatorFunction::Log, 1},
    {"logn", EvaluatorFunction::Logn, 2}, {"nAp", EvaluatorFunction::NAp, 2},
    {"nCp", EvaluatorFunction::NCp, 2},   {"rad", EvaluatorFunction::Rad, 1},
    {"sin", EvaluatorFunction::Sin, 1},   {"sinh", EvaluatorFunction::Sinh, 1},
    {"sqrt", EvaluatorFunction::Sqrt, 1}, {"tan", EvaluatorFunction::Tan, 1},
    {"tanh", EvaluatorFunction::Tanh, 1},
}};

// The largest n whose factorial a double holds; 171! is past its range.
constexpr int kMaxFactorial = 170;

// n! for 0 <= n <= 170. Up to 34! the products are exact 128-bit integers,
// rounded once; above, each entry is the previous one times n.
constexpr std::array<double, kMaxFactorial + 1> MakeFactorials() {
    std::array<double, kMaxFactorial + 1> table{};
    unsigned __int128 exact = 1;
    table[0] = 1.0;
    for (int n = 1; n <= kMaxFactorial; ++n) {
        if (n <= 34) {
            exact *= static_cast<unsigned>(n);
            table[n] = static_cast<double>(exact);
        } else {
            table[n] = table[n - 1] * n;
        }
    }
    return table;
}

constexpr std::array<double, kMaxFactorial + 1> kFactorials = MakeFactorials();

// Integral doubles below this convert to std::uint64_t without loss.
constexpr double kTwoTo64 = 18446744073709551616.0;
constexpr unsigned __int128 kMaxUint64 = std::numeric_limits<std::uint64_t>::max();

EvaluatorResult Refuse(std::uint16_t code) {
    return {0.0, code};
}

EvaluatorResult CallCombinatoric(EvaluatorFunction function, double n, double p) {
    if (std::floor(n) != n || std::floor(p) != p)
        return Refuse(0x6604);
    if (p <= 0 || n <= 0)
        return Refuse(0x6603);
    if (p > n)
        return Refuse(0x6602);
    return {function == EvaluatorFunction::NAp ? EvaluatorArrangements(n, p)
                                               : EvaluatorCombinations(n, p),
            0};
}

} // namespace

const EvaluatorFunctionEntry* FindEvaluatorFunction(std::string_view name) {
    for (const EvaluatorFunctionEntry& entry : kFunctions) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

double EvaluatorFactorial(double n) {
    const double magnitude = std::fabs(n);
    const double factorial =
        magnitude > kMaxFactorial ? kInfinity : kFactorials[static_cast<int>(magnitude)];
    return n < 0 ? -factorial : factorial;
}

double EvaluatorArrangements(double n, double p) {
    // n!/(n-p)! is p! times a binomial coefficient, so it is at least p!.
    if (p > kMaxFactorial)
        return kInfinity;
    const int count = static_cast<int>(p);
    int i = 0;
    double product = 1.0;
    if (n < kTwoTo64) {
        // Exact integer product while it fits 64 bits.
        const std::uint64_t top = static_cast<std::uint64_t>(n);
        std::uint64_t exact = 1;
        for (; i < count; ++i) {
            const unsigned __int128 next = static_cast<unsigned __int128>(exact) * (top - i);
            if (next > kMaxUint64)
                break;
            exact = static_cast<std::uint64_t>(next);
        }
        product = static_cast<double>(exact);
        for (; i < count && !std::isinf(product); ++i)
            product *= static_cast<double>(top - i);
        return product;
    }
    for (; i < count && !std::isinf(product); ++i)
        product *= n - i;
    return product;
}

double EvaluatorCombinations(double n, double p) {
    if (p == n)
        return 1.0;
    const double smaller = std::min(p, n - p);
    // nCp(n, k) >= nCp(2k, k) >= 4^k / (2 sqrt(k)), past 2^1024 from k = 520
    // on, so the loops below run at most 519 times.
    if (smaller >= 520)
        return kInfinity;
    const std::uint64_t count = static_cast<std::uint64_t>(smaller);
    std::uint64_t i = 1;
    double result = 1.0;
    double base = n - smaller;
    if (n < kTwoTo64) {
        // c(i) = c(i-1) * (n - k + i) / i is nCp(n - k + i, i), an integer, so
        // each division is exact while the product fits 128 bits.
        const std::uint64_t bottom = static_cast<std::uint64_t>(n) - count;
        std::uint64_t exact = 1;
        for (; i <= count; ++i) {
            const unsigned __int128 next = static_cast<unsigned __int128>(exact) * (bottom + i) / i;
            if (next > kMaxUint64)
                break;
            exact = static_cast<std::uint64_t>(next);
        }
        result = static_cast<double>(exact);
        base = static_cast<double>(bottom);
    }
    for (; i <= count && std::isfinite(result); ++i) {
        const double factor = base + static_cast<double>(i);
        const double product = result * factor;
        result = std::isinf(product) ? result / static_cast<double>(i) * factor
                                     : product / static_cast<double>(i);
    }
    return result;
}

// The domain checks are written so that NaN fails them.
EvaluatorResult CallEvaluatorFunction(EvaluatorFunction function, double a, double b) {
    switch (function) {
    case EvaluatorFunction::Abs:
        return {std::fabs(a), 0};
    case EvaluatorFunction::Acos:
        return {std::acos(a), 0};
    case EvaluatorFunction::Asin:
        return {std::asin(a), 0};
    case EvaluatorFunction::Atan:
        return {std::atan(a), 0};
    case EvaluatorFunction::Cos:
        return {std::cos(a), 0};
    case EvaluatorFunction::Cosh:
        return {std::cosh(a), 0};
    case EvaluatorFunction::Deg:
        return {a * 180 / kEvaluatorPi, 0};
    case EvaluatorFunction::Exp:
        return {std::exp(a), 0};
    case EvaluatorFunction::Ln:
        return a > 0 ? EvaluatorResult{std::log(a), 0} : Refuse(0x6605);
    case EvaluatorFunction::Log:
        return a > 0 ? EvaluatorResult{std::log10(a), 0} : Refuse(0x6605);
    case EvaluatorFunction::Logn:
        // The base is not checked: base 1 gives inf, a negative base NaN.
        return a > 0 ? EvaluatorResult{std::log(a) / std::log(b), 0} : Refuse(0x6605);
    case EvaluatorFunction::NAp:
    case EvaluatorFunction::NCp:
        return CallCombinatoric(function, a, b);
    case EvaluatorFunction::Rad:
        return {a * kEvaluatorPi * kEvaluatorOneEightieth, 0};
    case EvaluatorFunction::Sin:
        return {std::sin(a), 0};
    case EvaluatorFunction::Sinh:
        return {std::sinh(a), 0};
    case EvaluatorFunction::Sqrt:
        return a >= 0 ? EvaluatorResult{std::sqrt(a), 0} : Refuse(0x6605);
    case EvaluatorFunction::Tan:
        return {std::tan(a), 0};
    case EvaluatorFunction::Tanh:
        return {std::tanh(a), 0};
    }
    // A table entry without a computation.
    return Refuse(0x6302);
}
