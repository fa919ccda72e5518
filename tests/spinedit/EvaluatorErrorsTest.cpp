// Error reports (code, byte-exact Windows-1252 message, position), the last
// report standing, variables and assignment, and bounded nesting.
#include <gtest/gtest.h>
#include <pthread.h>
#include <string>

#include "spinedit/EvaluatorMessages.h"
#include "tests/spinedit/EvaluatorTestSupport.h"

namespace {

struct ReportCase {
    std::string text;
    std::string message;
    std::int32_t position;
};

TEST(EvaluatorErrors, EachCodeWithItsMessageAndPosition) {
    const ReportCase cases[] = {
        {"2#3", "Error 7101 : unerwartetes Zeichen '#'", 1},
        {"2\x80", "Error 7101 : unerwartetes Zeichen '\x80'", 2},
        {"1.2.3", "Error 7102 : Ziffer erwartet", 2},
        {"   ", "Error 6103 : mathematischer Ausdruck erwartet", 3},
        {"2*)", "Error 6103 : mathematischer Ausdruck erwartet", 3},
        {"(1+2", "Error 6104 : ')' erwartet", 4},
        {"1/0", "Error 2201 : Division durch 0", 3},
        {"1/(2-2)", "Error 2201 : Division durch 0", 7},
        {"foo(1)", "Error 6301 : unbekannter Funktionsaufruf ('foo')", 3},
        {"sin 1", "Error 6303 : Fehler bei Funktionsaufruf ('sin')", 5},
        {"nCp(5)", "Error 6401 : zu wenig Parameter. ',' erwartet", 6},
        {"nCp(5,2,1)", "Error 6402 : zu viele Parameter. ')' erwartet", 7},
        {"pi=3", "Error 1502 : Cannot assign a literal", 2},
        {"x+1", "Error 6503 : Variable 'x' nicht definiert", 1},
        {"nCp(2,3)", "Error 6602 : 'p' mu\xDF kleiner als 'n' sein", 8},
        {"nCp(0,1)", "Error 6603 : Parameter m\xFCssen Positiv sein", 8},
        {"nCp(1.5,1)", "Error 6604 : Parameter m\xFCssen ganze Zahlen sein", 10},
        {"sqrt(-4)", "Error 6605 : Parameter mu\xDF Positiv sein", 8},
        {"2.5!", "Error 5606 : Parameter mu\xDF ganze Zahl sein", 4},
        {std::string(1000, '('), "Error 6105 : Ausdruck zu tief verschachtelt",
         CExpressionEvaluator::kMaxNesting},
    };
    for (const ReportCase& c : cases) {
        const Evaluation got = Evaluate(c.text);
        EXPECT_TRUE(got.error) << c.text;
        EXPECT_EQ(got.message, c.message) << c.text;
        EXPECT_EQ(got.position, c.position) << c.text << ": " << got;
    }
}

TEST(EvaluatorErrors, MessagesWithoutARaisingCheck) {
    std::string message = "kept";
    EXPECT_TRUE(FormatEvaluatorMessage(message, 0x6302, "abs"));
    EXPECT_EQ(message, "Error 6302 : unbekannter Funktionsaufruf ('abs')");
    EXPECT_TRUE(FormatEvaluatorMessage(message, 0xF01, "abs"));
    EXPECT_EQ(message, "Warning F01 : Funktion ('abs') nicht implementiert");
    message = "kept";
    EXPECT_FALSE(FormatEvaluatorMessage(message, 0x6999, "abs"));
    EXPECT_EQ(message, "kept");
}

TEST(EvaluatorErrors, TheDetectingLevelReturnsTheCode) {
    EXPECT_EQ(Evaluate("pi=3").value, 0x1502);
    EXPECT_EQ(Evaluate("e=1").value, 0x1502);
    EXPECT_EQ(Evaluate("3=4").value, 0x1502);
    EXPECT_EQ(Evaluate("1/0").value, 0); // found below the outermost sum
    EXPECT_EQ(Evaluate("x").value, 0);
}

TEST(EvaluatorErrors, TheLastReportStands) {
    const struct {
        const char* text;
        unsigned code;
    } cases[] = {
        {"(1/0", 0x6104},        {"(1/0)", 0x2201},       {"(1.2.3)", 0x6104},
        {"1.2.3", 0x7102},       {"sin#", 0x7101},        {"(1/0+2)", 0x6104},
        {"sin(1/0", 0x6104},     {"sqrt(1/0)", 0x2201},   {"ln(1/0)", 0x2201},
        {"logn(1/0,2)", 0x2201}, {"logn(2,1/0)", 0x2201}, {"(x", 0x6104},
        {"-", 0x6103},           {"2.5!!", 0x5606},
    };
    for (const auto& c : cases) {
        const Evaluation got = Evaluate(c.text);
        EXPECT_EQ(ErrorCode(got), c.code) << c.text << ": " << got;
    }
}

TEST(EvaluatorErrors, LoadingClearsTheErrorState) {
    CExpressionEvaluator evaluator;
    ASSERT_TRUE(Evaluate(evaluator, "1/0").error);
    const Evaluation got = Evaluate(evaluator, "1+1");
    EXPECT_FALSE(got.error);
    EXPECT_EQ(got.message, "");
    EXPECT_EQ(got.position, 0);
    EXPECT_EQ(got.value, 2);
}

TEST(EvaluatorVariables, DefinedByTheOwnerAssignedByTheOperator) {
    CExpressionEvaluator evaluator;
    EXPECT_EQ(ErrorCode(Evaluate(evaluator, "x+1")), 0x6503u);
    evaluator.SetVariable("x", 4);
    EXPECT_EQ(Evaluate(evaluator, "x=x*2").value, 8);
    EXPECT_EQ(Evaluate(evaluator, "x").value, 8); // survives to the next evaluation
    EXPECT_EQ(Evaluate(evaluator, "1+(x=2)*3").value, 7);
    EXPECT_EQ(Evaluate(evaluator, "x").value, 2);
    evaluator.SetVariable("y", 1);
    EXPECT_EQ(Evaluate(evaluator, "x=y=5").value, 5);
    EXPECT_EQ(Evaluate(evaluator, "x+y").value, 10);
    evaluator.SetVariable("x", -1); // overwrites
    EXPECT_EQ(Evaluate(evaluator, "x").value, -1);
    EXPECT_EQ(ErrorCode(Evaluate(evaluator, "X")), 0x6503u);   // case-sensitive
    EXPECT_EQ(ErrorCode(Evaluate(evaluator, "z=3")), 0x6503u); // only existing ones
    EXPECT_EQ(ErrorCode(Evaluate(evaluator, "(x)=3")), 0x1502u);
    EXPECT_EQ(ErrorCode(Evaluate(evaluator, "x(1)")), 0x6301u);
    evaluator.SetVariable("pi", 3); // the constant shadows it
    EXPECT_DOUBLE_EQ(Evaluate(evaluator, "pi").value, 3.141592653589793);
}

TEST(EvaluatorVariables, AFailedAssignmentStoresNothing) {
    CExpressionEvaluator evaluator;
    evaluator.SetVariable("x", 4);
    for (const char* text : {"x=1/0", "x=sqrt(-1)", "x=q", "x=", "x=1=2", "x=(1", "x=1.2.3"}) {
        EXPECT_TRUE(Evaluate(evaluator, text).error) << text;
        EXPECT_EQ(Evaluate(evaluator, "x").value, 4) << "after " << text;
    }
}

// Runs body on a thread whose whole stack is the given size.
template <typename Body> void RunOnStack(std::size_t bytes, Body body) {
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, bytes), 0);
    pthread_t thread;
    auto entry = [](void* argument) -> void* {
        (*static_cast<Body*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, entry, &body), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

std::string Repeat(std::string_view piece, std::size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

TEST(EvaluatorNesting, BoundedAtTheLimit) {
    const int limit = CExpressionEvaluator::kMaxNesting;
    const std::string fits = Repeat("(", limit) + "1" + Repeat(")", limit);
    const Evaluation ok = Evaluate(fits);
    EXPECT_FALSE(ok.error) << ok;
    EXPECT_EQ(ok.value, 1);
    const std::string deeper = Repeat("(", limit + 1) + "1" + Repeat(")", limit + 1);
    EXPECT_EQ(ErrorCode(Evaluate(deeper)), 0x6105u);
}

TEST(EvaluatorNesting, DeepTextsEndPromptlyWithinASmallStack) {
    CExpressionEvaluator evaluator;
    evaluator.SetVariable("x", 1);
    const std::string_view pieces[] = {"(",    "-",     "+",  "2^",       "1%",
                                       "sin(", "logn(", "x=", "(-sqrt(2^"};
    // 256 KiB is the budget of the stack; the sanitizers make frames larger.
    RunOnStack(256 * 1024, [&] {
        for (std::string_view piece : pieces) {
            const std::string text = Repeat(piece, 100000) + "1";
            const Evaluation got = Evaluate(evaluator, text);
            EXPECT_EQ(ErrorCode(got), 0x6105u) << piece << "...: " << got;
        }
    });
}

TEST(EvaluatorSafety, EveryPairOfBytes) {
    // Whatever the text, an evaluation ends with a known message or none, and
    // the error position lies inside the text.
    CExpressionEvaluator evaluator;
    evaluator.SetVariable("x", 2);
    std::string text(2, '\0');
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            text[0] = static_cast<char>(first);
            text[1] = static_cast<char>(second);
            const Evaluation got = Evaluate(evaluator, text);
            ASSERT_EQ(got.error, !got.message.empty()) << first << " " << second;
            ASSERT_GE(got.position, 0);
            ASSERT_LE(got.position, 2);
            if (got.error) {
                ASSERT_FALSE(
                    EvaluatorMessageFormat(static_cast<std::uint16_t>(ErrorCode(got))).empty());
            }
        }
    }
}

} // namespace
