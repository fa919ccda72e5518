#include "resources/generators/PosLayouts.h"

#include <cmath>
#include <cstdlib>
#include <functional>

namespace kw::bitmaps {

namespace {

// A box as the pad reads it: x from the left, y counted from the bottom row
// upwards, both ends included.
struct Box {
    int left, bottom, right, top;
    int Width() const { return right - left + 1; }
    int Height() const { return top - bottom + 1; }
};

enum class Dir { Up, Down, Left, Right, UpLeft, UpRight, DownLeft, DownRight };

// Drawing in a box with local coordinates: x from the box's left, y from
// its top row downwards (the way one reads a picture).
class Canvas {
public:
    explicit Canvas(Picture16& picture) : m_picture(picture) {}

    void Set(const Box& box, int x, int y, Colour c) {
        const int bottomUp = box.top - y;
        m_picture.Set(box.left + x, m_picture.Height() - 1 - bottomUp, c);
    }
    void Fill(const Box& box, const std::function<bool(int, int)>& inside, Colour c) {
        for (int y = 0; y < box.Height(); ++y)
            for (int x = 0; x < box.Width(); ++x)
                if (inside(x, y))
                    Set(box, x, y, c);
    }

private:
    Picture16& m_picture;
};

// An arrow along an axis: `a` runs from the tip (0) to the tail
// (length - 1), `c` across it (0 .. cross - 1). The head widens over
// `head` steps to the full cross width; the shaft keeps `shaft` pixels
// either side of the middle.
bool InArrow(int a, int c, int cross, int head, double shaft) {
    const double middle = (cross - 1) / 2.0;
    const double off = std::abs(c - middle);
    if (a < head)
        return off <= a * middle / (head - 1) + 0.5;
    return off <= shaft;
}

// A straight arrow filling `box` exactly.
void DrawArrow(Canvas& canvas, const Box& box, Dir dir, int head, double shaft) {
    const int w = box.Width(), h = box.Height();
    canvas.Fill(
        box,
        [&](int x, int y) {
            switch (dir) {
            case Dir::Up:
                return InArrow(y, x, w, head, shaft);
            case Dir::Down:
                return InArrow(h - 1 - y, x, w, head, shaft);
            case Dir::Left:
                return InArrow(x, y, h, head, shaft);
            default:
                return InArrow(w - 1 - x, y, h, head, shaft);
            }
        },
        Black);
}

// A diagonal arrow in a square box: a triangular head in the corner it
// points to and a staircase shaft, three pixels across, from the opposite
// corner.
void DrawDiagonal(Canvas& canvas, const Box& box, Dir dir) {
    const int n = box.Width() - 1; // 10 for the 11 x 11 boxes
    const bool flipX = dir == Dir::UpLeft || dir == Dir::DownLeft;
    const bool flipY = dir == Dir::DownLeft || dir == Dir::DownRight;
    canvas.Fill(
        box,
        [&](int x, int y) {
            // In the frame of an arrow pointing up and to the right.
            const int u = flipX ? n - x : x;
            const int v = flipY ? n - y : y;
            const bool head = u - v >= 3 && u >= 3 && v <= n - 3;
            const bool shaft = std::abs(u + v - n) <= 1 && u <= n - 3;
            return head || shaft;
        },
        Black);
}

// A three-quarter ring with an arrowhead at its top end, turning clockwise
// (or, mirrored, anticlockwise).
void DrawTurn(Canvas& canvas, const Box& box, bool clockwise) {
    const int n = box.Width() - 1;
    canvas.Fill(
        box,
        [&](int x, int y) {
            const int u = clockwise ? x : n - x;
            // The ring sits one row low to leave the arrowhead room above.
            const double dx = u - n / 2.0, dy = y - (n / 2.0 + 0.5);
            const double r = std::sqrt(dx * dx + dy * dy);
            const bool ring = r >= 2.4 && r <= 4.7 && !(dx > 0.5 && dy < -0.5);
            // A triangle on the ring's top end, pointing the way it turns.
            const bool head = u >= 5 && u <= 8 && std::abs(y - 2) <= (8 - u) * 2.0 / 3.0 + 0.5;
            return ring || head;
        },
        Black);
}

// Letters 5 x 7, for the lamps.
const char* Glyph(char letter) {
    switch (letter) {
    case 'A':
        return ".###.#...##...#######...##...##...#";
    case 'B':
        return "####.#...##...#####.#...##...#####.";
    case 'X':
        return "#...##...#.#.#...#...#.#.#...##...#";
    case 'Y':
        return "#...##...#.#.#...#....#....#....#..";
    default: // 'Z'
        return "#####....#...#...#...#...#....#####";
    }
}

// A lamp around its centre (x, y bottom-up): a frame of 9 x 11 with the
// letter inside, the centre marked red. The centre falls on a stroke of
// every letter used.
void DrawLamp(Canvas& canvas, int cx, int cy, char letter) {
    const Box box{cx - 4, cy - 5, cx + 4, cy + 5};
    canvas.Fill(
        box,
        [&](int x, int y) {
            const bool frame = x == 0 || x == 8 || y == 0 || y == 10;
            const bool glyph =
                x >= 2 && x <= 6 && y >= 2 && y <= 8 && Glyph(letter)[(y - 2) * 5 + (x - 2)] == '#';
            return frame || glyph;
        },
        Yellow);
    canvas.Set(box, 4, 5, Red);
}

// The seed of a button: one white pixel inside its arrow.
void Seed(Canvas& canvas, const Box& box, int x, int y) {
    canvas.Set(box, x, y, White);
}

// The eight directions of the XY pad, shared by layouts 0, 2 and 3.
void DrawCross(Canvas& canvas) {
    const Box down{26, 4, 38, 17}, up{26, 49, 38, 62};
    const Box left{3, 27, 16, 39}, right{48, 27, 61, 39};
    const Box downLeft{11, 12, 21, 22}, downRight{43, 12, 53, 22};
    const Box upLeft{11, 44, 21, 54}, upRight{43, 44, 53, 54};
    DrawArrow(canvas, down, Dir::Down, 7, 2);
    DrawArrow(canvas, up, Dir::Up, 7, 2);
    DrawArrow(canvas, left, Dir::Left, 7, 2);
    DrawArrow(canvas, right, Dir::Right, 7, 2);
    DrawDiagonal(canvas, downLeft, Dir::DownLeft);
    DrawDiagonal(canvas, downRight, Dir::DownRight);
    DrawDiagonal(canvas, upLeft, Dir::UpLeft);
    DrawDiagonal(canvas, upRight, Dir::UpRight);
    // Seeds on the middle line of each arrow; the pad numbers its buttons
    // in the order it meets them, bottom row first.
    for (const Box* b : {&down, &up})
        Seed(canvas, *b, 6, 7);
    for (const Box* b : {&left, &right})
        Seed(canvas, *b, 7, 6);
    for (const Box* b : {&downLeft, &downRight, &upLeft, &upRight})
        Seed(canvas, *b, 5, 5);
}

Picture16 XyzPad() {
    Picture16 p(83, 66, LightGrey);
    Canvas canvas(p);
    DrawCross(canvas);
    const Box zDown{65, 4, 77, 17}, zUp{65, 49, 77, 62};
    DrawArrow(canvas, zDown, Dir::Down, 7, 2);
    DrawArrow(canvas, zUp, Dir::Up, 7, 2);
    Seed(canvas, zDown, 6, 7);
    Seed(canvas, zUp, 6, 7);
    DrawLamp(canvas, 27, 34, 'X');
    DrawLamp(canvas, 37, 34, 'Y');
    DrawLamp(canvas, 71, 34, 'Z');
    return p;
}

Picture16 RotationPad() {
    Picture16 p(46, 46, LightGrey);
    Canvas canvas(p);
    const Box plus{8, 9, 17, 18}, minus{28, 9, 37, 18};
    DrawTurn(canvas, plus, true);
    DrawTurn(canvas, minus, false);
    Seed(canvas, plus, 0, 4);
    Seed(canvas, minus, 9, 4);
    return p;
}

Picture16 XyPad(char first, char second) {
    Picture16 p(65, 66, LightGrey);
    Canvas canvas(p);
    DrawCross(canvas);
    DrawLamp(canvas, 27, 34, first);
    DrawLamp(canvas, 37, 34, second);
    return p;
}

Picture16 ZPad() {
    Picture16 p(65, 54, LightGrey);
    Canvas canvas(p);
    const Box allMinus{17, 1, 47, 13}, allPlus{17, 17, 47, 29};
    const Box xyMinus{1, 39, 14, 51}, xyPlus{17, 39, 30, 51};
    const Box zaPlus{34, 39, 47, 51}, zaMinus{50, 39, 63, 51};
    DrawArrow(canvas, allMinus, Dir::Down, 8, 5);
    DrawArrow(canvas, allPlus, Dir::Up, 8, 5);
    DrawArrow(canvas, xyMinus, Dir::Down, 7, 2);
    DrawArrow(canvas, xyPlus, Dir::Up, 7, 2);
    DrawArrow(canvas, zaPlus, Dir::Up, 7, 2);
    DrawArrow(canvas, zaMinus, Dir::Down, 7, 2);
    Seed(canvas, allMinus, 15, 6);
    Seed(canvas, allPlus, 15, 6);
    for (const Box* b : {&xyMinus, &xyPlus, &zaPlus, &zaMinus})
        Seed(canvas, *b, 6, 6);
    DrawLamp(canvas, 9, 30, 'A');
    DrawLamp(canvas, 55, 30, 'B');
    return p;
}

} // namespace

Picture16 MakePosLayout(int layout) {
    switch (layout) {
    case 1:
        return RotationPad();
    case 2:
        return XyPad('A', 'B');
    case 3:
        return XyPad('X', 'Y');
    case 4:
        return ZPad();
    default:
        return XyzPad();
    }
}

} // namespace kw::bitmaps
