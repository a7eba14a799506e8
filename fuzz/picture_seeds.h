// Small PNG pictures in every colour type the decoder turns into RGBA (grey, grey with alpha,
// palette, RGB, RGBA; 1 to 16 bits; interlaced), of odd sizes, and with headers patched to a
// zero or a huge declared size. Seeds for the picture fuzz target and cases for its tests.
#pragma once

#include <string>
#include <vector>

namespace Quorvel::FuzzSeeds {

struct NamedBytes {
    std::string name;
    std::vector<unsigned char> bytes;
};

// A width x height picture encoded with the given colour type and bit depth (lodepng's enums).
std::vector<unsigned char> encodePicture(unsigned width, unsigned height, int colourType, unsigned bitDepth,
                                         bool interlaced = false);
// The same PNG with the header's declared size replaced (its checksum made right again).
std::vector<unsigned char> withDeclaredSize(std::vector<unsigned char> png, unsigned width, unsigned height);

std::vector<NamedBytes> pictures();

}  // namespace Quorvel::FuzzSeeds
