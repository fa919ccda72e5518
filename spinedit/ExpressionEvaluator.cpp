#include "spinedit/ExpressionEvaluator.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "spinedit/EvaluatorMessages.h"

// [SECTION] Loading and variables
// [SECTION] Scanner
// [SECTION] Parser levels
// [SECTION] Names and calls
// [SECTION] Error reports

namespace {

// The C locale's character classes, independent of the current locale.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// Positions are 32-bit; a longer text is cut where they end.
constexpr std::size_t kMaxTextLength = std::numeric_limits<std::int32_t>::max();

} // namespace

// [SECTION] Loading and variables

CExpressionEvaluator::CExpressionEvaluator() {
    // Never read: the name "pi" always gives the constant.
    m_mapVariables.emplace("pi", m_dPi);
}

void CExpressionEvaluator::SetVariable(std::string_view name, double value) {
    const auto variable = m_mapVariables.find(name);
    if (variable != m_mapVariables.end())
        variable->second = value;
    else
        m_mapVariables.emplace(name, value);
}

void CExpressionEvaluator::SetExpression(std::string_view text) {
    m_nToken = kTokenEnd;
    m_dNumber = 0.0;
    m_bError = false;
    m_bEnd = false;
    m_nPos = 0;
    m_nErrorPos = 0;
    m_strName = {};
    m_strText.assign(text.substr(0, kMaxTextLength));
    m_strErrorMessage.clear();
    m_bArgumentComma = false;
    m_nNesting = 0;
    m_bAbandoned = false;
}

double CExpressionEvaluator::Evaluate() {
    return Sum();
}

// [SECTION] Scanner

bool CExpressionEvaluator::Scan() {
    const auto length = static_cast<std::int32_t>(m_strText.size());
    m_nToken = kTokenEnd;
    if (length == 0 || m_bEnd)
        return true;
    while (m_nPos < length && IsSpace(m_strText[m_nPos])) {
        if (++m_nPos >= length) {
            m_bEnd = true;
            return true;
        }
    }
    if (m_nPos >= length) {
        m_bEnd = true;
        return true;
    }
    const char c = m_strText[m_nPos];
    if (++m_nPos >= length)
        m_bEnd = true;
    switch (c) {
    case '!':
    case '%':
    case '(':
    case ')':
    case '*':
    case '+':
    case '-':
    case '/':
    case '=':
    case '^':
    case '\xB0':
        m_nToken = static_cast<signed char>(c);
        return true;
    case '\0':
        return true;
    case ',':
        if (m_bArgumentComma) {
            m_nToken = ',';
            return true;
        }
        return ScanNumber(c);
    case '.':
        return ScanNumber(c);
    default:
        break;
    }
    if (IsDigit(c))
        return ScanNumber(c);
    if (IsNameChar(c)) {
        ScanName();
        return true;
    }
    Report(0x7101, std::string_view(&c, 1));
    return false;
}

bool CExpressionEvaluator::ScanNumber(char first) {
    const auto length = static_cast<std::int32_t>(m_strText.size());
    const std::int32_t start = m_nPos - 1;
    if (!m_bEnd) {
        bool separator = first == '.' || first == ',';
        for (;;) {
            const char c = m_strText[m_nPos];
            const bool isSeparator = c == '.' || (c == ',' && !m_bArgumentComma);
            if (!isSeparator && !IsDigit(c))
                break;
            if (isSeparator) {
                if (separator) {
                    Report(0x7102);
                    return false;
                }
                separator = true;
            }
            if (++m_nPos >= length) {
                m_bEnd = true;
                break;
            }
        }
    }
    m_dNumber = ConvertNumber(std::string_view(m_strText).substr(start, m_nPos - start));
    m_nToken = kTokenNumber;
    return true;
}

double CExpressionEvaluator::ConvertNumber(std::string_view digits) {
    // Digits with at most one separator, read the same in every locale.
    const std::size_t comma = digits.find(',');
    if (comma != std::string_view::npos) {
        m_strNumber.assign(digits);
        m_strNumber[comma] = '.';
        digits = m_strNumber;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)end;
    if (error == std::errc::invalid_argument)
        return 0.0; // a separator alone
    if (error == std::errc::result_out_of_range) {
        // Without an exponent only a long integer part overflows; otherwise
        // the value is below the smallest double.
        const std::string_view whole = digits.substr(0, digits.find('.'));
        return whole.find_first_not_of('0') != std::string_view::npos
                   ? std::numeric_limits<double>::infinity()
                   : 0.0;
    }
    return value;
}

void CExpressionEvaluator::ScanName() {
    const auto length = static_cast<std::int32_t>(m_strText.size());
    const std::int32_t start = m_nPos - 1;
    if (!m_bEnd) {
        while (IsNameChar(m_strText[m_nPos])) {
            if (++m_nPos >= length) {
                m_bEnd = true;
                break;
            }
        }
    }
    m_strName = std::string_view(m_strText).substr(start, m_nPos - start);
    m_nToken = kTokenName;
}

// [SECTION] Parser levels

double CExpressionEvaluator::Sum() {
    double left = Product();
    if (m_bError)
        return 0.0;
    for (;;) {
        if (m_nToken == '+') {
            const double right = Product();
            if (m_bError)
                return 0.0;
            left += right;
        } else if (m_nToken == '-') {
            const double right = Product();
            if (m_bError)
                return 0.0;
            left -= right;
        } else if (m_nToken == '=') {
            // Only a variable can stand left of "=" (see Name).
            return Report(0x1502);
        } else {
            return left;
        }
    }
}

