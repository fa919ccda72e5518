#include "platform/afx/ControlStorage.h"

#include <set>

namespace {

constexpr const char* kControlFormat = "kestrowidge-control";
constexpr const char* kFormFormat = "kestrowidge-form";
constexpr int kVersion = 1;
// Positions and sizes are 16-bit on the platform's window messages.
constexpr int kMaxCoordinate = 32767;

// Parses without exceptions; nesting is bounded by the caller's checks of
// the shape, and the parser itself does not recurse.
std::optional<nlohmann::json> ParseJson(std::string_view text, std::string* error) {
    nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
    if (j.is_discarded()) {
        if (error)
            *error = "not valid JSON";
        return std::nullopt;
    }
    return j;
}

bool Fail(std::string* error, std::string message) {
    if (error)
        *error = std::move(message);
    return false;
}

bool CheckHeader(const nlohmann::json& j, const char* format, std::string* error) {
    if (!j.is_object())
        return Fail(error, "the document is not a JSON object");
    auto f = j.find("format");
    if (f == j.end() || !f->is_string() || *f != format)
        return Fail(error, std::string("\"format\" is not \"") + format + "\"");
    auto v = j.find("version");
    if (v == j.end() || !v->is_number_integer() || *v != kVersion)
        return Fail(error, "unsupported \"version\" (expected 1)");
    return true;
}

// A property value is a scalar: number, string or boolean.
bool CheckProperties(const nlohmann::json& j, const std::string& where, std::string* error) {
    auto p = j.find("properties");
    if (p == j.end())
        return true;
    if (!p->is_object())
        return Fail(error, where + ": \"properties\" is not an object");
    for (auto it = p->begin(); it != p->end(); ++it)
        if (!(it->is_number() || it->is_string() || it->is_boolean()))
            return Fail(error, where + ": property \"" + it.key() +
                                   "\" is not a number, string "
                                   "or boolean");
    return true;
}

bool ReadClass(const nlohmann::json& j, const std::string& where, StoredControl* out,
               std::string* error) {
    auto c = j.find("class");
    if (c == j.end() || !c->is_string() || c->get_ref<const std::string&>().empty())
        return Fail(error, where + ": \"class\" is missing or empty");
    out->classId = *c;
    if (!CheckProperties(j, where, error))
        return false;
    if (auto p = j.find("properties"); p != j.end())
        out->properties = *p;
    return true;
}

bool ReadCoordinate(const nlohmann::json& j, const char* key, int minimum, int* out,
                    const std::string& where, std::string* error) {
    auto it = j.find(key);
    if (it == j.end() || !it->is_number_integer())
        return Fail(error, where + ": \"" + key + "\" is missing or not an integer");
    long long v = it->get<long long>();
    if (v < minimum || v > kMaxCoordinate)
        return Fail(error, where + ": \"" + key + "\" is out of range");
    *out = static_cast<int>(v);
    return true;
}

nlohmann::ordered_json Header(const char* format) {
    nlohmann::ordered_json j;
    j["format"] = format;
    j["version"] = kVersion;
    return j;
}

std::string Dump(const nlohmann::ordered_json& j) {
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

} // namespace

std::optional<StoredControl> ParseStoredControl(std::string_view text, std::string* error) {
    auto j = ParseJson(text, error);
    if (!j || !CheckHeader(*j, kControlFormat, error))
        return std::nullopt;
    StoredControl control;
    if (!ReadClass(*j, "control", &control, error))
        return std::nullopt;
    return control;
}

std::optional<StoredForm> ParseStoredForm(std::string_view text, std::string* error) {
    auto j = ParseJson(text, error);
    if (!j || !CheckHeader(*j, kFormFormat, error))
        return std::nullopt;
    auto list = j->find("controls");
    if (list == j->end() || !list->is_array()) {
        Fail(error, "\"controls\" is missing or not an array");
        return std::nullopt;
    }
    StoredForm form;
    std::set<std::string> names;
    for (std::size_t i = 0; i < list->size(); ++i) {
        const nlohmann::json& entry = (*list)[i];
        std::string where = "control " + std::to_string(i + 1);
        if (!entry.is_object()) {
            Fail(error, where + " is not an object");
            return std::nullopt;
        }
        StoredControl control;
        auto name = entry.find("name");
        if (name == entry.end() || !name->is_string() ||
            name->get_ref<const std::string&>().empty()) {
            Fail(error, where + ": \"name\" is missing or empty");
            return std::nullopt;
        }
        control.name = *name;
        where += " (\"" + control.name + "\")";
        if (!names.insert(control.name).second) {
            Fail(error, where + ": the name is used twice");
            return std::nullopt;
        }
        if (!ReadClass(entry, where, &control, error) ||
            !ReadCoordinate(entry, "x", -kMaxCoordinate, &control.x, where, error) ||
            !ReadCoordinate(entry, "y", -kMaxCoordinate, &control.y, where, error) ||
            !ReadCoordinate(entry, "w", 0, &control.w, where, error) ||
            !ReadCoordinate(entry, "h", 0, &control.h, where, error))
            return std::nullopt;
        form.controls.push_back(std::move(control));
    }
    return form;
}

std::string FormatStoredControl(const StoredControl& control) {
    nlohmann::ordered_json j = Header(kControlFormat);
    j["class"] = control.classId;
    j["properties"] = control.properties;
    return Dump(j);
}

std::string FormatStoredForm(const StoredForm& form) {
    nlohmann::ordered_json j = Header(kFormFormat);
    j["controls"] = nlohmann::ordered_json::array();
    for (const StoredControl& c : form.controls) {
        nlohmann::ordered_json entry;
        entry["name"] = c.name;
        entry["class"] = c.classId;
        entry["x"] = c.x;
        entry["y"] = c.y;
        entry["w"] = c.w;
        entry["h"] = c.h;
        entry["properties"] = c.properties;
        j["controls"].push_back(std::move(entry));
    }
    return Dump(j);
}
