#include "engine/mesh.h"

#include <GL/glew.h>
#include "shared_gl_context.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Quorvel;

namespace {
GlContext& context() {
    return sharedGlContext(32, 32);
}

void resetState() {
    glViewport(0, 0, 32, 32);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 0, 0, 1);
}

void expectClientArraysOff() {
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
}
}  // namespace

TEST(MeshGl, DrawsQuadsAndTrianglesThenTurnsClientArraysOff) {
    REQUIRE_GL(context());
    resetState();
    // Left half: one quad; right half: one triangle in its lower corner.
    std::istringstream obj(
        "v -1 -1 0\nv 0 -1 0\nv 0 1 0\nv -1 1 0\nv 0.2 -1 0\nv 1 -1 0\nv 1 -0.2 0\n"
        "vt 0 0\nvn 0 0 1\n"
        "f 1/1/1 2/1/1 3/1/1 4/1/1\nf 5/1/1 6/1/1 7/1/1\n");
    const Mesh mesh(obj);
    mesh.draw();
    EXPECT_EQ(context().pixel(8, 16) >> 8, 0xff0000u);
    EXPECT_EQ(context().pixel(28, 2) >> 8, 0xff0000u);
    EXPECT_EQ(context().pixel(20, 28) >> 8, 0u);  // outside the triangle
    expectClientArraysOff();
}

TEST(MeshGl, EmptyMeshDrawsNothing) {
    REQUIRE_GL(context());
    resetState();
    Mesh("/nonexistent/model.obj").draw();
    EXPECT_EQ(context().pixel(16, 16) >> 8, 0u);
    expectClientArraysOff();
}
