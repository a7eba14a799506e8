// What every release build reads from the source: the release date written into its archives
// (tools/release/source_date_epoch.sh) and the AppStream release list written from the
// changelog (cmake/metainfo.cmake).
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

const char* const kTwoReleases =
    "taluvine (1.1.0) unstable; urgency=medium\n"
    "\n"
    "  * Faster start & smaller <data>, with a bullet that wraps onto\n"
    "    a second line.\n"
    "  * Second point; [brackets], a \\ backslash, $HOME, @VERSION@ and Jos\u00e9.\n"
    "\n"
    " -- Jos\u00e9 Quorvel <taluvine@quorvel.invalid>  Tue, 5 Jan 2027 23:30:00 -0500\n"
    "\n"
    "taluvine (1.0.0) unstable; urgency=medium\n"
    "\n"
    "  * First release.\n"
    "\n"
    " -- Quorvel <taluvine@quorvel.invalid>  Mon, 07 Dec 2026 18:00:00 +0000\n";

TEST(ReleaseDate, IsTheCallersThenTheLastCommitsThenTheChangelogsNeverTheClock) {
    const std::string script = "'" + (sourceDir() / "tools/release/source_date_epoch.sh").string() + "' ";
    const fs::path dir = freshFolder("release_date");
    writeFile(dir / "tools/release/changelog", kTwoReleases);

    // A copy of the source without its history: the latest entry's date, in UTC.
    ProcessResult r = runShell("unset SOURCE_DATE_EPOCH; " + script + "'" + dir.string() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1799209800\n") << "Tue, 5 Jan 2027 23:30:00 -0500 is 04:30 UTC on the 6th";

    // A checkout: its last commit's time, whatever the changelog says.
    r = runShell("cd '" + dir.string() + "' && git init -q && git add -A && "
                 "GIT_COMMITTER_DATE=@1700000000 GIT_AUTHOR_DATE=@1600000000 "
                 "git -c user.name=t -c user.email=t@t.invalid -c commit.gpgsign=false commit -qm t && "
                 "unset SOURCE_DATE_EPOCH && " +
                 script + "'" + dir.string() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1700000000\n");

    // The caller's own value wins; one that is not a count of seconds is refused, not passed on.
    r = runShell("SOURCE_DATE_EPOCH=1234 " + script + "'" + dir.string() + "'");
    EXPECT_EQ(r.out, "1234\n");
    r = runShell("SOURCE_DATE_EPOCH='2026-12-08' " + script + "'" + dir.string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a count of seconds"), std::string::npos) << r.err;

    // Neither history nor a dated entry: a failure, never today's date.
    fs::remove_all(dir / ".git");
    writeFile(dir / "tools/release/changelog", "taluvine (1.0.0) unstable; urgency=medium\n");
    r = runShell("unset SOURCE_DATE_EPOCH; " + script + "'" + dir.string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    fs::remove_all(dir);
}

ProcessResult writeMetainfo(const fs::path& dir, const std::string& changelog) {
    writeFile(dir / "changelog", changelog);
    return runShell("cmake -DCHANGELOG='" + (dir / "changelog").string() + "' -DTEMPLATE='" +
                    (sourceDir() / "tools/install/taluvine.metainfo.xml.in").string() + "' -DOUTPUT='" +
                    (dir / "out.xml").string() + "' -P '" + (sourceDir() / "cmake/metainfo.cmake").string() + "'");
}

TEST(Metainfo, EveryChangelogEntryIsAReleaseNewestFirstWithItsPointsAsXml) {
    const fs::path dir = freshFolder("metainfo_script");
    ProcessResult r = writeMetainfo(dir, kTwoReleases);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const std::string xml = readFile(dir / "out.xml");
    // The date as its author wrote it, the day given two digits.
    const std::size_t newer = xml.find("<release version=\"1.1.0\" date=\"2027-01-05\">");
    const std::size_t older = xml.find("<release version=\"1.0.0\" date=\"2026-12-07\">");
    ASSERT_NE(newer, std::string::npos) << xml;
    ASSERT_NE(older, std::string::npos) << xml;
    EXPECT_LT(newer, older);
    EXPECT_NE(xml.find("<li>Faster start &amp; smaller &lt;data&gt;, with a bullet that wraps onto a second line.</li>"),
              std::string::npos)
        << xml;
    // Characters that mean something to CMake's lists, its variables or the template go through as
    // they are, and so does text past ASCII.
    EXPECT_NE(xml.find("<li>Second point; [brackets], a \\ backslash, $HOME, @VERSION@ and Jos\u00e9.</li>"),
              std::string::npos)
        << xml;
    EXPECT_EQ(xml.find("@QVL_RELEASES@"), std::string::npos);

    // A release the script cannot date is an error naming the line, not a release left out.
    for (const std::string trailer : {" -- Quorvel <q@q.invalid>  7 December 2026\n",
                                       " -- Quorvel <q@q.invalid>  Mon, 07 Dex 2026 18:00:00 +0000\n"}) {
        fs::remove(dir / "out.xml");
        r = writeMetainfo(dir, "taluvine (2.0) unstable; urgency=low\n\n  * x\n\n" + trailer);
        EXPECT_NE(r.status, 0) << trailer;
        EXPECT_NE(r.err.find("changelog:5:"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir / "out.xml")) << trailer;
    }
    // So is an entry without its trailer, at the line where the changelog stops making sense.
    r = writeMetainfo(dir, "taluvine (2.0) unstable; urgency=low\n\n  * no trailer\n");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("changelog:3:"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "out.xml"));
    fs::remove_all(dir);
}

}  // namespace
