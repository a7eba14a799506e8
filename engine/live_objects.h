// How many GL objects of each kind the toolkit holds right now. Every toolkit class that creates
// a GL name counts it here and uncounts it when it deletes the name, so a test can tell that a
// programme, once destroyed, left nothing behind in the driver.
//
//   LiveObjects::count(LiveObjects::Program);   // programs alive now
//   LiveObjects::total();                       // 0 once every scene is gone
#pragma once

namespace Quorvel::LiveObjects {

// Textures include render targets: both are GL texture names. Renderbuffers back the
// multisampled off-screen passes; queries time them.
enum Kind { Texture, Framebuffer, Shader, Program, Renderbuffer, Query, KindCount };

void created(Kind kind);
void deleted(Kind kind);
long count(Kind kind);
long total();
const char* kindName(Kind kind);

}  // namespace Quorvel::LiveObjects
