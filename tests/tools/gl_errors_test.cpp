// The whole programme, every scene, rendered by the capture tool with Mesa's debug output on:
// any GL error the program issues is printed as "Mesa: User error: ..." and fails the test.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/process.h"

TEST(GlErrors, NoneOverTheWholeProgramme) {
    const std::string frames = freshFolder("gl_errors").string();
    const ProcessResult run = runShell("cd '" + binaryDir().string() + "' && MESA_DEBUG=1 ./qvl_capture --from 0 " +
                                       "--to 172 --fps 2 --size 160x90 --hidden --out-dir '" + frames + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("Mesa: User error"), std::string::npos) << run.err.substr(0, 4000);
    EXPECT_EQ(run.out.find("Mesa: User error"), std::string::npos) << run.out.substr(0, 4000);
    EXPECT_NE(run.out.find("345 frames"), std::string::npos) << run.out.substr(run.out.size() > 300 ? run.out.size() - 300 : 0);
}
