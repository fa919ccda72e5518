#pragma once
// The numbered messages of the expression evaluator. Texts are Windows-1252.
#include <cstdint>
#include <string>
#include <string_view>

// Format of the message for the low twelve bits of an evaluator code, with
// "%X" where the whole code goes and "%s" where the text argument goes; empty
// when the table has no message for those bits.
std::string_view EvaluatorMessageFormat(std::uint16_t code);

// Writes the message for code into message. Returns false, leaving message as
// it was, when the table has no message for the code's low twelve bits.
bool FormatEvaluatorMessage(std::string& message, std::uint16_t code, std::string_view argument);
