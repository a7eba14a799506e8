// qvl_taluvine: the demo. Arguments are ignored. The full-screen build defines QVL_FULLSCREEN=1.
#include "app/demo.h"

#ifndef QVL_FULLSCREEN
#define QVL_FULLSCREEN 0
#endif

int main() { return Quorvel::runDemo(QVL_FULLSCREEN != 0); }
