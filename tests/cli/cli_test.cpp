#include "cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>

namespace velnora::cli {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result RunCli(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    int status = Run(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(Cli, VersionAndHelp) {
    Result version = RunCli({"--version"});
    EXPECT_EQ(version.status, kExitOk);
    EXPECT_EQ(version.out, "Velnora v0.42\n");
    Result help = RunCli({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("Usage: velnora-cli"), std::string::npos);
}

TEST(Cli, UnknownArgumentsAreAUsageError) {
    Result unknown = RunCli({"--frobnicate"});
    EXPECT_EQ(unknown.status, kExitUsage);
    EXPECT_TRUE(unknown.out.empty());
    EXPECT_NE(unknown.err.find("unknown argument '--frobnicate'"), std::string::npos);
    EXPECT_EQ(RunCli({}).status, kExitUsage);
}

}  // namespace
}  // namespace velnora::cli
