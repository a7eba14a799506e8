// The installed demo: cmake --install into a fresh prefix, then the launcher started from
// another folder plays (loading report, then closed like a window) under the test display; the
// same tree installed into /usr puts its launchers in games/, and they still find the programs
// and data; and the Debian package holds that tree with Depends worked out from the linked
// libraries, its manual pages and documents, and passes lintian without an error or a warning;
// its AppStream metadata validates and lists the changelog's releases.
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
                             "libexec/taluvine/qvl_capture", "share/games/taluvine/data/e5_t5.ogg",
                             "share/applications/taluvine.desktop", "share/icons/hicolor/256x256/apps/taluvine.png",
                             "share/metainfo/invalid.quorvel.taluvine.metainfo.xml",
                             "share/man/man6/taluvine.6.gz", "share/man/man6/taluvine-fullscreen.6.gz",
                             "share/man/man6/taluvine-preview.6.gz", "share/doc/taluvine/README.txt"})
        EXPECT_TRUE(fs::exists(prefix / file)) << file;
    // games/ is Debian's place for /usr; under a user's prefix it is not on the PATH.
    EXPECT_FALSE(fs::exists(prefix / "games")) << "launchers belong in bin/ outside /usr";

    // Started from an unrelated folder through a symbolic link, as from a desktop's PATH.
    const fs::path elsewhere = freshFolder("elsewhere");
    fs::create_symlink(prefix / "bin/taluvine", elsewhere / "taluvine");
    r = runShell("cd '" + elsewhere.string() + "' && { timeout 120 ./taluvine & pid=$!; " + closeWindowOfPid() +
                 "sleep 0.5; wait $pid; }");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("loading time: ", 0), 0u) << r.out << r.err;
    fs::remove_all(elsewhere);
    fs::remove_all(prefix);
}

TEST(Install, UnderUsrTheLaunchersGoToGamesAndStillFindTheirPrograms) {
    const fs::path stage = freshFolder("stage");
    ProcessResult r = runShell("DESTDIR='" + stage.string() + "' cmake --install '" + binaryDir().string() +
                               "' --prefix /usr");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* launcher : {"taluvine", "taluvine-fullscreen", "taluvine-preview"}) {
        EXPECT_TRUE(fs::exists(stage / "usr/games" / launcher)) << launcher;
        EXPECT_FALSE(fs::exists(stage / "usr/bin" / launcher)) << launcher;
    }
    // A bad option makes the preview print its usage and stop before it opens a window, so this
    // shows the launcher reached the data folder and the program without needing a display.
    r = runShell("cd / && '" + (stage / "usr/games/taluvine-preview").string() + "' --no-such-option");
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    EXPECT_NE(r.err.find("usage: qvl_preview"), std::string::npos) << r.err;
    fs::remove_all(stage);
}

// Software centres list the package from its AppStream metadata: it must validate with the
// desktop entry it launches, and list every release the changelog has, newest first.
TEST(Install, TheSoftwareCentresMetadataValidatesAndListsTheChangelogsReleases) {
    const fs::path stage = freshFolder("metainfo");
    ProcessResult r = runShell("DESTDIR='" + stage.string() + "' cmake --install '" + binaryDir().string() +
                               "' --prefix /usr");
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path file = stage / "usr/share/metainfo/invalid.quorvel.taluvine.metainfo.xml";
    ASSERT_TRUE(fs::exists(file));
    // The file itself, then the tree: the metadata with the desktop entry it launches.
    for (const std::string& command : {"appstreamcli validate --no-net --no-color '" + file.string() + "'",
                                       "appstreamcli validate-tree --no-color '" + stage.string() + "'"}) {
        r = runShell(command);
        EXPECT_EQ(r.status, 0) << command << "\n" << r.out << r.err;
        for (const char* severity : {"E: ", "W: "}) EXPECT_EQ(r.out.find(severity), std::string::npos) << r.out;
    }

    const std::string changelog = readFile(sourceDir() / "tools/release/changelog");
    const std::string metainfo = readFile(file);
    std::size_t last = 0;
    for (std::size_t at = 0; (at = changelog.find("taluvine (", at)) != std::string::npos; ++at) {
        if (at != 0 && changelog[at - 1] != '\n') continue;
        const std::size_t open = at + 10;
        const std::string version = changelog.substr(open, changelog.find(')', open) - open);
        const std::size_t release = metainfo.find("<release version=\"" + version + "\"");
        ASSERT_NE(release, std::string::npos) << version << " missing from\n" << metainfo;
        EXPECT_GE(release, last) << version << " out of order";
        last = release;
    }
    EXPECT_GT(last, 0u) << "no release read from the changelog";
    fs::remove_all(stage);
}

TEST(Install, TheDebianPackageHoldsTheTreeAndItsDependsAndPassesLintian) {
    const fs::path out = freshFolder("deb");
    ProcessResult r = runShell("cd '" + binaryDir().string() + "' && cpack -G DEB -B '" + out.string() + "'");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    fs::path deb;
    for (const auto& entry : fs::directory_iterator(out))
        if (entry.path().extension() == ".deb") deb = entry.path();
    ASSERT_FALSE(deb.empty());
    r = runShell("dpkg-deb -c '" + deb.string() + "'");
    for (const char* file :
         {"./usr/games/taluvine", "./usr/games/taluvine-fullscreen", "./usr/games/taluvine-preview",
          "./usr/libexec/taluvine/qvl_taluvine", "./usr/share/games/taluvine/data/e5_t5.ogg",
          "./usr/share/games/taluvine/data/logo.frag", "./usr/share/applications/taluvine.desktop",
          "./usr/share/icons/hicolor/256x256/apps/taluvine.png", "./usr/share/metainfo/invalid.quorvel.taluvine.metainfo.xml",
          "./usr/share/man/man6/taluvine.6.gz",
          "./usr/share/man/man6/taluvine-fullscreen.6.gz -> taluvine.6.gz", "./usr/share/man/man6/taluvine-preview.6.gz",
          "./usr/share/doc/taluvine/copyright", "./usr/share/doc/taluvine/changelog.gz",
          "./usr/share/doc/taluvine/README.txt", "./usr/share/doc/taluvine/NOTICE.txt"})
        EXPECT_NE(r.out.find(std::string(file) + "\n"), std::string::npos) << file;
    EXPECT_EQ(r.out.find("gtest"), std::string::npos) << "test programs are not packaged";
    r = runShell("dpkg-deb -f '" + deb.string() + "' Depends");
    for (const char* library : {"libglfw3", "libglew", "libopenal1", "libvorbisfile3", "libfftw3-single3", "liblodepng",
                                "libgl1"})
        EXPECT_NE(r.out.find(library), std::string::npos) << library << " missing from " << r.out;

    // Errors and warnings fail lintian; the one override, a false positive, must stay the only one.
    r = runShell("lintian --fail-on error,warning '" + deb.string() + "'");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    // Overridden tags count as failures once shown, so this listing is read, not its status.
    const std::string tags = r.out + runShell("lintian --show-overrides '" + deb.string() + "'").out;
    std::size_t line = 0;
    for (std::size_t end; (end = tags.find('\n', line)) != std::string::npos; line = end + 1) {
        const std::string text = tags.substr(line, end - line);
        EXPECT_NE(text.rfind("E: ", 0), 0u) << text;
        EXPECT_NE(text.rfind("W: ", 0), 0u) << text;
        if (text.rfind("O: ", 0) == 0) {
            EXPECT_NE(text.find("embedded-library glew"), std::string::npos) << text;
        }
    }
    fs::remove_all(out);
}

}  // namespace
