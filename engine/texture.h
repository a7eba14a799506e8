// A texture filled from a PNG file (any colour type, decoded to 8-bit RGBA), first row of the
// picture at texture coordinate t = 0. Loading happens once, in the constructor. A file that
// cannot be decoded leaves a texture without storage and of size 0, which binds texture 0.
// Including this header also gives EmptyTexture.
//
//   boost::shared_ptr<Texture> logo(new Texture("data/logo_logo.png"));
//   logo->bind(GL_TEXTURE0); ... logo->unbind();
#pragma once

#include "engine/empty_texture.h"

#include <cstdint>

namespace Quorvel {

class Texture : public EmptyTexture {
public:
    std::uint32_t errorCode = 0;  // PNG decoder result of the last load; 0 means success

    // Decodes the file at `path` (relative to the working directory) into a new texture.
    explicit Texture(const char* path);

    // Decodes and uploads the picture; prints "image already loaded" if storage exists, and the
    // decoder's error line on standard error when the file cannot be read or decoded.
    void load(const char* path);
};

}  // namespace Quorvel
