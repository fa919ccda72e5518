#pragma once
// Evaluates the arithmetic expressions an operator types into a numeric entry
// field: a recursive-descent parser that computes while it parses.
//
// Grammar, loosest level first; each level computes while it reads:
//   sum       product { ("+" | "-") product }           "=" here is an error
//   product   power { ("*" | "/") power }
//   power     remainder { "^" power }                   groups from the right
//   remainder postfix { "%" power }
//   postfix   operand { degree-sign | number | "!" }    a number is passed over
//   operand   number | "(" sum ")" | ("+" | "-") operand | name
//   name      pi | e | function "(" sum ["," sum] ")" | variable ["=" sum]
//
// Numbers take "." or "," as their decimal separator and have no exponent.
// Inside the parentheses of logn, nAp and nCp a "," separates the arguments
// instead, so "logn(8,2)" is 3 there while "2,5" is 2.5 everywhere else; the
// innermost call decides, so "logn(sin(0,5),2)" passes sin(0.5). In those
// calls a decimal fraction is written with ".".
//
// Errors are reported with a numbered message (EvaluatorMessages.h). The
// function that finds an error returns the code as its value and every level
// above it returns 0; a check that follows a failed sub-expression still
// reports its own error, and the last report stands ("(1/0" ends with 0x6104).
// A scanner error ends the level that read the token at once, so "1.2.3"
// reports only 0x7102. Nesting deeper than kMaxNesting ends the evaluation at
// once with 0x6105, so that no text can exhaust the stack.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "spinedit/EvaluatorFunctions.h"

class CExpressionEvaluator {
public:
    // Parentheses, signs, "^" and "%" operands, calls and assignments that
    // may be open at once.
    static constexpr int kMaxNesting = 100;

    CExpressionEvaluator();

    // Defines the variable, or gives an existing one a new value. Variables
    // live as long as the evaluator.
    void SetVariable(std::string_view name, double value);

    // Loads the text of the next evaluation and clears the error state. The
    // variables are kept.
    void SetExpression(std::string_view text);

    // Evaluates the loaded text once. After an error the result is 0, or the
    // error code when the outermost sum found the error itself (a top-level
    // "pi=3" gives 0x1502). Text after the outermost sum is not looked at.
    double Evaluate();

    [[nodiscard]] bool HasError() const { return m_bError; }
    [[nodiscard]] const std::string& GetErrorMessage() const { return m_strErrorMessage; }
    // Index in the text where the last error was reported.
    [[nodiscard]] std::int32_t GetErrorPosition() const { return m_nErrorPos; }

private:
    // Token kinds besides the operator characters, which are their own kind
    // as a signed 8-bit value.
    static constexpr std::int32_t kTokenNumber = 0;
    static constexpr std::int32_t kTokenName = 1;
    static constexpr std::int32_t kTokenEnd = 2;
    // The degree sign, Windows-1252 byte 0xB0.
    static constexpr std::int32_t kTokenDegree = static_cast<signed char>(0xB0);

    // Scanner. Each returns false when it reported an error; the token is then
    // the end of the text.
    [[nodiscard]] bool Scan();
    [[nodiscard]] bool ScanNumber(char first);
    void ScanName();
    [[nodiscard]] double ConvertNumber(std::string_view digits);

    // Parser levels, loosest first.
    double Sum();
    double Product();
    double Power();
    double Remainder();
    double Postfix();
    double Operand();
    double Name();
    double Call(const EvaluatorFunctionEntry& function);

    // Enters one more nesting level; false (after reporting 0x6105) when
    // that would be too deep.
    [[nodiscard]] bool Nest();
    void Unnest() { --m_nNesting; }

    // Reports an error and returns its code as a double.
    double Report(std::uint16_t code, std::string_view argument = {});

    double m_dPi{kEvaluatorPi};
    double m_dE{kEvaluatorE};
    std::int32_t m_nToken{kTokenEnd};
    double m_dNumber{0.0};
    bool m_bError{false};
    // The last character of the text has been consumed.
    bool m_bEnd{false};
    std::int32_t m_nPos{0};
    std::int32_t m_nErrorPos{0};
    // The last name token, a view into m_strText.
    std::string_view m_strName;
    std::string m_strText;
    std::string m_strErrorMessage;
    std::map<std::string, double, std::less<>> m_mapVariables;

    // A "," is an argument separator rather than a decimal separator.
    bool m_bArgumentComma{false};
    std::int32_t m_nNesting{0};
    // Nesting went too deep: no further report replaces 0x6105.
    bool m_bAbandoned{false};
    // Number text with its decimal comma replaced, reused between numbers.
    std::string m_strNumber;
};
