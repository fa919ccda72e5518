// Evaluates arbitrary bytes as an operator's typed text, with variables
// defined as a SpinEdit control defines them, twice on one evaluator so that
// assignments carry over. Traps when what the owner reads is inconsistent.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "spinedit/EvaluatorMessages.h"
#include "spinedit/ExpressionEvaluator.h"

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

void EvaluateAndCheck(CExpressionEvaluator& evaluator, std::string_view text) {
    evaluator.SetExpression(text);
    (void)evaluator.Evaluate();
    const std::string& message = evaluator.GetErrorMessage();
    Check(evaluator.HasError() == !message.empty());
    Check(evaluator.GetErrorPosition() >= 0);
    Check(static_cast<std::size_t>(evaluator.GetErrorPosition()) <= text.size());
    if (evaluator.HasError())
        Check(message.rfind("Error ", 0) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0; // the owner never evaluates an empty text
    CExpressionEvaluator evaluator;
    evaluator.SetVariable("x", 4);
    evaluator.SetVariable("y", -2.5);
    evaluator.SetVariable("LowLimit", 0);
    evaluator.SetVariable("big", 1e300);
    evaluator.SetVariable("_", 0);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    EvaluateAndCheck(evaluator, text);
    EvaluateAndCheck(evaluator, text);
    return 0;
}
