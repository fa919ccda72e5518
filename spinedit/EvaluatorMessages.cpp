#include "spinedit/EvaluatorMessages.h"

#include <array>

namespace {

struct MessageEntry {
    std::uint16_t lowBits;
    std::string_view format;
};

// The operator reads these texts; they are byte-exact Windows-1252 (0xDF is
// "sharp s", 0xFC is "u umlaut").
constexpr std::array kMessages{
    MessageEntry{0x101, "Error %X : unerwartetes Zeichen '%s'"},
    MessageEntry{0x102, "Error %X : Ziffer erwartet"},
    MessageEntry{0x103, "Error %X : mathematischer Ausdruck erwartet"},
    MessageEntry{0x104, "Error %X : ')' erwartet"},
    MessageEntry{0x105, "Error %X : Ausdruck zu tief verschachtelt"},
    MessageEntry{0x201, "Error %X : Division durch 0"},
    MessageEntry{0x301, "Error %X : unbekannter Funktionsaufruf ('%s')"},
    MessageEntry{0x302, "Error %X : unbekannter Funktionsaufruf ('%s')"},
    MessageEntry{0x303, "Error %X : Fehler bei Funktionsaufruf ('%s')"},
    MessageEntry{0x401, "Error %X : zu wenig Parameter. ',' erwartet"},
    MessageEntry{0x402, "Error %X : zu viele Parameter. ')' erwartet"},
    MessageEntry{0x502, "Error %X : Cannot assign a literal"},
    MessageEntry{0x503, "Error %X : Variable '%s' nicht definiert"},
    MessageEntry{0x602, "Error %X : 'p' mu\xDF kleiner als 'n' sein"},
    MessageEntry{0x603, "Error %X : Parameter m\xFCssen Positiv sein"},
    MessageEntry{0x604, "Error %X : Parameter m\xFCssen ganze Zahlen sein"},
    MessageEntry{0x605, "Error %X : Parameter mu\xDF Positiv sein"},
    MessageEntry{0x606, "Error %X : Parameter mu\xDF ganze Zahl sein"},
    MessageEntry{0xF01, "Warning %X : Funktion ('%s') nicht implementiert"},
};

void AppendHex(std::string& out, std::uint16_t value) {
    char digits[4];
    int count = 0;
    do {
        digits[count++] = "0123456789ABCDEF"[value & 0xF];
        value = static_cast<std::uint16_t>(value >> 4);
    } while (value != 0);
    while (count > 0)
        out += digits[--count];
}

} // namespace

std::string_view EvaluatorMessageFormat(std::uint16_t code) {
    const std::uint16_t lowBits = code & 0xFFF;
    for (const MessageEntry& entry : kMessages) {
        if (entry.lowBits == lowBits)
            return entry.format;
    }
    return {};
}

bool FormatEvaluatorMessage(std::string& message, std::uint16_t code, std::string_view argument) {
    const std::string_view format = EvaluatorMessageFormat(code);
    if (format.empty())
        return false;
    message.clear();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 'X') {
                AppendHex(message, code);
                ++i;
                continue;
            }
            if (format[i + 1] == 's') {
                message += argument;
                ++i;
                continue;
            }
        }
        message += format[i];
    }
    return true;
}
