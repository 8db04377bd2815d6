// Typed calls and the demo's verdict over a scripted transport: what reaches the transport and what a
// short, overlong or wrong answer turns into.
#include "client/device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <vector>

#include "tools/lumora/commands.h"

namespace lumora {
namespace {

// Answers every request with one scripted result and reply bytes, recording what was asked.
class ScriptedTransport final : public Transport {
public:
    Result answer{};
    std::vector<uint8_t> reply;
    uint32_t code = 0;
    std::vector<uint8_t> input;
    uint32_t outputLength = 0;

    Result Open(std::string_view) override { return {}; }
    Result Ioctl(uint32_t c, const void* in, uint32_t inLength, void* out, uint32_t outLength) override {
        code = c;
        const auto* bytes = static_cast<const uint8_t*>(in);
        input.assign(bytes, bytes + inLength);
        outputLength = outLength;
        if (outLength != 0) {
            std::memcpy(out, reply.data(), std::min<size_t>(reply.size(), outLength));
        }
        return answer;
    }
    void Close() override {}
};

TEST(DeviceTest, SetTimeoutSendsThePackedRecord) {
    ScriptedTransport transport;
    Device device(transport);
    device.SetTimeout(LUMORA_TIMEOUT_SELECTOR_TRANSFER, -1);
    EXPECT_EQ(transport.code, IOCTL_LUMORA_SET_TIMEOUT);
    EXPECT_EQ(transport.input, (std::vector<uint8_t>{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(transport.outputLength, 0u);
}

TEST(DeviceTest, TypedValueOnlyFromACompleteRecord) {
    ScriptedTransport transport;
    Device device(transport);
    transport.reply = {1, 0, 1, 0, 0, 0};

    transport.answer = {0, 0, 6};
    const VersionReply full = device.GetDriverVersion();
    EXPECT_EQ(transport.outputLength, 6u);
    EXPECT_EQ(full.version.Major, 1);
    EXPECT_EQ(full.version.Minor, 1);

    transport.answer = {0, 0, 5};
    const VersionReply shortReply = device.GetDriverVersion();
    EXPECT_EQ(shortReply.result.bytes, 5u);
    EXPECT_EQ(shortReply.version.Major, 0);
    EXPECT_EQ(shortReply.version.Minor, 0);

    transport.reply = {0x04, 0x00, 0x00, 0xC0};
    transport.answer = {static_cast<int32_t>(0xC0000001u), 31, 4};
    EXPECT_EQ(device.GetLastUsbdStatus().usbdStatus, 0) << "a failed request carries no value";
    transport.answer = {0, 0, 4};
    EXPECT_EQ(device.GetLastUsbdStatus().usbdStatus, static_cast<int32_t>(0xC0000004u));
}

TEST(DeviceTest, RawDataNeverExceedsTheOutputBuffer) {
    ScriptedTransport transport;
    Device device(transport);
    transport.reply = {1, 2, 3, 4};
    transport.answer = {0, 0, 100};  // a byte count beyond the buffer
    const RawReply reply = device.Ioctl(0x222000, {}, 4);
    EXPECT_EQ(reply.result.bytes, 100u);
    EXPECT_EQ(reply.data, (std::vector<uint8_t>{1, 2, 3, 4}));

    transport.answer = {0, 0, 2};
    EXPECT_EQ(device.Ioctl(0x222000, {}, 4).data, (std::vector<uint8_t>{1, 2}));
}

TEST(DeviceTest, DemoFailsOnAnAnswerItDidNotExpect) {
    ScriptedTransport transport;
    transport.reply = {1, 0, 2, 0, 0, 0};  // version 1.2.0
    transport.answer = {0, 0, 6};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(tool::RunDemo(transport, 0, out, err), tool::kExitFailed);
    EXPECT_NE(out.str().find("UNEXPECTED"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("all answers as expected"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace lumora
