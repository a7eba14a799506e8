// The installed demo: cmake --install into a fresh prefix, then the launcher started from
// another folder plays (loading report, then closed like a window) under the test display; and
// the Debian package holds the same tree with Depends worked out from the linked libraries.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/process.h"

namespace fs = std::filesystem;

namespace {

TEST(Install, TheLauncherPlaysFromAnyFolder) {
    const fs::path prefix = freshFolder("prefix");
    ProcessResult r = runShell("cmake --install '" + binaryDir().string() + "' --prefix '" + prefix.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* file : {"bin/taluvine", "bin/taluvine-fullscreen", "bin/taluvine-preview",
                             "libexec/taluvine/qvl_capture", "share/taluvine/data/e5_t5.ogg",
                             "share/applications/taluvine.desktop", "share/icons/hicolor/256x256/apps/taluvine.png"})
        EXPECT_TRUE(fs::exists(prefix / file)) << file;

    // Started from an unrelated folder through a symbolic link, as from a desktop's PATH.
    const fs::path elsewhere = freshFolder("elsewhere");
    fs::create_symlink(prefix / "bin/taluvine", elsewhere / "taluvine");
    r = runShell("cd '" + elsewhere.string() + "' && { timeout 120 ./taluvine & pid=$!; " +
                 (binaryDir() / "x_close_window").string() + " 'Taluvine by Quorvel' 60; sleep 0.5; wait $pid; }");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("loading time: ", 0), 0u) << r.out << r.err;
    fs::remove_all(elsewhere);
    fs::remove_all(prefix);
}

TEST(Install, TheDebianPackageHoldsTheTreeAndItsDepends) {
    const fs::path out = freshFolder("deb");
    ProcessResult r = runShell("cd '" + binaryDir().string() + "' && cpack -G DEB -B '" + out.string() + "'");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    fs::path deb;
    for (const auto& entry : fs::directory_iterator(out))
        if (entry.path().extension() == ".deb") deb = entry.path();
    ASSERT_FALSE(deb.empty());
    r = runShell("dpkg-deb -c '" + deb.string() + "'");
    for (const char* file : {"./usr/bin/taluvine", "./usr/bin/taluvine-fullscreen", "./usr/libexec/taluvine/qvl_taluvine",
                             "./usr/share/taluvine/data/e5_t5.ogg", "./usr/share/taluvine/data/logo.frag",
                             "./usr/share/applications/taluvine.desktop",
                             "./usr/share/icons/hicolor/256x256/apps/taluvine.png"})
        EXPECT_NE(r.out.find(std::string(file) + "\n"), std::string::npos) << file;
    EXPECT_EQ(r.out.find("gtest"), std::string::npos) << "test programs are not packaged";
    r = runShell("dpkg-deb -f '" + deb.string() + "' Depends");
    for (const char* library : {"libglfw3", "libglew", "libopenal1", "libvorbisfile3", "libfftw3-single3", "liblodepng",
                                "libgl1"})
        EXPECT_NE(r.out.find(library), std::string::npos) << library << " missing from " << r.out;
    fs::remove_all(out);
}

}  // namespace
