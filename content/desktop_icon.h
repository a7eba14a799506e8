// The desktop icon of the installed demo: a rounded ink-blue tile with the group's initial in
// the display face, a teal glow rising behind it and a coral rule under it. Not part of data/:
// the program never reads it; the install puts it where desktops look for icons.
//
//   writePng("taluvine.png", desktopIcon(256));
#pragma once

#include "content/picture.h"

namespace Quorvel::Assets {

Picture desktopIcon(int size);

}  // namespace Quorvel::Assets
