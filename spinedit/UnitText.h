#pragma once
// Settles a field's display unit on a unit it may show and works out the text
// shown beside the value and the decimals the configuration string gives it.
#include "platform/base/WinTypes.h"
#include "spinedit/UnitTable.h"

#include <string>
#include <string_view>

class IUnitRequests;

// The members UpdateUnitText settles.
struct UnitDisplay {
    WORD displayUnit{0};
    std::string unitText;
    bool unitTextStale{true};
};

// Starting with the display unit, tries sixteen units in turn (doubling the
// unit, wrapping from bit 15 to bit 0) until one is allowed and has a text;
// that one becomes the display unit and its text the unit text. No such unit
// leaves an empty unit text. A host unit without a name in `unitConfig` is
// asked of `host` (may be null: nobody answers); unanswered it reads
// " [ ??? ] ". Then, if the configuration string gives the display unit a
// valid number of decimals, `pointPos` takes it; otherwise it stands.
//
// A unit switch is: double the display unit, then call this.
void UpdateUnitText(UnitDisplay& display, short& pointPos, const UnitMasks& masks,
                    std::string_view unitConfig, bool inchSystem, IUnitRequests* host);
