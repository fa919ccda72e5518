#pragma once
// The container's storage: one control, or a form of named controls, as
// JSON text.
//
//   {"format": "kestrowidge-control", "version": 1,
//    "class": "Kestrowidge.LedCtrl.1", "properties": {"Color": 2, ...}}
//
//   {"format": "kestrowidge-form", "version": 1, "controls": [
//     {"name": "led1", "class": "Kestrowidge.LedCtrl.1",
//      "x": 10, "y": 10, "w": 12, "h": 12, "properties": {...}}, ...]}
//
// Reading checks the whole shape before anything is used: a text that is not
// such a document is refused with a message naming what is wrong.
#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct StoredControl {
    std::string name;               // forms only
    std::string classId;            // ProgID or {CLSID}
    int x = 0, y = 0, w = 0, h = 0; // forms only
    nlohmann::json properties = nlohmann::json::object();
};

struct StoredForm {
    std::vector<StoredControl> controls;
};

std::optional<StoredControl> ParseStoredControl(std::string_view text, std::string* error);
std::optional<StoredForm> ParseStoredForm(std::string_view text, std::string* error);

// Pretty-printed, keys in a stable order, ending with a newline. Strings
// that are not valid UTF-8 have their bad bytes replaced.
std::string FormatStoredControl(const StoredControl& control);
std::string FormatStoredForm(const StoredForm& form);
