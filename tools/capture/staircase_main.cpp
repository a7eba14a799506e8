// qvl_staircase FRAME.png TWICE.png: prints how much FRAME's edges step against TWICE, the same
// moment rendered at twice the size (see edge_figure.h). tools/staircase.sh drives it.
#include <lodepng.h>

#include <iostream>

#include "tools/capture/edge_figure.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: qvl_staircase FRAME.png TWICE_AS_LARGE.png\n";
        return 2;
    }
    std::vector<unsigned char> frame, twice;
    unsigned w = 0, h = 0, w2 = 0, h2 = 0;
    if (lodepng::decode(frame, w, h, argv[1]) != 0 || lodepng::decode(twice, w2, h2, argv[2]) != 0 || w2 != 2 * w ||
        h2 != 2 * h) {
        std::cerr << "qvl_staircase: need two PNG files, the second twice the size of the first\n";
        return 1;
    }
    std::cout << Quorvel::Capture::staircaseFigure(frame, int(w), int(h), twice) << std::endl;
    return 0;
}
