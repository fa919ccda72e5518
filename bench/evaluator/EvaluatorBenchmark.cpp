// Parses and evaluates each expression afresh, once with CExpressionEvaluator
// and once with muparser, in the same run, and prints the ratio per
// expression. A second group times the slowest texts of a thousand characters
// we know how to build.
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <muParser.h>
#include <string>
#include <vector>

#include "spinedit/ExpressionEvaluator.h"

namespace {

constexpr double kX = 3.0;
constexpr double kY = -2.5;

// Texts both evaluators read alike (no unary minus, "%", "!" or degrees).
const std::vector<std::string> kExpressions = {
    "1+2*3",
    "(1+2)*(3+4)/5-6",
    "2^10-3*4/5+6",
    "3.14159*2.71828+1234.5678/9.87654",
    "sin(0.5)^2+cos(0.5)^2",
    "sqrt(x*x+y*y)",
    "exp(ln(10))*abs(y)",
    "x*pi/180+e",
    "((x+1)*(y-2)+sqrt(16)/4)*(x-y)/(1+x*y)+tanh(0.3)",
};

// Pieces repeated, joined by "+", up to a thousand characters.
const std::vector<std::pair<std::string, std::string>> kWorstPieces = {
    {"combinations", "nCp(1028,514)"},
    {"arrangements", "nAp(170,170)"},
    {"remainder", "(2^1023)%(2^-1074)"},
    {"sine", "sin(2^1000)"},
    {"factorial", "170!"},
    {"variables", "x*y"},
    {"functions", "tanh(sinh(Acos(0.3)))"},
    {"logarithm", "logn(1234.5,7)"},
};

std::string Thousand(const std::string& piece) {
    std::string text = piece;
    while (text.size() + 1 + piece.size() <= 1000)
        text += "+" + piece;
    text.resize(1000, ' ');
    return text;
}

std::vector<std::pair<std::string, std::string>> WorstTexts() {
    std::vector<std::pair<std::string, std::string>> texts;
    for (const auto& [name, piece] : kWorstPieces)
        texts.emplace_back(name, Thousand(piece));
    texts.emplace_back("digits", std::string(1000, '7'));
    texts.emplace_back("name", std::string(1000, 'q'));
    texts.emplace_back("nesting", std::string(1000, '('));
    texts.emplace_back("blanks", std::string(999, ' ') + "1");
    return texts;
}

CExpressionEvaluator MakeEvaluator() {
    CExpressionEvaluator evaluator;
    evaluator.SetVariable("x", kX);
    evaluator.SetVariable("y", kY);
    return evaluator;
}

struct MuParser {
    double x{kX};
    double y{kY};
    mu::Parser parser;
    MuParser() {
        parser.DefineVar("x", &x);
        parser.DefineVar("y", &y);
        parser.DefineConst("pi", 3.141592653589793);
        parser.DefineConst("e", 2.718281828459045);
    }
};

void BM_Kestrowidge(benchmark::State& state, const std::string& text) {
    CExpressionEvaluator evaluator = MakeEvaluator();
    for (auto _ : state) {
        evaluator.SetExpression(text);
        benchmark::DoNotOptimize(evaluator.Evaluate());
    }
}

void BM_MuParser(benchmark::State& state, const std::string& text) {
    MuParser mu;
    for (auto _ : state) {
        mu.parser.SetExpr(text);
        benchmark::DoNotOptimize(mu.parser.Eval());
    }
}

// Keeps the time per iteration of every benchmark while the console shows
// them as usual.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> m_nanoseconds;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_nanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// Both evaluators must agree before their times are compared.
bool CheckAgreement() {
    bool agree = true;
    CExpressionEvaluator evaluator = MakeEvaluator();
    MuParser mu;
    for (const std::string& text : kExpressions) {
        evaluator.SetExpression(text);
        const double ours = evaluator.Evaluate();
        mu.parser.SetExpr(text);
        const double theirs = mu.parser.Eval();
        if (evaluator.HasError() || std::fabs(ours - theirs) > 1e-12 * std::fabs(theirs)) {
            std::printf("disagree on %s: %.17g (%s) against %.17g\n", text.c_str(), ours,
                        evaluator.GetErrorMessage().c_str(), theirs);
            agree = false;
        }
    }
    return agree;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!CheckAgreement())
        return 1;
    for (std::size_t i = 0; i < kExpressions.size(); ++i) {
        const std::string& text = kExpressions[i];
        benchmark::RegisterBenchmark(("kestrowidge/" + std::to_string(i)).c_str(), BM_Kestrowidge,
                                     text)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark(("muparser/" + std::to_string(i)).c_str(), BM_MuParser, text)
            ->Unit(benchmark::kNanosecond);
    }
    const auto worst = WorstTexts();
    for (const auto& [name, text] : worst) {
        benchmark::RegisterBenchmark(("thousand/" + name).c_str(), BM_Kestrowidge, text)
            ->Unit(benchmark::kNanosecond);
    }
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto& ns = reporter.m_nanoseconds;
    std::printf("\n%-4s %12s %12s %8s  %s\n", "#", "ours ns", "muparser ns", "ratio", "expression");
    double smallest = 0;
    for (std::size_t i = 0; i < kExpressions.size(); ++i) {
        const auto ours = ns.find("kestrowidge/" + std::to_string(i));
        const auto theirs = ns.find("muparser/" + std::to_string(i));
        if (ours == ns.end() || theirs == ns.end())
            continue;
        const double ratio = theirs->second / ours->second;
        smallest = smallest == 0 ? ratio : std::min(smallest, ratio);
        std::printf("%-4zu %12.1f %12.1f %7.1fx  %s\n", i, ours->second, theirs->second, ratio,
                    kExpressions[i].c_str());
    }
    if (smallest > 0)
        std::printf("smallest ratio %.1fx (goal: 3x or more)\n", smallest);
    double slowest = 0;
    std::string slowestName;
    for (const auto& [name, text] : worst) {
        const auto found = ns.find("thousand/" + name);
        if (found != ns.end() && found->second > slowest) {
            slowest = found->second;
            slowestName = name;
        }
    }
    if (slowest > 0)
        std::printf("slowest 1000-character text: %s, %.1f us (bound: 1000 us)\n",
                    slowestName.c_str(), slowest / 1000);
    return 0;
}
