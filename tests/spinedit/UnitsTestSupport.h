#pragma once
// A host that answers the unit requests as a test tells it to and records
// what it was asked.
#include "spinedit/UnitRequests.h"

#include <optional>
#include <string>
#include <vector>

struct ConvertRequest {
    double curValue;
    short curUnit;
    double newValueIn;
    short newUnit;
};

class RecordingHost : public IUnitRequests {
public:
    void RequestUnitText(std::string& text, short dspUnit, BOOL& bHandled) override {
        textRequests.push_back(dspUnit);
        textIn.push_back(text);
        if (unitName) {
            text = *unitName;
            bHandled = 1;
        } else {
            text = "ignored";
        }
    }
    void RequestUnitConvert(double curValue, short curUnit, double& newValue, short newUnit,
                            BOOL& bHandled) override {
        convertRequests.push_back({curValue, curUnit, newValue, newUnit});
        if (converted) {
            newValue = *converted;
            bHandled = 1;
        } else {
            // An unanswered request's output must not count.
            newValue = -12345.0;
        }
    }

    std::optional<std::string> unitName;
    std::optional<double> converted;
    std::vector<short> textRequests;
    std::vector<std::string> textIn;
    std::vector<ConvertRequest> convertRequests;
};
