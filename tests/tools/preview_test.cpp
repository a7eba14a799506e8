// The preview's GLFW keys and options, without a window; and the tool itself under
// the test display, driven by keys: it starts where asked, pauses, steps, seeks, reloads, quits.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <filesystem>
#include <sstream>

#include "tests/support/process.h"
#include "tools/preview/preview_keys.h"
#include "tools/preview/preview_options.h"

using namespace Quorvel;
using namespace Quorvel::Preview;
namespace fs = std::filesystem;

namespace {

TEST(PreviewKeys, EachKeyAndItsModifiers) {
    EXPECT_EQ(commandForKey(GLFW_KEY_ESCAPE, GLFW_PRESS, 0).action, PlayerAction::None);
    EXPECT_EQ(commandForKey(GLFW_KEY_ESCAPE, GLFW_RELEASE, 0).action, PlayerAction::Quit);
    EXPECT_EQ(commandForKey(GLFW_KEY_SPACE, GLFW_PRESS, 0).action, PlayerAction::TogglePause);
    EXPECT_EQ(commandForKey(GLFW_KEY_SPACE, GLFW_REPEAT, 0).action, PlayerAction::None);  // held Space does not flicker
    EXPECT_EQ(commandForKey(GLFW_KEY_LEFT, GLFW_PRESS, 0).seconds, -1.0);
    EXPECT_EQ(commandForKey(GLFW_KEY_RIGHT, GLFW_REPEAT, GLFW_MOD_SHIFT).seconds, 10.0);
    EXPECT_EQ(commandForKey(GLFW_KEY_LEFT, GLFW_RELEASE, 0).action, PlayerAction::None);
    EXPECT_EQ(commandForKey(GLFW_KEY_COMMA, GLFW_PRESS, 0).frames, -1);
    EXPECT_EQ(commandForKey(GLFW_KEY_PERIOD, GLFW_PRESS, 0).frames, 1);
    EXPECT_EQ(commandForKey(GLFW_KEY_HOME, GLFW_PRESS, 0).action, PlayerAction::GoToStart);
    EXPECT_EQ(commandForKey(GLFW_KEY_F5, GLFW_PRESS, 0).action, PlayerAction::Reload);
    EXPECT_EQ(commandForKey(GLFW_KEY_M, GLFW_PRESS, 0).action, PlayerAction::ToggleMute);
    EXPECT_EQ(commandForKey(GLFW_KEY_A, GLFW_PRESS, 0).action, PlayerAction::None);
}

TEST(PreviewOptions, FromAndSize) {
    auto parse = [](std::vector<const char*> args, PreviewOptions& o) {
        args.insert(args.begin(), "qvl_preview");
        std::string error;
        return parsePreviewOptions(int(args.size()), args.data(), o, error);
    };
    PreviewOptions o;
    ASSERT_TRUE(parse({"--from", "95.5", "--size", "640x360"}, o));
    EXPECT_EQ(o.from, 95.5);
    EXPECT_EQ(o.width, 640);
    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {"--from"}, {"--from", "-1"}, {"--from", "200"}, {"--size", "0x9"}, {"--fps", "3"}, {"95"}})
        EXPECT_FALSE(parse(bad, o = PreviewOptions())) << bad[0];
    ASSERT_TRUE(parse({"--from", "-1", "--help"}, o = PreviewOptions()));
    EXPECT_TRUE(o.help);
}

TEST(PreviewTool, HelpPrintsTheUsageAndSucceeds) {
    const ProcessResult r = runShell((binaryDir() / "qvl_preview").string() + " --help");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("usage: qvl_preview", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("Escape quit"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");
}

// The window title carries the state; xdotool reads it and types the keys.
TEST(PreviewTool, StartsWhereAskedPausesStepsReloadsAndQuits) {
    const fs::path dir = freshFolder("preview");
    fs::create_directory_symlink(binaryDir() / "data", dir / "data");
    // Each step waits for the title to show its effect (up to a minute), never a fixed time: on a
    // loaded machine a key can take seconds to be handled, and a reload longer still.
    const std::string helpers =
        "now() { xdotool getwindowname $w 2>/dev/null; }; "
        "until_has() { for i in $(seq 600); do t=$(now); case \"$t\" in *\"$1\"*) break;; esac; sleep 0.1; done; echo \"$t\"; }; "
        "until_not() { for i in $(seq 600); do t=$(now); [ \"$t\" != \"$1\" ] && break; sleep 0.1; done; echo \"$t\"; }; ";
    const std::string script =
        "cd '" + dir.string() + "' && { " + helpers + "timeout 180 " + (binaryDir() / "qvl_preview").string() +
        " --from 96 --size 320x180 > preview.log & pid=$!; "
        + focusWindowOfPid() +
        "until_has 'landscape+tube'; "
        "xdotool key space; until_has '[paused]'; sleep 0.5; t=$(now); echo \"$t\"; "
        "xdotool key period; t=$(until_not \"$t\"); xdotool key period; t=$(until_not \"$t\"); echo \"$t\"; "
        "xdotool key shift+Right; t=$(until_not \"$t\"); echo \"$t\"; "
        "xdotool key F5; for i in $(seq 600); do grep -q reloaded preview.log && break; sleep 0.1; done; now; "
        "xdotool key Home; until_has ' 0.00 s'; "
        "xdotool key Escape; wait $pid; status=$?; cat preview.log; exit $status; }";
    const ProcessResult r = runShell(script);
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> titles;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("Taluvine preview", 0) == 0) titles.push_back(line);
    ASSERT_EQ(titles.size(), 7u) << r.out << r.err;
    auto timeIn = [](const std::string& t) { return std::stod(t.substr(std::string("Taluvine preview").size())); };
    EXPECT_GE(timeIn(titles[0]), 96.0);
    EXPECT_NE(titles[0].find("landscape+tube"), std::string::npos) << titles[0];
    EXPECT_NE(titles[1].find("[paused]"), std::string::npos) << titles[1];
    EXPECT_EQ(titles[1], titles[2]) << "time ran on while paused";
    EXPECT_NEAR(timeIn(titles[3]) - timeIn(titles[2]), 2.0 / 60.0, 0.011);
    EXPECT_NEAR(timeIn(titles[4]) - timeIn(titles[3]), 10.0, 0.011);
    EXPECT_EQ(titles[5], titles[4]) << "a reload keeps the time";
    EXPECT_NE(r.out.find("preview: reloaded data/"), std::string::npos);
    EXPECT_EQ(timeIn(titles[6]), 0.0);
    EXPECT_NE(titles[6].find("logo"), std::string::npos);
    fs::remove_all(dir);
}

}  // namespace