double CExpressionEvaluator::Product() {
    double left = Power();
    if (m_bError)
        return 0.0;
    for (;;) {
        if (m_nToken == '*') {
            const double right = Power();
            if (m_bError)
                return 0.0;
            left *= right;
        } else if (m_nToken == '/') {
            const double divisor = Power();
            if (m_bError)
                return 0.0;
            if (divisor == 0)
                return Report(0x2201);
            left /= divisor;
        } else {
            return left;
        }
    }
}

double CExpressionEvaluator::Power() {
    double left = Remainder();
    if (m_bError)
        return 0.0;
    while (m_nToken == '^') {
        if (!Nest())
            return 0x6105;
        const double exponent = Power();
        Unnest();
        if (m_bError)
            return 0.0;
        // pow() without further checks: a negative base with a fractional
        // exponent gives NaN.
        left = left == 0 && exponent == 0 ? 1.0 : std::pow(left, exponent);
    }
    return left;
}

double CExpressionEvaluator::Remainder() {
    double left = Postfix();
    if (m_bError)
        return 0.0;
    while (m_nToken == '%') {
        if (!Nest())
            return 0x6105;
        const double right = Power();
        Unnest();
        if (m_bError)
            return 0.0;
        left = std::fmod(left, right);
    }
    return left;
}

double CExpressionEvaluator::Postfix() {
    double value = Operand();
    if (m_bError)
        return 0.0;
    for (;;) {
        switch (m_nToken) {
        case kTokenDegree:
            if (!Scan())
                return 0.0;
            value = value * m_dPi * kEvaluatorOneEightieth;
            break;
        case kTokenNumber:
            // The operand level leaves a number current; so is a number
            // that directly follows another one ("2 3" is 2).
            if (!Scan())
                return 0.0;
            break;
        case '!':
            if (!Scan())
                return 0.0;
            if (std::floor(value) != value)
                return Report(0x5606);
            value = EvaluatorFactorial(value);
            break;
        default:
            return value;
        }
    }
}

double CExpressionEvaluator::Operand() {
    if (!Scan())
        return 0.0;
    switch (m_nToken) {
    case kTokenNumber:
        return m_dNumber;
    case '(': {
        if (!Nest())
            return 0x6105;
        const double value = Sum();
        Unnest();
        if (m_nToken != ')')
            return Report(0x6104);
        if (!Scan())
            return 0.0;
        return value;
    }
    case '+':
    case '-': {
        const bool negate = m_nToken == '-';
        if (!Nest())
            return 0x6105;
        const double value = Operand();
        Unnest();
        return negate ? -value : value;
    }
    case kTokenName:
        return Name();
    default:
        return Report(0x6103);
    }
}

// [SECTION] Names and calls

double CExpressionEvaluator::Name() {
    const std::string_view name = m_strName;
    if (const EvaluatorFunctionEntry* function = FindEvaluatorFunction(name))
        return Call(*function);
    if (!Scan())
        return 0.0;
    if (m_nToken == '(')
        return Report(0x6301, name);
    if (name == "pi")
        return m_dPi;
    if (name == "e")
        return m_dE;
    const auto variable = m_mapVariables.find(name);
    if (variable == m_mapVariables.end())
        return Report(0x6503, name);
    if (m_nToken != '=')
        return variable->second;
    if (!Nest())
        return 0x6105;
    const double value = Sum();
    Unnest();
    // A right side that failed stores nothing.
    if (m_bError)
        return 0.0;
    variable->second = value;
    return value;
}

double CExpressionEvaluator::Call(const EvaluatorFunctionEntry& function) {
    if (!Scan())
        return 0.0;
    if (m_nToken != '(')
        return Report(0x6303, function.name);
    if (!Nest())
        return 0x6105;
    const bool outerComma = m_bArgumentComma;
    m_bArgumentComma = function.arguments == 2;
    const double first = Sum();
    double second = 0.0;
    // The checks on the token after each argument run even when the argument
    // failed; a second argument is not read after a failed first one.
    bool failed = false;
    std::uint16_t syntaxError = 0;
    if (function.arguments == 2) {
        if (m_nToken != ',')
            syntaxError = 0x6401;
        else if (m_bError)
            failed = true;
        else
            second = Sum();
    }
    if (syntaxError == 0 && !failed) {
        if (m_nToken == ',')
            syntaxError = 0x6402;
        else if (m_nToken != ')')
            syntaxError = 0x6104;
    }
    // The token after ")" belongs to the enclosing expression.
    m_bArgumentComma = outerComma;
    Unnest();
    if (syntaxError != 0)
        return Report(syntaxError);
    if (failed || !Scan() || m_bError)
        return 0.0;
    const EvaluatorResult result = CallEvaluatorFunction(function.function, first, second);
    if (result.error != 0)
        return Report(result.error, function.name);
    return result.value;
}

// [SECTION] Error reports

bool CExpressionEvaluator::Nest() {
    if (m_nNesting >= kMaxNesting) {
        Report(0x6105);
        m_bAbandoned = true;
        return false;
    }
    ++m_nNesting;
    return true;
}

double CExpressionEvaluator::Report(std::uint16_t code, std::string_view argument) {
    if (!m_bAbandoned) {
        // A code without a message keeps the previous message.
        (void)FormatEvaluatorMessage(m_strErrorMessage, code, argument);
        m_nErrorPos = m_bEnd ? m_nPos : m_nPos - 1;
        m_bError = true;
    }
    return code;
}
