// The control-code dispatcher: the whole code table, the driver's own codes, the closed gate.
#include <algorithm>
#include <cstring>
#include <vector>

#include "driver/lumora_ioctl.h"
#include "tests/support/driver_test.h"

namespace {

struct Exchange {
    uint32_t code;
    uint32_t inputLength;
    uint32_t outputLength;
    NTSTATUS status;
    uint32_t bytes;
};

// Input bytes of every case: an isochronous record (pipe 0, 2 packets of 4 bytes, area 32) cut to the
// case's length, zeros beyond. Its leading 0 is a time-out selector that changes nothing.
const IsoTransferParams IsoRecord = {0, 4, 2, 1, 1};

user::IoResult Send(user::Handle handle, uint32_t code, uint32_t inputLength, uint32_t outputLength,
                    std::vector<uint8_t>* output = nullptr) {
    std::vector<uint8_t> input(inputLength, 0);
    if (inputLength != 0) {
        std::memcpy(input.data(), &IsoRecord, std::min<size_t>(inputLength, sizeof(IsoRecord)));
    }
    std::vector<uint8_t> scratch(outputLength, 0);
    std::vector<uint8_t>& out = output != nullptr ? *output : scratch;
    out.resize(outputLength);
    return user::DeviceIoControl(handle, code, inputLength ? input.data() : nullptr, inputLength,
                                 outputLength ? out.data() : nullptr, outputLength);
}

constexpr uint32_t Code(uint32_t function, uint32_t method) { return LUMORA_CTL_CODE(function, method); }

// Length tests come first and fail with the row's status and 0 bytes; where they pass, codes whose
// handler has not landed yet answer STATUS_NOT_IMPLEMENTED, also where their row fixes the status.
const Exchange Table[] = {
    {Code(0x804, LUMORA_METHOD_BUFFERED), 0, 0, STATUS_INVALID_PARAMETER, 0},
    {Code(0x806, LUMORA_METHOD_OUT_DIRECT), 0, 0, STATUS_INVALID_PARAMETER, 0},
    {Code(0x80C, LUMORA_METHOD_BUFFERED), 0, 0, STATUS_INVALID_PARAMETER, 0},
    {Code(0x817, LUMORA_METHOD_IN_DIRECT), 0, 4, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_GET_INTERFACE_INFO, 0, 64, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_GET_DEVICE_DESCRIPTOR, 0, 18, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_GET_CONFIG_DESCRIPTOR, 0, 64, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_VENDOR_REQUEST, 9, 16, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_VENDOR_REQUEST, 10, 16, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_NO_OPERATION, 0, 0, STATUS_SUCCESS, 0},
    {IOCTL_LUMORA_NO_OPERATION, 8, 8, STATUS_SUCCESS, 0},
    {IOCTL_LUMORA_FIRMWARE_LOAD_512, 512, 0, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_RESET_PORT, 0, 0, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_RESET_PIPE, 3, 0, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_RESET_PIPE, 4, 0, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_ABORT_PIPE, 0, 0, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_ABORT_PIPE, 4, 0, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_SELECT_INTERFACE, 1, 0, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_SELECT_INTERFACE, 2, 0, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_GET_STRING_DESCRIPTOR, 3, 64, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_GET_STRING_DESCRIPTOR, 5, 64, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_GET_STRING_DESCRIPTOR, 4, 0, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_GET_STRING_DESCRIPTOR, 4, 64, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_PIPE_TRANSFER_READ, 3, 16, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_PIPE_TRANSFER_READ, 4, 16, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_PIPE_TRANSFER_WRITE, 0, 16, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_PIPE_TRANSFER_WRITE, 4, 16, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_GET_FRAME_NUMBER, 0, 3, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_GET_FRAME_NUMBER, 0, 4, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_CONTROL_REQUEST, 9, 8, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_CONTROL_REQUEST, 11, 8, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_CONTROL_REQUEST, 10, 8, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_GET_LAST_USBD_STATUS, 0, 3, STATUS_UNSUCCESSFUL, 0},
    {IOCTL_LUMORA_GET_LAST_USBD_STATUS, 0, 4, STATUS_SUCCESS, 4},
    {IOCTL_LUMORA_GET_LAST_USBD_STATUS, 0, 64, STATUS_SUCCESS, 4},
    {IOCTL_LUMORA_ISO_TRANSFER_READ, 19, 64, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_ISO_TRANSFER_READ, 20, 64, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_ISO_TRANSFER_WRITE, 19, 64, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_ISO_TRANSFER_WRITE, 20, 64, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_FIRMWARE_LOAD_64, 3, 64, STATUS_SUCCESS, 0},
    {IOCTL_LUMORA_FIRMWARE_LOAD_64, 2, 0, STATUS_SUCCESS, 0},
    {IOCTL_LUMORA_FIRMWARE_LOAD_64, 2, 64, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_GET_DRIVER_VERSION, 0, 5, STATUS_UNSUCCESSFUL, 0},
    {IOCTL_LUMORA_GET_DRIVER_VERSION, 0, 6, STATUS_SUCCESS, 6},
    {IOCTL_LUMORA_GET_DRIVER_VERSION, 0, 64, STATUS_SUCCESS, 6},
    {IOCTL_LUMORA_ISO_STREAM_START, 19, 0, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_ISO_STREAM_START, 20, 0, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_ISO_STREAM_STOP, 0, 0, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_ISO_STREAM_READ, 19, 32, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_ISO_STREAM_READ, 21, 32, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_ISO_STREAM_READ, 20, 31, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_ISO_STREAM_READ, 20, 33, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_ISO_STREAM_READ, 20, 32, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_SET_DEVICE_FEATURE, 3, 0, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_SET_DEVICE_FEATURE, 5, 0, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_SET_DEVICE_FEATURE, 4, 0, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_SET_TIMEOUT, 7, 0, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_SET_TIMEOUT, 8, 0, STATUS_SUCCESS, 0},
    {IOCTL_LUMORA_SPLIT_TRANSFER_READ, 3, 64, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_SPLIT_TRANSFER_READ, 4, 64, STATUS_NOT_IMPLEMENTED, 0},
    {IOCTL_LUMORA_SPLIT_TRANSFER_WRITE, 3, 64, STATUS_INVALID_PARAMETER, 0},
    {IOCTL_LUMORA_SPLIT_TRANSFER_WRITE, 4, 64, STATUS_NOT_IMPLEMENTED, 0},
};

TEST_F(DriverTest, EveryCodeMakesItsTestsAndCompletesByItsRow) {
    PDEVICE_OBJECT device = nullptr;
    user::Handle handle = OpenStartedCamera(&device);
    ASSERT_NE(handle, nullptr);
    for (const Exchange& exchange : Table) {
        SCOPED_TRACE(testing::Message() << std::hex << "code 0x" << exchange.code << std::dec << " in "
                                        << exchange.inputLength << " out " << exchange.outputLength);
        user::IoResult result = Send(handle, exchange.code, exchange.inputLength, exchange.outputLength);
        EXPECT_EQ(result.status, exchange.status);
        EXPECT_EQ(result.bytesReturned, exchange.bytes);
        EXPECT_EQ(ExtensionOf(device)->OutstandingIo, 1);
    }
    EXPECT_EQ(TransferTimeoutMs, 3000);
}

TEST_F(DriverTest, LastUsbdStatusIsReadWithoutClearing) {
    PDEVICE_OBJECT device = nullptr;
    user::Handle handle = OpenStartedCamera(&device);
    std::vector<uint8_t> out;
    ASSERT_EQ(Send(handle, IOCTL_LUMORA_GET_LAST_USBD_STATUS, 0, 4, &out).status, STATUS_SUCCESS);
    int32_t value = -1;
    std::memcpy(&value, out.data(), 4);
    EXPECT_EQ(value, 0);

    ExtensionOf(device)->LastUsbdStatus = static_cast<USBD_STATUS>(0xC0000004);
    for (int read = 0; read < 2; ++read) {
        ASSERT_EQ(Send(handle, IOCTL_LUMORA_GET_LAST_USBD_STATUS, 0, 4, &out).bytesReturned, 4u);
        std::memcpy(&value, out.data(), 4);
        EXPECT_EQ(static_cast<uint32_t>(value), 0xC0000004u);
    }
}

TEST_F(DriverTest, DriverVersionIsSixBytesOneOneZero) {
    user::Handle handle = OpenStartedCamera();
    std::vector<uint8_t> out;
    user::IoResult result = Send(handle, IOCTL_LUMORA_GET_DRIVER_VERSION, 0, 64, &out);
    ASSERT_EQ(result.status, STATUS_SUCCESS);
    ASSERT_EQ(result.bytesReturned, 6u);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 6), (std::vector<uint8_t>{1, 0, 1, 0, 0, 0}));
}

