// The production's look, in one place for every generator module: the palette of the art
// direction, the type faces (from Debian's font packages) and the constants the geometry
// shares. Colours are 0xRRGGBB for hexColour(); one-off tints stay beside the code that uses them.
//
//   paintText(picture, "PELMO", x, y, {hexColour(Palette::kText), hexColour(Palette::kCyan), 10.0f, 0.7f});
//   const FontFace display(Fonts::kDisplay);
#pragma once

#include <cstdint>

namespace Quorvel::Assets {

constexpr float kPi = 3.14159265358979f;
constexpr double kPiDouble = 3.14159265358979323846;

namespace Palette {
constexpr std::uint32_t kInkDeep = 0x05070d;  // ground: the darkest ink blue
constexpr std::uint32_t kInk = 0x0b1426;      // ground: ink blue
constexpr std::uint32_t kCyan = 0x3fd7ff;     // life: bioluminescent cyan
constexpr std::uint32_t kTeal = 0x1fb5a8;     // life: teal
constexpr std::uint32_t kCoral = 0xff7a4d;    // warmth: coral
constexpr std::uint32_t kAmber = 0xffb347;    // warmth: amber
constexpr std::uint32_t kText = 0xf2efe8;     // text: warm off-white
}  // namespace Palette

namespace Fonts {
// The display face for titles and names, and the text face's weights for credits and greetings.
constexpr const char* kDisplay = "/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Bold.otf";
constexpr const char* kTextLight = "/usr/share/fonts/opentype/inter/Inter-Light.otf";
constexpr const char* kTextRegular = "/usr/share/fonts/opentype/inter/Inter-Regular.otf";
constexpr const char* kTextMedium = "/usr/share/fonts/opentype/inter/Inter-Medium.otf";
constexpr const char* kTextBold = "/usr/share/fonts/opentype/inter/Inter-Bold.otf";
// The preview's timing overlay: a monospaced face, legible at a few pixels per em.
constexpr const char* kMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
}  // namespace Fonts

}  // namespace Quorvel::Assets
