// Fault injection: the k-th allocation of each kind fails, a sweep over k drives every unwind path, and
// randomised low resources repeat for a seed.
#include <vector>

#include "platform/pnp/pnp.h"
#include "platform/verifier/verifier.h"
#include "tests/kernel/test_driver.h"
#include "tests/support/kernel_test.h"

namespace {

using verifier::Fault;

constexpr ULONG kTag = 0x746C7546;  // 'Fult'

// A DriverEntry that allocates three blocks and a device, unwinding in one place on any failure.
struct Globals {
    PVOID blocks[3];
    PDEVICE_OBJECT device;
} g;

NTSTATUS CarefulEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    g = {};
    NTSTATUS status = STATUS_INSUFFICIENT_RESOURCES;
    int made = 0;
    for (; made < 3; ++made) {
        g.blocks[made] = ExAllocatePoolWithTag(NonPagedPool, 64, kTag);
        if (!g.blocks[made]) goto unwind;
    }
    status = IoCreateDevice(driver, 0, nullptr, FILE_DEVICE_UNKNOWN, 0, FALSE, &g.device);
    if (!NT_SUCCESS(status)) goto unwind;
    driver->DriverUnload = +[](PDRIVER_OBJECT) {
        IoDeleteDevice(g.device);
        for (PVOID block : g.blocks) ExFreePool(block);
    };
    return STATUS_SUCCESS;
unwind:
    while (made-- > 0) ExFreePool(g.blocks[made]);
    return status;
}

class FaultTest : public KernelTest {};

TEST_F(FaultTest, SweepOverEveryPoolAllocationOfDriverEntry) {
    int failedLoads = 0;
    for (int k = 0;; ++k) {
        verifier::ArmFault(Fault::Pool, k);
        PDRIVER_OBJECT driver;
        NTSTATUS status = pnp::LoadDriver(CarefulEntry, u"Careful", &driver);
        int seen = verifier::FaultsSeen(Fault::Pool);
        verifier::DisarmFaults();
        if (NT_SUCCESS(status)) {
            EXPECT_EQ(seen, 0);
            pnp::UnloadDriver(driver);
            break;
        }
        EXPECT_EQ(status, STATUS_INSUFFICIENT_RESOURCES);
        EXPECT_EQ(seen, 1);
        ++failedLoads;
        ASSERT_LT(k, 10);
    }
    EXPECT_EQ(failedLoads, 4);  // three blocks and the device object
}

TEST_F(FaultTest, EachKindFailsOnItsOwnCountdown) {
    PDEVICE_OBJECT device = test::CreateDevice(test::LoadDriver(test::CompleteSuccess));
    verifier::ArmFault(Fault::Irp, 1);
    verifier::ArmFault(Fault::Mdl, 0);
    verifier::ArmFault(Fault::Request, 0);
    char buffer[8];
    KEVENT event;
    KeInitializeEvent(&event, NotificationEvent, FALSE);
    IO_STATUS_BLOCK iosb;

    EXPECT_EQ(IoBuildDeviceIoControlRequest(0, device, nullptr, 0, nullptr, 0, FALSE, &event, &iosb), nullptr);
    PIRP first = IoAllocateIrp(1, FALSE);  // building a request did not use up the IRP countdown
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(IoAllocateIrp(1, FALSE), nullptr);
    PIRP third = IoAllocateIrp(1, FALSE);  // one failure by default
    EXPECT_NE(third, nullptr);
    EXPECT_EQ(IoAllocateMdl(buffer, sizeof buffer, FALSE, FALSE, nullptr), nullptr);
    PMDL mdl = IoAllocateMdl(buffer, sizeof buffer, FALSE, FALSE, nullptr);
    EXPECT_NE(mdl, nullptr);
    PIRP built = IoBuildDeviceIoControlRequest(0, device, nullptr, 0, nullptr, 0, FALSE, &event, &iosb);
    EXPECT_NE(built, nullptr);
    EXPECT_EQ(verifier::FaultsSeen(Fault::Irp), 1);
    EXPECT_EQ(verifier::FaultsSeen(Fault::Mdl), 1);
    EXPECT_EQ(verifier::FaultsSeen(Fault::Request), 1);
    EXPECT_EQ(verifier::FaultsSeen(Fault::Pool), 0);

    IoCallDriver(device, built);
    EXPECT_EQ(iosb.Status, STATUS_SUCCESS);
    IoFreeMdl(mdl);
    IoFreeIrp(first);
    IoFreeIrp(third);
}

TEST_F(FaultTest, RepeatFailsThatManyInARow) {
    verifier::ArmFault(Fault::Pool, 1, 3);
    std::vector<bool> got;
    for (int i = 0; i < 6; ++i) {
        PVOID block = ExAllocatePoolWithTag(NonPagedPool, 8, kTag);
        got.push_back(block != nullptr);
        if (block) ExFreePool(block);
    }
    EXPECT_EQ(got, (std::vector<bool>{true, false, false, false, true, true}));
    EXPECT_EQ(verifier::FaultsSeen(Fault::Pool), 3);
}

TEST_F(FaultTest, LowResourcesRepeatForASeed) {
    auto run = [](uint32_t seed) {
        verifier::SetLowResources(seed, 30);
        std::vector<bool> got;
        for (int i = 0; i < 64; ++i) {
            PVOID block = ExAllocatePoolWithTag(NonPagedPool, 8, kTag);
            got.push_back(block != nullptr);
            if (block) ExFreePool(block);
        }
        verifier::DisarmFaults();
        return got;
    };
    std::vector<bool> first = run(7), again = run(7), other = run(8);
    EXPECT_EQ(first, again);
    EXPECT_NE(first, other);
    long failures = std::count(first.begin(), first.end(), false);
    EXPECT_GT(failures, 5);
    EXPECT_LT(failures, 40);
}

}  // namespace
