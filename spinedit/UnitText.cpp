#include "spinedit/UnitText.h"

#include "spinedit/UnitRequests.h"

#include <optional>

namespace {

constexpr int kUnitTries = 16;
constexpr std::string_view kUnknownHostUnit = " ??? ";

// The unit text of `unit` when the field may show it.
std::optional<std::string> TextOf(WORD unit, const UnitMasks& masks, std::string_view unitConfig,
                                  bool inchSystem, IUnitRequests* host) {
    if (!IsUnitAllowed(unit, masks, inchSystem))
        return std::nullopt;
    if (const auto builtIn = BuiltInUnitText(unit, inchSystem))
        return std::string(*builtIn);
    const int number = HostUnitNumber(unit);
    if (number == 0)
        return std::nullopt;
    if (auto name = FindHostUnitName(unitConfig, number))
        return BracketUnitName(*name);
    std::string answer;
    BOOL handled = 0;
    if (host != nullptr)
        host->RequestUnitText(answer, static_cast<short>(unit), handled);
    return BracketUnitName(handled != 0 ? std::string_view(answer) : kUnknownHostUnit);
}

} // namespace

void UpdateUnitText(UnitDisplay& display, short& pointPos, const UnitMasks& masks,
                    std::string_view unitConfig, bool inchSystem, IUnitRequests* host) {
    WORD unit = display.displayUnit;
    std::optional<std::string> text;
    for (int tries = 0; tries < kUnitTries; ++tries) {
        text = TextOf(unit, masks, unitConfig, inchSystem, host);
        if (text)
            break;
        unit = static_cast<WORD>(unit << 1);
        if (unit == 0)
            unit = 1;
        display.displayUnit = unit;
    }
    display.unitText = text ? std::move(*text) : std::string();
    display.unitTextStale = false;

    if (unitConfig.empty())
        return;
    if (const auto decimals = FindUnitDecimals(unitConfig, LowestUnitBit(display.displayUnit)))
        pointPos = static_cast<short>(*decimals);
}
