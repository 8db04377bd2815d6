// End to end on the simulated system: typed calls, the tool's ioctl lines and its subcommands against
// the driver loaded on the platform.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "client/device.h"
#include "client/names.h"
#include "client/platform_transport.h"
#include "client/simulation.h"
#include "tools/lumora/arguments.h"
#include "tools/lumora/commands.h"
#include "tests/support/kernel_test.h"

namespace lumora {
namespace {

// The verifier's verdict comes after the system has been taken apart.
class SimulatedSystemTest : public KernelTest {
protected:
    void Start(unsigned cameras) { ASSERT_EQ(simulation_.Start(cameras), kStatusSuccess); }
    void TearDown() override {
        transport_.Close();
        simulation_.Stop();
        KernelTest::TearDown();
    }

    Simulation simulation_;
    PlatformTransport transport_;
    Device device_{transport_};
};

TEST_F(SimulatedSystemTest, TypedCallsOnTheDriversOwnCodes) {
    Start(1);
    ASSERT_EQ(device_.Open(0).status, kStatusSuccess);

    const Result noOperation = device_.NoOperation();
    EXPECT_EQ(noOperation.status, kStatusSuccess);
    EXPECT_EQ(noOperation.bytes, 0u);

    const VersionReply version = device_.GetDriverVersion();
    EXPECT_EQ(version.result.status, kStatusSuccess);
    EXPECT_EQ(version.result.bytes, 6u);
    EXPECT_EQ(version.version.Major, 1);
    EXPECT_EQ(version.version.Minor, 1);
    EXPECT_EQ(version.version.Patch, 0);

    const UsbdStatusReply usbd = device_.GetLastUsbdStatus();
    EXPECT_EQ(usbd.result.status, kStatusSuccess);
    EXPECT_EQ(usbd.result.bytes, 4u);
    EXPECT_EQ(usbd.usbdStatus, 0);

    for (const uint32_t selector : {LUMORA_TIMEOUT_SELECTOR_TRANSFER, 2u}) {
        const Result timeout = device_.SetTimeout(selector, 3000);
        EXPECT_EQ(timeout.status, kStatusSuccess) << selector;
        EXPECT_EQ(timeout.bytes, 0u) << selector;
        EXPECT_EQ(timeout.win32Error, 0u) << selector;
    }

    const Result refused = device_.Ioctl(IOCTL_LUMORA_GET_DRIVER_VERSION, {}, 5).result;
    EXPECT_EQ(refused.status, kStatusUnsuccessful);
    EXPECT_EQ(refused.bytes, 0u);
    EXPECT_NE(refused.win32Error, 0u) << "an error status reaches the application as a Win32 error";
}

TEST_F(SimulatedSystemTest, CallsWithoutAnOpenDeviceFail) {
    Start(1);
    EXPECT_EQ(device_.NoOperation().status, kStatusInvalidHandle);
    EXPECT_FALSE(device_.Open(1).Succeeded()) << "only one camera is plugged";
    EXPECT_EQ(device_.NoOperation().status, kStatusInvalidHandle);
}

TEST_F(SimulatedSystemTest, IoctlLinesForTheDriversOwnCodes) {
    Start(1);
    const std::vector<std::string_view> arguments = {
        "ioctl",
        "NO_OPERATION",
        "NO_OPERATION:in=0102:out=8",
        "0x222074:out=6",
        "0x222074:out=5",
        "0x222074:out=64",
        "0x22205C:out=4",
        "0x22205C:out=3",
        "0x2220A0:in=0100000088130000",
        "0x2220A0:in=02000000FFFFFFFF",
        "0x222010",
        "0x222075:out=6",
    };
    const tool::Options options = tool::ParseCommandLine(arguments);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(tool::RunIoctl(transport_, 0, options.requests, out, err), tool::kExitOk) << err.str();
    EXPECT_EQ(out.str(),
              "0x00222018 NO_OPERATION status=0x00000000 STATUS_SUCCESS bytes=0 data=-\n"
              "0x00222018 NO_OPERATION status=0x00000000 STATUS_SUCCESS bytes=0 data=-\n"
              "0x00222074 GET_DRIVER_VERSION status=0x00000000 STATUS_SUCCESS bytes=6 data=010001000000\n"
              "0x00222074 GET_DRIVER_VERSION status=0xC0000001 STATUS_UNSUCCESSFUL bytes=0 data=-\n"
              "0x00222074 GET_DRIVER_VERSION status=0x00000000 STATUS_SUCCESS bytes=6 data=010001000000\n"
              "0x0022205C GET_LAST_USBD_STATUS status=0x00000000 STATUS_SUCCESS bytes=4 data=00000000\n"
              "0x0022205C GET_LAST_USBD_STATUS status=0xC0000001 STATUS_UNSUCCESSFUL bytes=0 data=-\n"
              "0x002220A0 SET_TIMEOUT status=0x00000000 STATUS_SUCCESS bytes=0 data=-\n"
              "0x002220A0 SET_TIMEOUT status=0x00000000 STATUS_SUCCESS bytes=0 data=-\n"
              "0x00222010 ? status=0xC000000D STATUS_INVALID_PARAMETER bytes=0 data=-\n"
              "0x00222075 ? status=0xC000000D STATUS_INVALID_PARAMETER bytes=0 data=-\n");
}

TEST_F(SimulatedSystemTest, DemoReportsEveryAnswerAsExpected) {
    Start(1);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(tool::RunDemo(transport_, 0, out, err), tool::kExitOk) << out.str() << err.str();
    EXPECT_NE(out.str().find("all answers as expected"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("UNEXPECTED"), std::string::npos) << out.str();
}

TEST_F(SimulatedSystemTest, InfoListsEveryPluggedCamera) {
    Start(3);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(tool::RunInfo(transport_, out, err), tool::kExitOk) << err.str();
    EXPECT_EQ(out.str(),
              "driver version 1.1.0\n"
              "devices 3\n"
              "  \\\\.\\Lumora58Tzvex-0\n"
              "  \\\\.\\Lumora58Tzvex-1\n"
              "  \\\\.\\Lumora58Tzvex-2\n");

    // A device that is not there: the tool says why and fails, without sending anything.
    out.str("");
    err.str("");
    const std::vector<tool::IoctlRequest> requests = {tool::ParseIoctlRequest("NO_OPERATION")};
    EXPECT_EQ(tool::RunIoctl(transport_, 3, requests, out, err), tool::kExitFailed);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("cannot open \\\\.\\Lumora58Tzvex-3"), std::string::npos) << err.str();
}

TEST_F(SimulatedSystemTest, RestartsWithTheSameNames) {
    Start(2);
    simulation_.Stop();
    Start(1);
    EXPECT_EQ(simulation_.CameraCount(), 1u);
    ASSERT_EQ(device_.Open(0).status, kStatusSuccess);
    EXPECT_EQ(device_.NoOperation().status, kStatusSuccess);
    device_.Close();
    EXPECT_FALSE(device_.Open(1).Succeeded()) << "the second camera's name went with it";
}

}  // namespace
}  // namespace lumora
