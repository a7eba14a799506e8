#include "engine/obj_reader.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

using namespace Quorvel;

namespace {
Mesh parse(const std::string& text) {
    std::istringstream in(text);
    return Mesh(in);
}

const char* kSquare =
    "v 0 0 0\n"
    "v 1 0 0\n"
    "v 1 1 0\n"
    "v 0 1 0\n";

using Floats = std::vector<float>;
}  // namespace

TEST(ObjReader, BareIndicesGiveAPositionOnlyTriangle) {
    const Mesh mesh = parse(std::string(kSquare) + "f 1 2 3\n");
    EXPECT_EQ(mesh.trianglePositions, (Floats{0, 0, 0, 1, 0, 0, 1, 1, 0}));
    EXPECT_TRUE(mesh.quadPositions.empty());
    EXPECT_FALSE(mesh.hasTexCoords);
    EXPECT_FALSE(mesh.hasNormals);
    EXPECT_TRUE(mesh.triangleTexCoords.empty());
    EXPECT_TRUE(mesh.triangleNormals.empty());
}

TEST(ObjReader, FullFieldsSplitQuadsFromTriangles) {
    const Mesh mesh = parse(std::string(kSquare) +
                            "vt 0 0\nvt 1 0\nvt 1 1 0.5\nvt 0 1\n"
                            "vn 0 0 1\nvn 0 0 -1\n"
                            "f 1/1/1 2/2/1 3/3/1 4/4/1\n"
                            "f 3/3/2 2/2/2 1/1/2\n");
    EXPECT_TRUE(mesh.hasTexCoords);
    EXPECT_TRUE(mesh.hasNormals);
    ASSERT_EQ(mesh.quadPositions.size(), 12u);
    EXPECT_EQ(mesh.quadTexCoords, (Floats{0, 0, 1, 0, 1, 1, 0, 1}));  // third vt coordinate ignored, t as in the file
    EXPECT_EQ(mesh.quadNormals, (Floats{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(mesh.trianglePositions, (Floats{1, 1, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(mesh.triangleNormals, (Floats{0, 0, -1, 0, 0, -1, 0, 0, -1}));
    EXPECT_EQ(mesh.triangleTexCoords, (Floats{1, 1, 1, 0, 0, 0}));
}

TEST(ObjReader, PositionSlashSlashNormalAndPositionSlashTexture) {
    Mesh mesh = parse(std::string(kSquare) + "vn 0 1 0\nf 1//1 2//1 3//1\n");
    EXPECT_FALSE(mesh.hasTexCoords);
    EXPECT_TRUE(mesh.hasNormals);
    EXPECT_EQ(mesh.triangleNormals, (Floats{0, 1, 0, 0, 1, 0, 0, 1, 0}));

    mesh = parse(std::string(kSquare) + "vt 0.25 0.75\nvt 0.5 0.5\nf 1/2 2/1 3/2 4/1\n");
    EXPECT_TRUE(mesh.hasTexCoords);
    EXPECT_FALSE(mesh.hasNormals);
    EXPECT_EQ(mesh.quadTexCoords, (Floats{0.5f, 0.5f, 0.25f, 0.75f, 0.5f, 0.5f, 0.25f, 0.75f}));
}

TEST(ObjReader, CommentsUnknownKeywordsAndLineEndsChangeNothing) {
    const Mesh plain = parse(std::string(kSquare) + "f 1 2 3 4\n");
    const Mesh noisy = parse(
        "# a comment with f 1 2 3 in it\n"
        "mtllib scene.mtl\no Square\ng group\ns off\nusemtl grey\n\n" +
        std::string("v 0 0 0\r\nv 1 0 0\r\n") + "v 1 1 0\nv 0 1 0\n"
        "f  1   2 3\t4\r\n"  // extra spaces, a tab, CRLF
        "f 4 3 2 1 ");       // last line without a line break, trailing space
    EXPECT_EQ(noisy.quadPositions.size(), 24u);
    EXPECT_TRUE(std::equal(plain.quadPositions.begin(), plain.quadPositions.end(), noisy.quadPositions.begin()));
    EXPECT_TRUE(noisy.trianglePositions.empty());
}

TEST(ObjReader, LastLineWithLineBreakIsReadOnce) {
    const Mesh mesh = parse(std::string(kSquare) + "f 1 2 3\n");
    EXPECT_EQ(mesh.trianglePositions.size(), 9u);
}

TEST(ObjReader, MoreThanFourVerticesKeepTheFirstFour) {
    const Mesh mesh = parse(std::string(kSquare) + "v 2 2 2\nf 1 2 3 4 5\n");
    EXPECT_EQ(mesh.quadPositions, (Floats{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}));
}

TEST(ObjReader, OutOfRangeIndicesSkipTheWholeFace) {
    const Mesh mesh = parse(std::string(kSquare) +
                            "vt 0 0\n"
                            "f 0 1 2\n"             // 0 is no 1-based index
                            "f -1 -2 -3\n"          // relative indices are not supported
                            "f 1 2 5\n"             // beyond the positions read so far
                            "f 1/1 2/2 3/1\n"       // beyond the texture coordinates
                            "f 1/1 2/1 99999999999999999999999/1\n"
                            "f 1 2\n"               // too few vertices
                            "f 1/1 2/1 3\n"         // a texture index missing
                            "f 1/1 2/1 3/1\n");     // the only good one
    EXPECT_EQ(mesh.trianglePositions, (Floats{0, 0, 0, 1, 0, 0, 1, 1, 0}));
    EXPECT_EQ(mesh.triangleTexCoords.size(), 6u);
    EXPECT_TRUE(mesh.quadPositions.empty());
}

TEST(ObjReader, FacesMayOnlyUseEarlierData) {
    const Mesh mesh = parse("v 0 0 0\nv 1 0 0\nf 1 2 3\nv 0 1 0\nf 1 2 3\n");
    EXPECT_EQ(mesh.trianglePositions.size(), 9u);
}

TEST(ObjReader, ShortLinesAreIgnored) {
    const Mesh mesh = parse("v 0 0\nv 0 0 0\nv 1 0 0\nv x 1 0\nv 0 1 0\nvt 1\nvn 0 0\nf 1 2 3\n");
    EXPECT_EQ(mesh.trianglePositions, (Floats{0, 0, 0, 1, 0, 0, 0, 1, 0}));
    EXPECT_FALSE(mesh.hasTexCoords);
    EXPECT_FALSE(mesh.hasNormals);
}

TEST(ObjReader, AttributesFirstSeenLateStayParallelToPositions) {
    // Normals appear only after a face was read: earlier vertices get zero normals, so the
    // arrays never run shorter than the positions when drawn.
    const Mesh mesh = parse(std::string(kSquare) + "f 1 2 3\nvn 0 0 1\nf 1//1 3//1 4//1\n");
    EXPECT_TRUE(mesh.hasNormals);
    EXPECT_EQ(mesh.trianglePositions.size(), 18u);
    EXPECT_EQ(mesh.triangleNormals, (Floats{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 1}));
}

TEST(ObjReader, NumbersInStreamSyntax) {
    const Mesh mesh = parse("v +1.5 -2e1 .25\nv 1. 0 0\nv 0 1 0\nf 1 2 3\n");
    EXPECT_EQ(mesh.trianglePositions[0], 1.5f);
    EXPECT_EQ(mesh.trianglePositions[1], -20.0f);
    EXPECT_EQ(mesh.trianglePositions[2], 0.25f);
    EXPECT_EQ(mesh.trianglePositions[3], 1.0f);
}

TEST(ObjReader, NumberEndsAndLengths) {
    // An exponent without digits is not part of the number; a lone sign or point is no number
    // (the line is then too short and ignored); a number longer than any buffer reads whole.
    const std::string longOne = "0." + std::string(80, '0') + "5e81";
    const Mesh mesh = parse("v 1 -2 3e\nv - 0 0\nv . 0 0\nv " + longOne + " 0 0\nv 0 1 0\nf 1 2 3\n");
    EXPECT_EQ(mesh.trianglePositions, (Floats{1, -2, 3, 5, 0, 0, 0, 1, 0}));
}

TEST(ObjReader, NumbersBeyondFloatRangeKeepTheirVertex) {
    const Mesh mesh = parse("v 1e-50 0 0\nv 1e60 -1e60 0\nv 0 1 0\nf 1 2 3\n");
    ASSERT_EQ(mesh.trianglePositions.size(), 9u);
    EXPECT_EQ(mesh.trianglePositions[0], 0.0f);
    EXPECT_EQ(mesh.trianglePositions[3], std::numeric_limits<float>::max());
    EXPECT_EQ(mesh.trianglePositions[4], -std::numeric_limits<float>::max());
    EXPECT_EQ(mesh.trianglePositions[7], 1.0f);
}

TEST(ObjReader, MissingFileGivesAnEmptyMesh) {
    const Mesh mesh("/nonexistent/model.obj");
    EXPECT_TRUE(mesh.trianglePositions.empty());
    EXPECT_TRUE(mesh.quadPositions.empty());
    EXPECT_FALSE(mesh.hasTexCoords);
}

TEST(ObjReader, StreamBlocksSplitNoLine) {
    // Lines straddle the reader's 64 KiB blocks, and one comment is longer than a block.
    std::string text = "# " + std::string(150000, 'x') + "\n";
    for (int i = 0; i < 12000; ++i) {
        text += "v " + std::to_string(i) + " " + std::to_string(i % 7) + ".5 -" + std::to_string(i % 3) + "\n";
    }
    for (int i = 1; i + 2 <= 12000; i += 3) {
        text += "f " + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + "\n";
    }
    text += "f 1 2 3";  // the last line has no line break
    Mesh fromMemory;
    readObj(text.data(), text.size(), fromMemory);
    const Mesh fromStream = parse(text);
    EXPECT_EQ(fromMemory.trianglePositions.size(), (4000u + 1u) * 9u);
    EXPECT_EQ(fromStream.trianglePositions, fromMemory.trianglePositions);
    EXPECT_EQ(fromStream.trianglePositions[3 * 11999], 11999.0f);
}
