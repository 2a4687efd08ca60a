#include "scribble/PathData.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace Brisvane {

bool nearlyEqual(float a, float b) {
    float scale = std::max({1.0f, std::fabs(a), std::fabs(b)});
    return std::fabs(a - b) <= scale * 0x1p-23f;
}

std::optional<float> leadingFloat(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    float value = std::strtof(begin, &end);
    if (end == begin || errno == ERANGE) {
        return std::nullopt;
    }
    return value;
}

namespace {

// Numbers taken by each command letter; Z and z take none.
int arityOf(char letter) {
    switch (letter) {
    case 'M':
    case 'm':
    case 'L':
    case 'l':
    case 'T':
    case 't':
        return 2;
    case 'C':
    case 'c':
        return 6;
    case 'Q':
    case 'q':
    case 'S':
    case 's':
        return 4;
    case 'A':
    case 'a':
        return 7;
    case 'H':
    case 'h':
    case 'V':
    case 'v':
        return 1;
    default:
        return 0;
    }
}

bool isCommandLetter(char c) {
    return std::string_view("MmLlHhVvCcSsQqTtAaZz").find(c) != std::string_view::npos;
}

PointF operator+(PointF a, PointF b) {
    return {a.x + b.x, a.y + b.y};
}

PointF reflect(PointF control, PointF about) {
    return {2 * about.x - control.x, 2 * about.y - control.y};
}

// Appends an elliptical arc from `from` to `to` as cubic Béziers of at most a
// quarter turn each, converting the endpoint form to centre form.
void appendArc(Path& path, PointF from, float rxIn, float ryIn, float rotationDegrees, bool largeArc,
               bool sweep, PointF to) {
    if (from == to) {
        return;
    }
    double rx = std::fabs(rxIn), ry = std::fabs(ryIn);
    if (rx == 0 || ry == 0) {
        path.push_back({SegmentKind::line, {to}});
        return;
    }
    const double phi = rotationDegrees * std::numbers::pi / 180.0;
    const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    const double dx = (from.x - to.x) / 2.0, dy = (from.y - to.y) / 2.0;
    const double x1 = cosPhi * dx + sinPhi * dy;
    const double y1 = -sinPhi * dx + cosPhi * dy;
    // Radii too small to reach the end point grow until they just do.
    double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    double numerator = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    double denominator = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double factor = std::sqrt(std::max(0.0, numerator / denominator));
    if (largeArc == sweep) {
        factor = -factor;
    }
    const double cx1 = factor * rx * y1 / ry;
    const double cy1 = -factor * ry * x1 / rx;
    const double cx = cosPhi * cx1 - sinPhi * cy1 + (from.x + to.x) / 2.0;
    const double cy = sinPhi * cx1 + cosPhi * cy1 + (from.y + to.y) / 2.0;
    auto angle = [](double ux, double uy, double vx, double vy) {
        return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    };
    const double theta1 = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    double delta = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && delta > 0) {
        delta -= 2 * std::numbers::pi;
    } else if (sweep && delta < 0) {
        delta += 2 * std::numbers::pi;
    }
    const int pieces =
        std::max(1, static_cast<int>(std::ceil(std::fabs(delta) / (std::numbers::pi / 2) - 1e-9)));
    const double step = delta / pieces;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    auto onEllipse = [&](double t, double& x, double& y, double& tx, double& ty) {
        double ex = rx * std::cos(t), ey = ry * std::sin(t);
        double dxdt = -rx * std::sin(t), dydt = ry * std::cos(t);
        x = cosPhi * ex - sinPhi * ey + cx;
        y = sinPhi * ex + cosPhi * ey + cy;
        tx = cosPhi * dxdt - sinPhi * dydt;
        ty = sinPhi * dxdt + cosPhi * dydt;
    };
    double t = theta1;
    for (int i = 0; i < pieces; ++i) {
        double x0, y0, tx0, ty0, x3, y3, tx3, ty3;
        onEllipse(t, x0, y0, tx0, ty0);
        onEllipse(t + step, x3, y3, tx3, ty3);
        PointF end = i + 1 == pieces ? to : PointF{static_cast<float>(x3), static_cast<float>(y3)};
        path.push_back({SegmentKind::cubic,
                        {{static_cast<float>(x0 + k * tx0), static_cast<float>(y0 + k * ty0)},
                         {static_cast<float>(x3 - k * tx3), static_cast<float>(y3 - k * ty3)},
                         end}});
        t += step;
    }
}

} // namespace