TEST_F(DriverTest, SetTimeoutChangesTheDriverWideSettingOnlyForSelectorOne) {
    user::Handle handle = OpenStartedCamera();
    auto set = [&](uint32_t selector, int32_t milliseconds, uint32_t length = sizeof(TimeoutParams)) {
        TimeoutParams params = {selector, milliseconds};
        return user::DeviceIoControl(handle, IOCTL_LUMORA_SET_TIMEOUT, &params, length, nullptr, 0).status;
    };
    EXPECT_EQ(TransferTimeoutMs, 3000);
    EXPECT_EQ(set(2, 5), STATUS_SUCCESS);
    EXPECT_EQ(TransferTimeoutMs, 3000);
    EXPECT_EQ(set(1, -1), STATUS_SUCCESS);
    EXPECT_EQ(TransferTimeoutMs, -1);
    EXPECT_EQ(set(1, 0x7FFFFFFF), STATUS_SUCCESS);
    EXPECT_EQ(TransferTimeoutMs, 0x7FFFFFFF);
    EXPECT_EQ(set(1, 250, 4), STATUS_INVALID_PARAMETER);
    EXPECT_EQ(TransferTimeoutMs, 0x7FFFFFFF);
}

TEST_F(DriverTest, CodesAfterRemovalBeganAreRefusedWithoutCounting) {
    PDEVICE_OBJECT device = nullptr;
    user::Handle handle = OpenStartedCamera(&device);
    DeviceExtension* extension = ExtensionOf(device);
    extension->RemovePending = TRUE;
    for (uint32_t code : {IOCTL_LUMORA_NO_OPERATION, IOCTL_LUMORA_GET_DRIVER_VERSION, Code(0x804, 0)}) {
        user::IoResult result = Send(handle, code, 0, 8);
        EXPECT_EQ(result.status, STATUS_DELETE_PENDING);
        EXPECT_EQ(result.bytesReturned, 0u);
        EXPECT_EQ(extension->OutstandingIo, 1);
    }
}

}  // namespace
