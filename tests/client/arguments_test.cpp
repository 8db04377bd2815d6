// The tool's command line: raw request syntax and subcommand options, good and malformed.
#include "tools/lumora/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/lumora_ioctl.h"

namespace lumora::tool {
namespace {

struct GoodRequest {
    std::string text;
    IoctlRequest expected;
};

class GoodRequestTest : public ::testing::TestWithParam<GoodRequest> {};

TEST_P(GoodRequestTest, Parses) {
    EXPECT_EQ(ParseIoctlRequest(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, GoodRequestTest,
    ::testing::Values(
        GoodRequest{"0x222074:out=6", {0x222074, {}, 6}},
        GoodRequest{"0x222074:in=:out=6", {0x222074, {}, 6}},
        GoodRequest{"0x2220A0:in=0100000088130000", {0x2220A0, {1, 0, 0, 0, 0x88, 0x13, 0, 0}, 0}},
        GoodRequest{"0X2220a0:in=fF", {0x2220A0, {0xFF}, 0}},
        GoodRequest{"2236532", {0x222074, {}, 0}},
        GoodRequest{"0xFFFFFFFF", {0xFFFFFFFFu, {}, 0}},
        GoodRequest{"GET_DRIVER_VERSION:out=0x40", {IOCTL_LUMORA_GET_DRIVER_VERSION, {}, 64}},
        GoodRequest{"ioctl_lumora_no_operation", {IOCTL_LUMORA_NO_OPERATION, {}, 0}},
        GoodRequest{"SET_TIMEOUT:out=0:in=02000000", {IOCTL_LUMORA_SET_TIMEOUT, {2, 0, 0, 0}, 0}},
        GoodRequest{"NO_OPERATION:out=16777216", {IOCTL_LUMORA_NO_OPERATION, {}, kMaxBufferLength}}));

class MalformedRequestTest : public ::testing::TestWithParam<std::string> {};

TEST_P(MalformedRequestTest, IsRefusedWithAMessage) {
    try {
        ParseIoctlRequest(GetParam());
        ADD_FAILURE() << "accepted '" << GetParam() << "'";
    } catch (const UsageError& error) {
        EXPECT_NE(std::string(error.what()), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedRequestTest,
                         ::testing::Values("", ":out=6", "0x", "0xZZ", "22x", "-1", "0x100000000",
                                           "NOT_A_CODE", "IOCTL_LUMORA_", "0x222074:", "0x222074::out=1",
                                           "0x222074:in=123", "0x222074:in=0g", "0x222074:in=0x01",
                                           "0x222074:out=", "0x222074:out=-1", "0x222074:out=6x",
                                           "0x222074:out=16777217", "0x222074:out=1:out=2",
                                           "0x222074:in=00:in=00", "0x222074:size=6", "0x222074 :out=6"));

std::vector<std::string_view> Words(std::initializer_list<std::string_view> words) { return words; }

TEST(CommandLineTest, ReadsCommandOptionsAndRequests) {
    const auto ioctl = Words({"ioctl", "--cameras", "3", "NO_OPERATION", "--device", "2", "0x222074:out=6"});
    const Options options = ParseCommandLine(ioctl);
    EXPECT_EQ(options.command, Command::Ioctl);
    EXPECT_EQ(options.cameras, 3u);
    EXPECT_EQ(options.device, 2u);
    ASSERT_EQ(options.requests.size(), 2u);
    EXPECT_EQ(options.requests[0].code, IOCTL_LUMORA_NO_OPERATION);
    EXPECT_EQ(options.requests[1].outputLength, 6u);

    EXPECT_EQ(ParseCommandLine(Words({"demo"})).command, Command::Demo);
    EXPECT_EQ(ParseCommandLine(Words({"info"})).cameras, 1u);
    EXPECT_EQ(ParseCommandLine(Words({"--help"})).command, Command::Help);
    EXPECT_EQ(ParseCommandLine(Words({"help"})).command, Command::Help);
}

TEST(CommandLineTest, RefusesMalformedLines) {
    const std::vector<std::vector<std::string_view>> lines = {
        {},
        {"capture"},
        {"--cameras", "2"},
        {"ioctl"},
        {"ioctl", "--cameras", "2"},
        {"demo", "extra"},
        {"demo", "--cameras"},
        {"demo", "--cameras", "0"},
        {"demo", "--cameras", "33"},
        {"demo", "--device", "32"},
        {"demo", "--device", "one"},
        {"info", "--verbose"},
        {"ioctl", "0x222074:out=x"},
    };
    for (const auto& line : lines) {
        EXPECT_THROW(ParseCommandLine(line), UsageError) << (line.empty() ? "(empty)" : line[0]);
    }
}

}  // namespace
}  // namespace lumora::tool
