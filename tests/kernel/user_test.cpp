// The application's view: opening by link, control requests by transfer method, closing, error mapping.
#include <cstring>
#include <vector>

#include "platform/kernel/threads.h"
#include "platform/user/user.h"
#include "tests/kernel/test_driver.h"
#include "tests/support/kernel_test.h"

namespace {

// What the device saw of the last control request.
struct Seen {
    std::vector<UCHAR> majors;
    ULONG inputLength, outputLength;
    bool hasSystemBuffer;
    std::vector<UCHAR> systemInput;
    PVOID mdlAddress;
    ULONG mdlBytes;
    KIRQL irql;
    KPROCESSOR_MODE mode;
    PFILE_OBJECT file;
} seen;

ULONG_PTR reply;          // Information to complete with
bool pendFromBus;
kernel::BusThread* bus;

NTSTATUS Dispatch(PDEVICE_OBJECT, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    seen.majors.push_back(stack->MajorFunction);
    seen.irql = KeGetCurrentIrql();
    seen.mode = irp->RequestorMode;
    seen.file = stack->FileObject;
    if (stack->MajorFunction != IRP_MJ_DEVICE_CONTROL) return test::Complete(irp, STATUS_SUCCESS);
    seen.inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    seen.outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    auto* system = static_cast<PUCHAR>(irp->AssociatedIrp.SystemBuffer);
    seen.hasSystemBuffer = system != nullptr;
    seen.systemInput.assign(system, system + (system ? seen.inputLength : 0));
    seen.mdlAddress = irp->MdlAddress ? MmGetMdlVirtualAddress(irp->MdlAddress) : nullptr;
    seen.mdlBytes = irp->MdlAddress ? MmGetMdlByteCount(irp->MdlAddress) : 0;
    ULONG method = METHOD_FROM_CTL_CODE(stack->Parameters.DeviceIoControl.IoControlCode);
    if (method == METHOD_BUFFERED && system) std::memset(system, 'r', reply);
    if (irp->MdlAddress)
        std::memset(MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority), 'd', reply);
    if (!pendFromBus) return test::Complete(irp, STATUS_SUCCESS, reply);
    IoMarkIrpPending(irp);
    ULONG_PTR information = reply;
    bus->Post([irp, information] { test::Complete(irp, STATUS_SUCCESS, information); });
    return STATUS_PENDING;
}

NTSTATUS Refuse(PDEVICE_OBJECT, PIRP irp) { return test::Complete(irp, STATUS_DELETE_PENDING); }

constexpr ULONG Code(ULONG method) { return CTL_CODE(FILE_DEVICE_UNKNOWN, 0x900, method, FILE_ANY_ACCESS); }

class UserTest : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        seen = {};
        reply = 0;
        pendFromBus = false;
        bus = &bus_;
        device_ = test::CreateDevice(test::LoadDriver(Dispatch), u"\\Device\\Gadget0", u"Gadget");
        auto opened = user::CreateFile("\\\\.\\Gadget");
        ASSERT_EQ(opened.status, STATUS_SUCCESS);
        handle_ = opened.handle;
    }
    void TearDown() override {
        if (handle_) user::CloseHandle(handle_);
        bus_.Drain();
        KernelTest::TearDown();
    }
    kernel::BusThread bus_;
    PDEVICE_OBJECT device_ = nullptr;
    user::Handle handle_ = nullptr;
};

TEST_F(UserTest, OpenSendsCreateToTheTopOfTheStackAndCloseSendsCleanupThenClose) {
    EXPECT_EQ(seen.majors, std::vector<UCHAR>{IRP_MJ_CREATE});
    EXPECT_EQ(seen.mode, UserMode);
    ASSERT_NE(seen.file, nullptr);
    EXPECT_EQ(seen.file->DeviceObject, device_);
    EXPECT_EQ(user::CloseHandle(handle_), STATUS_SUCCESS);
    handle_ = nullptr;
    EXPECT_EQ(seen.majors, (std::vector<UCHAR>{IRP_MJ_CREATE, IRP_MJ_CLEANUP, IRP_MJ_CLOSE}));
}

TEST_F(UserTest, OpenFailsForUnknownNamesAndRefusedCreates) {
    auto missing = user::CreateFile("\\\\.\\Nothing");
    EXPECT_EQ(missing.handle, nullptr);
    EXPECT_EQ(missing.status, STATUS_OBJECT_NAME_NOT_FOUND);
    EXPECT_EQ(missing.win32Error, 2u);
    test::CreateDevice(test::LoadDriver(Refuse), u"\\Device\\Closed0", u"Closed");
    auto refused = user::CreateFile("\\\\.\\Closed");
    EXPECT_EQ(refused.handle, nullptr);
    EXPECT_EQ(refused.status, STATUS_DELETE_PENDING);
    EXPECT_EQ(refused.win32Error, 303u);
}

