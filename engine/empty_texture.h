// One GL 2D texture of a given pixel size and formats, storage allocated without contents.
// Base of everything texture-like (PNG pictures, render targets). It owns its GL name and
// deletes it when destroyed; name 0 means "no storage". It does not resize or re-create storage.
//
//   boost::shared_ptr<EmptyTexture> colour(new EmptyTexture(1024, 576, 4, GL_RGBA, GL_UNSIGNED_BYTE));
//   colour->bind(GL_TEXTURE1); ... colour->unbind();
#pragma once

#include <GL/glew.h>

#include <cstdint>

namespace Quorvel {

class EmptyTexture {
public:
    std::uint32_t width = 0;            // pixel width asked for
    std::uint32_t height = 0;           // pixel height asked for
    std::int32_t internalFormat = 4;    // internal-format argument of glTexImage2D
    GLenum format = GL_RGBA;            // pixel format of uploads
    GLenum type = GL_UNSIGNED_BYTE;     // component type of uploads
    GLuint name = 0;                    // GL texture name, 0 while there is no storage
    GLenum unit = GL_TEXTURE0;          // texture unit of the last bind()
    std::uint32_t storageWidth = 0;     // width of the allocated storage
    std::uint32_t storageHeight = 0;    // height of the allocated storage
    float extentS = 0.0f;               // width / storageWidth (1 once storage exists)
    float extentT = 0.0f;               // height / storageHeight (1 once storage exists)

    // No storage, RGBA with unsigned bytes; makes no GL call.
    EmptyTexture() = default;
    // Stores size and formats and allocates the storage at once (see create()).
    EmptyTexture(std::uint32_t width, std::uint32_t height, std::int32_t internalFormat, GLenum format,
                 GLenum type);
    // Releases the storage; prints "emptytex: texture already empty" when there is none.
    ~EmptyTexture();
    EmptyTexture(const EmptyTexture&) = delete;
    EmptyTexture& operator=(const EmptyTexture&) = delete;

    // Allocates storage from the fields and leaves it bound on the active unit. Refuses (with a
    // one-line message on standard output) when storage exists or a dimension is 0.
    void create();
    // create() for an RGBA texture of the given size; refused when storage exists already.
    void create(std::uint32_t width, std::uint32_t height);
    // Deletes the GL texture; the memory counter keeps its figure.
    void release();

    // Makes `unit` active and binds this texture there; remembers the unit for unbind().
    void bind(GLenum unit);
    // Unbinds from the remembered unit; unit 0 is the active unit afterwards.
    void unbind();

    // Draws the texture on the quad (-1,-1)..(1,1) with its last row at the top: the way to show
    // a render target upright. Binds on unit 0 and leaves texture 0 bound there.
    void drawFullscreen();
    // Draws the texture at its own pixel size in a frame 1920 x referenceHeight pixels spanning
    // the quad (-1,-1)..(1,1), first row at the top: the way to show a PNG picture.
    void drawPixelQuad(std::int32_t referenceHeight);
};

}  // namespace Quorvel
