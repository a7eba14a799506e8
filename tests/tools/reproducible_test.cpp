// How tools/reproducible.sh compares the two builds' archives (its --compare), with a stand-in
// for diffoscope: a diffoscope that fails without a report is that archive's failure, said as
// such, not the end of the script.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/process.h"

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

TEST(Reproducible, SaysIdenticalDifferentOrThatDiffoscopeFailed) {
    const fs::path dir = freshFolder("reproducible_compare");
    // Called as diffoscope --text REPORT ...: writes a report only when it says "they differ".
    writeFile(dir / "bin/diffoscope",
              "#!/bin/sh\n"
              "echo 'diffoscope: on its way'\n"
              "[ \"$FAKE_STATUS\" != 1 ] || echo '--- a.zip +++ b.zip: member taluvine.exe' > \"$2\"\n"
              "exit \"$FAKE_STATUS\"\n");
    fs::permissions(dir / "bin/diffoscope", fs::perms::owner_all, fs::perm_options::add);
    writeFile(dir / "a/taluvine.zip", "one");
    writeFile(dir / "b/taluvine.zip", "one");
    writeFile(dir / "c/taluvine.zip", "two");
    const auto compare = [&](const std::string& status, const std::string& second) {
        return runShell("PATH='" + (dir / "bin").string() + "':\"$PATH\" FAKE_STATUS=" + status + " '" +
                        (sourceDir() / "tools/reproducible.sh").string() + "' --compare '" +
                        (dir / "a/taluvine.zip").string() + "' '" + (dir / second / "taluvine.zip").string() +
                        "' '" + (dir / "report/diffoscope.txt").string() + "'");
    };

    ProcessResult r = compare("9", "b");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("taluvine.zip: identical, taluvine.zip sha256 "), std::string::npos) << r.out;

    r = compare("1", "c");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.out.find("DIFFERENT"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("member taluvine.exe"), std::string::npos) << "the report's first lines\n" << r.out;

    // The report of a diffoscope that failed is not there to show, nor the one from before.
    for (const std::string status : {"2", "127"}) {
        r = compare(status, "c");
        EXPECT_EQ(r.status, 3) << status << "\n" << r.out << r.err;
        EXPECT_NE(r.err.find("diffoscope failed (" + status + ")"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("on its way"), std::string::npos) << "the end of its output\n" << r.err;
        EXPECT_NE(r.err.find("diffoscope wrote no report"), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("member taluvine.exe"), std::string::npos) << r.out;
    }

    r = compare("1", "missing");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("no archive to compare: " + (dir / "missing/taluvine.zip").string()), std::string::npos)
        << r.err;
    fs::remove_all(dir);
}

}  // namespace
