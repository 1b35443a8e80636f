#include "paint/colourvision.h"

#include <algorithm>
#include <cmath>

namespace vexel {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado et al. 2009, severity 1.0, on linear RGB.
constexpr Matrix PROTANOPIA = {{{0.152286, 1.052583, -0.204868},
                                {0.114503, 0.786281, 0.099216},
                                {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix DEUTERANOPIA = {{{0.367322, 0.860646, -0.227968},
                                  {0.280085, 0.672501, 0.047413},
                                  {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix TRITANOPIA = {{{1.255528, -0.076749, -0.178779},
                                {-0.078411, 0.930809, 0.147602},
                                {0.004733, 0.691367, 0.303900}}};

double linear(unsigned channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::array<double, 3> linearRgb(ColourRef colour) {
    return {linear(colour & 0xFF), linear((colour >> 8) & 0xFF), linear((colour >> 16) & 0xFF)};
}

double labF(double t) {
    constexpr double delta = 6.0 / 29.0;
    return t > delta * delta * delta ? std::cbrt(t) : t / (3 * delta * delta) + 4.0 / 29.0;
}

LabColour toLab(const std::array<double, 3>& rgb) {
    const auto [r, g, b] = rgb;
    const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
    const double fx = labF(x / 0.95047), fy = labF(y), fz = labF(z / 1.08883);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

}  // namespace

LabColour seenAs(ColourRef colour, ColourVision vision) {
    const std::array<double, 3> rgb = linearRgb(colour);
    const Matrix* m = vision == ColourVision::Protanopia     ? &PROTANOPIA
                      : vision == ColourVision::Deuteranopia ? &DEUTERANOPIA
                      : vision == ColourVision::Tritanopia   ? &TRITANOPIA
                                                             : nullptr;
    if (m == nullptr) return toLab(rgb);
    std::array<double, 3> seen{};
    for (int i = 0; i < 3; ++i)
        seen[i] = std::clamp((*m)[i][0] * rgb[0] + (*m)[i][1] * rgb[1] + (*m)[i][2] * rgb[2], 0.0, 1.0);
    return toLab(seen);
}

double cie76(const LabColour& x, const LabColour& y) {
    return std::sqrt((x.L - y.L) * (x.L - y.L) + (x.a - y.a) * (x.a - y.a) + (x.b - y.b) * (x.b - y.b));
}

ClosestPair closestPair(std::span<const ColourRef> colours, ColourVision vision) {
    ClosestPair closest{INFINITY, 0, 0};
    for (std::size_t i = 0; i < colours.size(); ++i)
        for (std::size_t j = i + 1; j < colours.size(); ++j) {
            const double d = cie76(seenAs(colours[i], vision), seenAs(colours[j], vision));
            if (d < closest.difference) closest = {d, int(i), int(j)};
        }
    return closest;
}

double relativeLuminance(ColourRef colour) {
    const auto [r, g, b] = linearRgb(colour);
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}

}  // namespace vexel
