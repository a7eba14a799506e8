#include "engine/empty_texture.h"

#include "engine/live_objects.h"
#include "engine/texture_memory.h"

#include <iostream>

namespace Quorvel {

EmptyTexture::EmptyTexture(std::uint32_t width, std::uint32_t height, std::int32_t internalFormat,
                           GLenum format, GLenum type)
    : width(width), height(height), internalFormat(internalFormat), format(format), type(type), name(0) {
    create();
}

EmptyTexture::~EmptyTexture() {
    release();
}

void EmptyTexture::create() {
    if (name != 0) {
        std::cout << "emptytex: already inited" << std::endl;
        return;
    }
    if (width == 0 || height == 0) {
        std::cout << "emptytex: neither dimension can be 0" << std::endl;
        return;
    }
    // Storage is exactly the size asked for, so both extents come out as 1.
    storageWidth = width;
    storageHeight = height;
    extentS = static_cast<float>(static_cast<double>(width) / storageWidth);
    extentT = static_cast<float>(static_cast<double>(height) / storageHeight);

    glGenTextures(1, &name);
    if (name != 0) LiveObjects::created(LiveObjects::Texture);
    glBindTexture(GL_TEXTURE_2D, name);
    // Rows of odd byte length (a 300-pixel RGB row, say) must upload without padding.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, 9729.0f);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, 9729.0f);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, static_cast<GLsizei>(storageWidth),
                 static_cast<GLsizei>(storageHeight), 0, format, type, nullptr);
    countTextureMemory(textureStorageBytes(storageWidth, storageHeight, internalFormat, type));
}

void EmptyTexture::create(std::uint32_t newWidth, std::uint32_t newHeight) {
    if (name != 0) {
        std::cout << "emptytex: texture already inited" << std::endl;
        return;
    }
    width = newWidth;
    height = newHeight;
    internalFormat = 4;
    format = GL_RGBA;
    type = GL_UNSIGNED_BYTE;
    create();
    // Only pictures come this way; render targets are made with their format.
    if (name != 0) pictureMemoryBytes += textureStorageBytes(storageWidth, storageHeight, internalFormat, type);
}

void EmptyTexture::release() {
    if (name == 0) {
        std::cout << "emptytex: texture already empty" << std::endl;
        return;
    }
    glDeleteTextures(1, &name);
    LiveObjects::deleted(LiveObjects::Texture);
    name = 0;
}

void EmptyTexture::bind(GLenum textureUnit) {
    glActiveTexture(textureUnit);
    glBindTexture(GL_TEXTURE_2D, name);
    unit = textureUnit;
}

void EmptyTexture::unbind() {
    glActiveTexture(unit);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace Quorvel
