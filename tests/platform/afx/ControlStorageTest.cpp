#include "platform/afx/ControlStorage.h"

#include <gtest/gtest.h>

TEST(ControlStorage, AFormRoundTripsThroughItsText) {
    StoredForm form;
    StoredControl led;
    led.name = "led1";
    led.classId = "Kestrowidge.LedCtrl.1";
    led.x = 10, led.y = -4, led.w = 12, led.h = 12;
    led.properties = {{"Color", 3},
                      {"Label", "\xC2\xB0"
                                "C"},
                      {"On", true},
                      {"Rate", 0.5}};
    form.controls.push_back(led);
    led.name = "led2";
    led.properties = nlohmann::json::object();
    form.controls.push_back(led);

    std::string text = FormatStoredForm(form);
    std::string error;
    auto back = ParseStoredForm(text, &error);
    ASSERT_TRUE(back) << error;
    ASSERT_EQ(back->controls.size(), 2u);
    EXPECT_EQ(back->controls[0].name, "led1");
    EXPECT_EQ(back->controls[0].y, -4);
    EXPECT_EQ(back->controls[0].properties, form.controls[0].properties);
    EXPECT_EQ(FormatStoredForm(*back), text); // stable output
    EXPECT_FALSE(ParseStoredControl(text, &error)) << "a form is not a control file";
}

TEST(ControlStorage, DamagedDocumentsAreRefusedWithAReason) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"", "not valid JSON"},
        {"{\"format\": \"kestrowidge-form\", \"version\": 1, \"controls\": [", "not valid JSON"},
        {"[]", "not a JSON object"},
        {R"({"format": "other", "version": 1, "controls": []})", "\"format\""},
        {R"({"format": "kestrowidge-form", "version": 2, "controls": []})", "version"},
        {R"({"format": "kestrowidge-form", "version": 1})", "\"controls\""},
        {R"({"format": "kestrowidge-form", "version": 1, "controls": [1]})", "not an object"},
        {R"({"format": "kestrowidge-form", "version": 1, "controls": [
            {"name": "a", "class": "C", "x": 0, "y": 0, "w": 1, "h": 1},
            {"name": "a", "class": "C", "x": 0, "y": 0, "w": 1, "h": 1}]})",
         "used twice"},
        {R"({"format": "kestrowidge-form", "version": 1, "controls": [
            {"name": "a", "class": "", "x": 0, "y": 0, "w": 1, "h": 1}]})",
         "\"class\""},
        {R"({"format": "kestrowidge-form", "version": 1, "controls": [
            {"name": "a", "class": "C", "x": 0, "y": 0, "w": -1, "h": 1}]})",
         "\"w\" is out of range"},
        {R"({"format": "kestrowidge-form", "version": 1, "controls": [
            {"name": "a", "class": "C", "x": 0.5, "y": 0, "w": 1, "h": 1}]})",
         "\"x\""},
        {R"({"format": "kestrowidge-form", "version": 1, "controls": [
            {"name": "a", "class": "C", "x": 0, "y": 0, "w": 1, "h": 1,
             "properties": {"Font": {"Name": "Arial"}}}]})",
         "property \"Font\""},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseStoredForm(c.text, &error)) << c.text;
        EXPECT_NE(error.find(c.reason), std::string::npos)
            << "expected a message with " << c.reason << ", got: " << error;
    }
}

TEST(ControlStorage, OneControlFile) {
    StoredControl c;
    c.classId = "{6B1E0C51-3D2A-4F7B-9A11-520E7C441001}";
    c.properties = {{"Mode", 2}};
    std::string error;
    auto back = ParseStoredControl(FormatStoredControl(c), &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->classId, c.classId);
    EXPECT_EQ(back->properties["Mode"], 2);
    // Invalid UTF-8 from a host is written with replacement characters,
    // never as a broken file.
    c.properties["Label"] = std::string("a\xFF");
    EXPECT_TRUE(ParseStoredControl(FormatStoredControl(c), &error)) << error;
}
