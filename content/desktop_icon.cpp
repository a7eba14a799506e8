#include "content/desktop_icon.h"

#include <algorithm>
#include <cmath>

#include "content/content_style.h"
#include "content/text_render.h"

namespace Quorvel::Assets {

namespace {
float smoothstep(float a, float b, float x) {
    const float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}
}  // namespace

Picture desktopIcon(int size) {
    Picture icon(size, size);
    const float s = float(size);
    const float radius = 0.18f * s, inset = 0.04f * s;
    const Rgba top = hexColour(Palette::kInk), bottom = hexColour(Palette::kInkDeep), teal = hexColour(Palette::kTeal);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Distance outside a rounded square, for an anti-aliased edge.
            const float px = std::abs(x + 0.5f - s / 2) - (s / 2 - inset - radius);
            const float py = std::abs(y + 0.5f - s / 2) - (s / 2 - inset - radius);
            const float outside = std::hypot(std::max(px, 0.0f), std::max(py, 0.0f)) + std::min(std::max(px, py), 0.0f) - radius;
            const float alpha = std::clamp(0.5f - outside, 0.0f, 1.0f);
            if (alpha <= 0.0f) continue;
            Rgba colour = mix(top, bottom, float(y) / s);
            // A soft teal light from below the letter.
            const float dx = (x - 0.5f * s) / s, dy = (y - 0.62f * s) / s;
            colour = mix(colour, teal, 0.45f * std::exp(-(dx * dx * 9.0f + dy * dy * 14.0f)));
            colour[3] = alpha;
            icon.set(x, y, colour);
        }
    }
    const FontFace display(Fonts::kDisplay);
    const Plane letter = display.renderLine("T", int(0.62f * s));
    paintText(icon, letter, (size - letter.width) / 2, int(0.47f * s) - letter.height / 2,
              {hexColour(Palette::kText), hexColour(Palette::kCyan), 0.035f * s, 0.8f});
    // The coral rule, fading at its ends.
    const int ruleY = int(0.8f * s), ruleHalf = int(0.2f * s);
    for (int y = ruleY; y < ruleY + std::max(2, size / 64); ++y)
        for (int x = size / 2 - ruleHalf; x < size / 2 + ruleHalf; ++x) {
            const float fade = smoothstep(0.0f, 0.3f, 1.0f - std::abs(x - s / 2) / float(ruleHalf));
            icon.blendOver(x, y, hexColour(Palette::kCoral, fade));
        }
    return icon;
}

}  // namespace Quorvel::Assets
