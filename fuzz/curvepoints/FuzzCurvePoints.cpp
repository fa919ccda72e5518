// The curve editor driven as a host and an operator drive it: Points
// changes, SetPoint and GetPoint, paints into bounds of any size, and
// presses, drags and releases anywhere. Each operation is one byte and its
// arguments; under AddressSanitizer a write past the point array, and any
// undefined conversion of a huge or non-numeric value, ends the run.
#include "machine/CurveEditor.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_pos >= m_size; }
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    template <class T> T Value() {
        T value{};
        unsigned char bytes[sizeof(T)] = {};
        for (auto& b : bytes)
            b = Byte();
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos{0};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    CCurveEditor editor;
    int maxPoints = 2; // the Points property
    float minVal = -3.4028235e38f;
    bool yLock = false;
    for (int steps = 0; !in.Empty() && steps < 4096; ++steps) {
        switch (in.Byte() % 9) {
        case 0: // Points: mostly small, sometimes anything a short holds
            maxPoints = in.Byte() & 1 ? int(in.Value<std::int16_t>()) : int(in.Byte() % 12) - 2;
            break;
        case 1: {
            const int index = int(in.Value<std::int16_t>() % 16);
            const float x = in.Value<float>(), y = in.Value<float>();
            const bool stored = editor.SetPoint(index, CurvePoint{x, y}, maxPoints);
            Check(stored == (index >= 0 && index < maxPoints));
            break;
        }
        case 2: {
            const int index = int(in.Value<std::int16_t>() % 16);
            CurvePoint p{-1.0f, -1.0f};
            (void)editor.GetPoint(index, maxPoints, p);
            break;
        }
        case 3: { // a paint into bounds of any size, also empty or inverted
            const int l = in.Value<std::int8_t>(), t = in.Value<std::int8_t>();
            const int w = in.Value<std::int16_t>() % 600, h = in.Value<std::int16_t>() % 600;
            editor.Layout(CRect(l, t, l + w, t + h));
            for (const CurvePoint& p : editor.InUse())
                (void)CurveDevicePoint(p, editor.Scale(), editor.Plot());
            break;
        }
        case 4:
            (void)editor.ButtonDown(CPoint(in.Value<std::int16_t>(), in.Value<std::int16_t>()),
                                    maxPoints);
            break;
        case 5:
            (void)editor.Drag(CPoint(in.Value<std::int16_t>(), in.Value<std::int16_t>()), minVal,
                              yLock);
            break;
        case 6:
            editor.ButtonUp();
            break;
        case 7:
            yLock = !yLock;
            break;
        case 8:
            minVal = in.Value<float>();
            break;
        }
        Check(editor.PointsInUse() >= 0 && editor.PointsInUse() <= editor.Capacity());
        Check(editor.Selection() < editor.Capacity());
    }
    return 0;
}
