#include "engine/texture.h"
#include "engine/texture_memory.h"
#include "stream_capture.h"
#include "temp_files.h"
#include "shared_gl_context.h"

#include <gtest/gtest.h>

using namespace Quorvel;

namespace {
GlContext& context() {
    return sharedGlContext(64, 64);
}

std::vector<unsigned char> readBack(GLuint name, unsigned width, unsigned height) {
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4, 0);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return rgba;
}

GLint boundTexture() {
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

GLint activeUnit() {
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    return unit;
}
}  // namespace

TEST(TextureGl, OddWidthPictureUploadsIntact) {
    REQUIRE_GL(context());
    TempFolder folder;
    const unsigned width = 300, height = 7;  // 1200-byte rows, but RGB 900: no 4-byte alignment
    std::vector<unsigned char> rgb(width * height * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<unsigned char>(i * 7 + i / 900);
    const std::string path = folder.writePng("odd.png", width, height, rgb, LCT_RGB);

    const std::int32_t before = textureMemoryBytes;
    Texture texture(path.c_str());
    EXPECT_EQ(texture.errorCode, 0u);
    EXPECT_EQ(texture.width, width);
    EXPECT_EQ(texture.height, height);
    EXPECT_EQ(texture.storageWidth, width);  // not rounded to a power of two
    EXPECT_EQ(texture.storageHeight, height);
    EXPECT_EQ(texture.extentS, 1.0f);
    EXPECT_EQ(texture.extentT, 1.0f);
    EXPECT_EQ(textureMemoryBytes - before, 300 * 7 * 4);  // stored as RGBA8
    ASSERT_NE(texture.name, 0u);

    const std::vector<unsigned char> rgba = readBack(texture.name, width, height);
    for (std::size_t p = 0; p < width * height; ++p) {
        ASSERT_EQ(rgba[p * 4 + 0], rgb[p * 3 + 0]) << "pixel " << p;  // first file row is texture row 0
        ASSERT_EQ(rgba[p * 4 + 1], rgb[p * 3 + 1]) << "pixel " << p;
        ASSERT_EQ(rgba[p * 4 + 2], rgb[p * 3 + 2]) << "pixel " << p;
        ASSERT_EQ(rgba[p * 4 + 3], 255) << "pixel " << p;
    }
    StreamCapture out(std::cout);
    texture.load(path.c_str());
    EXPECT_EQ(out.text(), "image already loaded\n");
}

TEST(TextureGl, GreyPictureArrivesAsOpaqueRgba) {
    REQUIRE_GL(context());
    TempFolder folder;
    const std::string path = folder.writePng("grey.png", 2, 1, {10, 200}, LCT_GREY);
    Texture texture(path.c_str());
    const std::vector<unsigned char> rgba = readBack(texture.name, 2, 1);
    EXPECT_EQ(rgba, (std::vector<unsigned char>{10, 10, 10, 255, 200, 200, 200, 255}));
}

TEST(TextureGl, UndecodablePictureStaysHarmless) {
    REQUIRE_GL(context());
    TempFolder folder;
    const std::string garbage = folder.writeText("broken.png", "not a png at all");
    for (const std::string& path : {garbage, folder.file("missing.png")}) {
        const std::int32_t before = textureMemoryBytes;
        StreamCapture err(std::cerr);
        StreamCapture out(std::cout);
        {
            Texture texture(path.c_str());
            EXPECT_NE(texture.errorCode, 0u);
            EXPECT_EQ(err.text(), "lodepng error " + std::to_string(texture.errorCode) + ": " +
                                      lodepng_error_text(texture.errorCode) + "\n");
            EXPECT_EQ(texture.name, 0u);
            EXPECT_EQ(texture.width, 0u);
            EXPECT_EQ(texture.height, 0u);
            texture.bind(GL_TEXTURE0);
            EXPECT_EQ(boundTexture(), 0);
            texture.drawPixelQuad(1080);  // the scenes draw it regardless
            texture.drawFullscreen();
            texture.unbind();
            EXPECT_EQ(out.text(), "");
        }
        EXPECT_EQ(out.text(), "emptytex: texture already empty\n");
        EXPECT_EQ(textureMemoryBytes, before);
    }
}

TEST(TextureGl, CreationRefusalsAndReleaseMessages) {
    REQUIRE_GL(context());
    StreamCapture out(std::cout);
    const std::int32_t before = textureMemoryBytes;
    {
        EmptyTexture zero(0, 36, 4, GL_RGBA, GL_UNSIGNED_BYTE);
        EXPECT_EQ(out.text(), "emptytex: neither dimension can be 0\n");
        EXPECT_EQ(zero.name, 0u);
        EXPECT_EQ(textureMemoryBytes, before);
        out.clear();
    }
    EXPECT_EQ(out.text(), "emptytex: texture already empty\n");
    out.clear();

    {
        EmptyTexture depth(64, 36, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_FLOAT);
        EXPECT_NE(depth.name, 0u);
        EXPECT_EQ(textureMemoryBytes - before, 64 * 36 * 4);
        const GLuint name = depth.name;
        depth.create();
        depth.create(8, 8);
        EXPECT_EQ(out.text(), "emptytex: already inited\nemptytex: texture already inited\n");
        EXPECT_EQ(depth.width, 64u);
        EXPECT_EQ(depth.internalFormat, GL_DEPTH_COMPONENT24);
        out.clear();

        depth.release();
        EXPECT_EQ(depth.name, 0u);
        EXPECT_FALSE(glIsTexture(name));
        EXPECT_EQ(out.text(), "");
        EXPECT_EQ(textureMemoryBytes - before, 64 * 36 * 4);  // never given back
    }
    EXPECT_EQ(out.text(), "emptytex: texture already empty\n");  // once, from the destructor
}

TEST(TextureGl, CreateWithSizeResetsToRgba) {
    REQUIRE_GL(context());
    EmptyTexture texture;
    texture.internalFormat = GL_DEPTH_COMPONENT24;
    texture.type = GL_FLOAT;
    const std::int32_t before = textureMemoryBytes;
    texture.create(16, 8);
    EXPECT_NE(texture.name, 0u);
    EXPECT_EQ(texture.internalFormat, 4);
    EXPECT_EQ(texture.format, static_cast<GLenum>(GL_RGBA));
    EXPECT_EQ(texture.type, static_cast<GLenum>(GL_UNSIGNED_BYTE));
    EXPECT_EQ(textureMemoryBytes - before, 16 * 8 * 4);
    EXPECT_EQ(boundTexture(), static_cast<GLint>(texture.name));  // left bound by create()
}

TEST(TextureGl, UnbindLeavesUnitZeroActive) {
    REQUIRE_GL(context());
    EmptyTexture texture(4, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE);
    texture.bind(GL_TEXTURE1);
    EXPECT_EQ(texture.unit, static_cast<GLenum>(GL_TEXTURE1));
    EXPECT_EQ(activeUnit(), GL_TEXTURE1);
    EXPECT_EQ(boundTexture(), static_cast<GLint>(texture.name));
    texture.unbind();
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
    glActiveTexture(GL_TEXTURE1);
    EXPECT_EQ(boundTexture(), 0);
    glActiveTexture(GL_TEXTURE0);
}