TEST_F(UserTest, BufferedRequestGetsOneSystemBufferAndInformationBytesBack) {
    struct Case {
        ULONG in, out, information;
        bool systemBuffer;
    } cases[] = {{3, 8, 5, true}, {8, 3, 3, true}, {0, 4, 4, true}, {4, 0, 0, true}, {0, 0, 0, false}};
    for (const Case& c : cases) {
        std::vector<UCHAR> input(c.in, 'i'), output(c.out, '.');
        reply = c.information;
        user::IoResult r = user::DeviceIoControl(handle_, Code(METHOD_BUFFERED), input.data(), c.in, output.data(), c.out);
        EXPECT_EQ(r.status, STATUS_SUCCESS);
        EXPECT_EQ(r.bytesReturned, c.information);
        EXPECT_EQ(seen.hasSystemBuffer, c.systemBuffer);
        EXPECT_EQ(seen.systemInput, input);
        EXPECT_EQ(seen.irql, PASSIVE_LEVEL);
        for (ULONG i = 0; i < c.out; ++i) EXPECT_EQ(output[i], i < c.information ? 'r' : '.');
    }
}

TEST_F(UserTest, DirectRequestsGetInputInTheSystemBufferAndOutputInALockedMdl) {
    for (ULONG method : {METHOD_IN_DIRECT, METHOD_OUT_DIRECT}) {
        UCHAR input[2] = {1, 2};
        std::vector<UCHAR> output(10, '.');
        reply = 6;
        user::IoResult r = user::DeviceIoControl(handle_, Code(method), input, 2, output.data(), 10);
        EXPECT_EQ(r.bytesReturned, 6u);
        EXPECT_EQ(seen.systemInput, (std::vector<UCHAR>{1, 2}));
        EXPECT_EQ(seen.mdlAddress, output.data());
        EXPECT_EQ(seen.mdlBytes, 10u);
        EXPECT_EQ(output[5], 'd');
        EXPECT_EQ(output[6], '.');
        reply = 0;
        user::DeviceIoControl(handle_, Code(method), nullptr, 0, nullptr, 0);
        EXPECT_FALSE(seen.hasSystemBuffer);
        EXPECT_EQ(seen.mdlAddress, nullptr);
    }
}

TEST_F(UserTest, PendingRequestIsWaitedFor) {
    pendFromBus = true;
    reply = 2;
    char output[2] = {};
    user::IoResult r = user::DeviceIoControl(handle_, Code(METHOD_BUFFERED), nullptr, 0, output, 2);
    EXPECT_EQ(r.status, STATUS_SUCCESS);
    EXPECT_EQ(r.bytesReturned, 2u);
    EXPECT_EQ(output[1], 'r');
}

TEST_F(UserTest, BadHandleOrBufferIsRefusedBeforeTheDriver) {
    size_t before = seen.majors.size();
    user::IoResult bad = user::DeviceIoControl(nullptr, Code(METHOD_BUFFERED), nullptr, 0, nullptr, 0);
    EXPECT_EQ(bad.status, STATUS_INVALID_HANDLE);
    EXPECT_EQ(bad.win32Error, 6u);
    user::IoResult noBuffer = user::DeviceIoControl(handle_, Code(METHOD_BUFFERED), nullptr, 4, nullptr, 0);
    EXPECT_EQ(noBuffer.win32Error, 998u);
    EXPECT_EQ(seen.majors.size(), before);
}

TEST(Win32ErrorFromStatus, MapsAsTheSystemDoes) {
    struct Case {
        NTSTATUS status;
        uint32_t error;
    } cases[] = {
        {STATUS_SUCCESS, 0},          {STATUS_INVALID_PARAMETER, 87},     {STATUS_UNSUCCESSFUL, 31},
        {STATUS_DELETE_PENDING, 303}, {STATUS_TIMEOUT, 1460},             {STATUS_CANCELLED, 995},
        {STATUS_NO_MEMORY, 8},        {STATUS_INSUFFICIENT_RESOURCES, 1450}, {STATUS_DEVICE_BUSY, 170},
        {STATUS_NOT_SUPPORTED, 50},   {STATUS_OBJECT_NAME_NOT_FOUND, 2},  {STATUS_BUFFER_TOO_SMALL, 122},
        {STATUS_INVALID_DEVICE_REQUEST, 1}, {STATUS_DEVICE_NOT_CONNECTED, 1167}, {STATUS_IO_TIMEOUT, 121},
        {STATUS_BUFFER_OVERFLOW, 234}, {STATUS_DEVICE_DOES_NOT_EXIST, 55}, {static_cast<NTSTATUS>(0xC0FFEE00), 317},
    };
    for (const Case& c : cases) EXPECT_EQ(user::Win32ErrorFromStatus(c.status), c.error) << std::hex << c.status;
}

}  // namespace
