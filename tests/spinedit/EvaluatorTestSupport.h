#pragma once
// Runs one evaluation the way the entry edit box does and collects what the
// owner reads afterwards.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "spinedit/ExpressionEvaluator.h"

struct Evaluation {
    double value{0.0};
    bool error{false};
    std::string message;
    std::int32_t position{0};
};

inline Evaluation Evaluate(CExpressionEvaluator& evaluator, std::string_view text) {
    evaluator.SetExpression(text);
    Evaluation result;
    result.value = evaluator.Evaluate();
    result.error = evaluator.HasError();
    result.message = evaluator.GetErrorMessage();
    result.position = evaluator.GetErrorPosition();
    return result;
}

inline Evaluation Evaluate(std::string_view text) {
    CExpressionEvaluator evaluator;
    return Evaluate(evaluator, text);
}

// "Error 6104 : ..." -> 0x6104; 0 without a message.
inline unsigned ErrorCode(const Evaluation& evaluation) {
    const std::size_t space = evaluation.message.find(' ');
    if (space == std::string::npos)
        return 0;
    return static_cast<unsigned>(std::stoul(evaluation.message.substr(space + 1), nullptr, 16));
}

inline std::ostream& operator<<(std::ostream& out, const Evaluation& evaluation) {
    return out << "value " << evaluation.value << ", error " << evaluation.error << " \""
               << evaluation.message << "\" at " << evaluation.position;
}
