#pragma once
// Path data as drawn by the figure library: the command letters and number
// texts of an SVG path string, and their meaning as a path of move, line,
// Bézier and close segments that any drawing back end can replay.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Brisvane {

struct PointF {
    float x = 0, y = 0;
    bool operator==(const PointF&) const = default;
};

// Not normalised: (left, top) is where a drag began, (right, bottom) where it ended.
struct RectF {
    float left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const RectF&) const = default;
};

// True when a and b differ by no more than one unit in the last place of the
// larger of 1, |a| and |b|.
bool nearlyEqual(float a, float b);

// The standard string-to-float conversion's reading: leading blanks skipped, the
// longest number at the start converted and the rest ignored. None when no
// number starts the text or it lies outside the float range.
std::optional<float> leadingFloat(const std::string& text);

enum class SegmentKind : unsigned char { move, line, quadratic, cubic, close };

// move and line use p[0]; quadratic p[0] (control) and p[1]; cubic p[0], p[1]
// (controls) and p[2]. A move starts a figure; close ends it closed, a move or
// the end of the path ends it open.
struct PathSegment {
    SegmentKind kind;
    PointF p[3];
};
using Path = std::vector<PathSegment>;

struct PathTokens {
    std::string commands;               // command letters, repeated for implicit repetition
    std::vector<std::string> numbers;   // number texts, in order
    bool numbersWithoutCommand = false; // numbers after Z or before any letter
};

// Splits path data into command letters and number texts.
PathTokens tokenizePathData(std::string_view data);

// The path the tokens describe, read with SVG path semantics; none when the
// tokens are empty, a number text is no finite float, or the numbers do not match the
// commands' counts.
std::optional<Path> interpretPathData(const PathTokens& tokens);

inline std::optional<Path> parsePathData(std::string_view data) {
    return interpretPathData(tokenizePathData(data));
}

} // namespace Brisvane
