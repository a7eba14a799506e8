// The program: start-up, loading, the played programme and shutdown, with the program's exit
// statuses (0 after a normal run, -1 after any reported error). Shared by the windowed and the
// full-screen build, which differ only in the "fullscreen" default.
//
//   int main() { return Quorvel::runDemo(false); }
#pragma once

namespace Quorvel {

int runDemo(bool fullscreenDefault);

// The loading report on standard output: loading seconds and texture memory (the web page too).
void printLoadingReport(double seconds);

}  // namespace Quorvel
