// One EXT framebuffer object with at most one colour and one depth attachment, both render
// targets of the same pixel size; it shares ownership of them, so they live as long as it
// does. It does not bind itself for rendering, check completeness or touch the viewport: the
// scenes do that with plain GL calls.
//
//   boost::shared_ptr<FrameBuffer> fbo(new FrameBuffer());
//   fbo->attachColor(colourTarget); fbo->attachDepth(depthTarget);
#pragma once

#include "engine/empty_texture.h"

#include <GL/glew.h>
#include <boost/shared_ptr.hpp>

#include <cstdint>

namespace Quorvel {

class FrameBuffer {
public:
    GLuint name = 0;                               // the GL framebuffer object
    std::uint32_t width = 0;                       // pixel width every attachment must have
    std::uint32_t height = 0;                      // pixel height every attachment must have
    std::uint32_t storageWidth = 0;                // storage width of the first attachment
    std::uint32_t storageHeight = 0;               // storage height of the first attachment
    bool hasColor = false;                         // a colour attachment is present
    bool hasDepth = false;                         // a depth attachment is present
    boost::shared_ptr<EmptyTexture> colorTexture;  // the colour attachment, empty until attached
    boost::shared_ptr<EmptyTexture> depthTexture;  // the depth attachment, empty until attached

    // Creates the GL framebuffer with no attachments.
    FrameBuffer();
    // Deletes the GL framebuffer, then drops the depth and colour handles.
    ~FrameBuffer();
    FrameBuffer(const FrameBuffer&) = delete;
    FrameBuffer& operator=(const FrameBuffer&) = delete;

    // Attaches `texture` as colour attachment 0; the first attachment fixes the size. Refusals
    // (second colour attachment, texture without storage, wrong size) print one "fbo: " line on
    // standard output and change nothing. Framebuffer 0 is bound afterwards.
    void attachColor(boost::shared_ptr<EmptyTexture> texture);
    // The same for the depth attachment.
    void attachDepth(boost::shared_ptr<EmptyTexture> texture);

private:
    bool accepts(const EmptyTexture* texture, bool alreadyAttached, const char* alreadyMessage) const;
    void attach(GLenum attachment, const EmptyTexture& texture, bool otherAttached);
};

}  // namespace Quorvel
