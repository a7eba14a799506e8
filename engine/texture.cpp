#include "engine/texture.h"

#include <lodepng.h>

#include "engine/picture_decode.h"

#include <iostream>
#include <vector>

namespace Quorvel {

Texture::Texture(const char* path) {
    load(path);
}

void Texture::load(const char* path) {
    if (name != 0) {
        std::cout << "image already loaded" << std::endl;
        return;
    }
    std::vector<unsigned char> file;
    DecodedPicture picture;
    errorCode = lodepng::load_file(file, std::string(path ? path : ""));
    if (errorCode == 0) {
        GLint largestSide = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestSide);
        errorCode = decodePicture(file, static_cast<unsigned>(largestSide > 0 ? largestSide : 2048), picture);
    }
    if (errorCode != 0) {
        std::cerr << "lodepng error " << errorCode << ": " << lodepng_error_text(errorCode) << std::endl;
        // Without a decoded size there is nothing to allocate: stay a size-0 texture that binds
        // name 0, so scenes can bind and draw it without harm.
        return;
    }
    create(picture.width, picture.height);
    if (name == 0) return;
    // Rows go up as decoded: the picture's first row (its top) lands at t = 0.
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(picture.width),
                    static_cast<GLsizei>(picture.height), GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
}

}  // namespace Quorvel