PathTokens tokenizePathData(std::string_view data) {
    PathTokens tokens;
    std::string number;
    int arity = 0;
    char repeat = 0;
    int flushed = 0;
    auto flush = [&] {
        if (number.empty()) {
            return;
        }
        tokens.numbers.push_back(number);
        ++flushed;
        if (arity == 0) {
            tokens.numbersWithoutCommand = true;
        } else if (arity < flushed && flushed % arity == 0) {
            tokens.commands.push_back(repeat);
        }
        number.clear();
    };
    for (size_t i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (isCommandLetter(c)) {
            flush();
            tokens.commands.push_back(c);
            flushed = 0;
            arity = arityOf(c);
            repeat = c == 'M' ? 'L' : c == 'm' ? 'l' : c == 'Z' || c == 'z' ? 0 : c;
        } else if (c == ' ' || c == ',' || c == '\t' || c == '\n') {
            flush();
        } else if (c == '.') {
            if (number.find('.') == std::string::npos) {
                number += number.empty() ? "0." : ".";
            } else {
                flush();
                number = "0.";
            }
        } else if (c == '-') {
            if (i > 0 && data[i - 1] == 'e') {
                number += c;
            } else {
                flush();
                number = "-";
            }
        } else {
            number += c;
        }
    }
    flush();
    return tokens;
}

std::optional<Path> interpretPathData(const PathTokens& tokens) {
    if (tokens.commands.empty() || tokens.numbers.empty() || tokens.numbersWithoutCommand) {
        return std::nullopt;
    }
    std::vector<float> values;
    values.reserve(tokens.numbers.size());
    for (const std::string& text : tokens.numbers) {
        std::optional<float> value = leadingFloat(text);
        // "nan" and "inf" read as numbers but describe no shape.
        if (!value || !std::isfinite(*value)) {
            return std::nullopt;
        }
        values.push_back(*value);
    }
    size_t needed = 0;
    for (char command : tokens.commands) {
        needed += static_cast<size_t>(arityOf(command));
    }
    if (needed != values.size()) {
        return std::nullopt;
    }

    Path path;
    PointF current, start, lastCubicControl, lastQuadControl;
    char previous = 0;
    bool figureOpen = false;
    size_t next = 0;
    auto take = [&] { return values[next++]; };
    // A drawing command after a close (or at the very start) begins a figure
    // where the pen stands.
    auto ensureFigure = [&] {
        if (!figureOpen) {
            path.push_back({SegmentKind::move, {current}});
            start = current;
            figureOpen = true;
        }
    };
    for (char command : tokens.commands) {
        const bool relative = command >= 'a' && command <= 'z';
        const PointF base = relative ? current : PointF{};
        auto point = [&] {
            float x = take();
            float y = take();
            return PointF{x, y} + base;
        };
        switch (command) {
        case 'M':
        case 'm':
            current = point();
            start = current;
            path.push_back({SegmentKind::move, {current}});
            figureOpen = true;
            break;
        case 'L':
        case 'l':
            ensureFigure();
            current = point();
            path.push_back({SegmentKind::line, {current}});
            break;
        case 'H':
        case 'h':
            ensureFigure();
            current.x = take() + (relative ? current.x : 0);
            path.push_back({SegmentKind::line, {current}});
            break;
        case 'V':
        case 'v':
            ensureFigure();
            current.y = take() + (relative ? current.y : 0);
            path.push_back({SegmentKind::line, {current}});
            break;
        case 'C':
        case 'c':
        case 'S':
        case 's': {
            ensureFigure();
            PointF first;
            if (command == 'C' || command == 'c') {
                first = point();
            } else {
                bool follows = std::string_view("CcSs").find(previous) != std::string_view::npos;
                first = follows ? reflect(lastCubicControl, current) : current;
            }
            PointF second = point();
            PointF end = point();
            path.push_back({SegmentKind::cubic, {first, second, end}});
            lastCubicControl = second;
            current = end;
            break;
        }
        case 'Q':
        case 'q':
        case 'T':
        case 't': {
            ensureFigure();
            PointF control;
            if (command == 'Q' || command == 'q') {
                control = point();
            } else {
                bool follows = std::string_view("QqTt").find(previous) != std::string_view::npos;
                control = follows ? reflect(lastQuadControl, current) : current;
            }
            PointF end = point();
            path.push_back({SegmentKind::quadratic, {control, end}});
            lastQuadControl = control;
            current = end;
            break;
        }
        case 'A':
        case 'a': {
            ensureFigure();
            float rx = take(), ry = take(), rotation = take();
            bool largeArc = take() != 0;
            bool sweep = take() != 0;
            PointF end = point();
            appendArc(path, current, rx, ry, rotation, largeArc, sweep, end);
            current = end;
            break;
        }
        default: // Z, z
            if (figureOpen) {
                path.push_back({SegmentKind::close, {}});
                figureOpen = false;
            }
            current = start;
            break;
        }
        previous = command;
    }
    return path;
}

} // namespace Brisvane
