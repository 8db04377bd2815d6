// Each verifier rule catching a deliberately faulty mini-driver.
#include <cstring>

#include "platform/kernel/threads.h"
#include "platform/pnp/pnp.h"
#include "platform/user/user.h"
#include "platform/verifier/verifier.h"
#include "tests/kernel/test_driver.h"
#include "tests/support/kernel_test.h"

namespace {

enum class Fault {
    None,
    WaitAtDispatch,
    CompleteAboveDispatch,
    ReleaseAtWrongIrql,
    LockAcrossCallDriver,
    LockAcrossCancel,
    LockAcrossWait,
    NestedLocks,
    CompleteTwice,
    CompleteWithCancelRoutine,
    CompleteWithPending,
    PendingWithoutMark,
    MarkedButNotPending,
    TouchAfterCompletion,
    InformationTooLarge,
    DoubleFree,
    ForeignFree,
};

Fault fault;
PDEVICE_OBJECT lower;  // the faulty device forwards to it
KSPIN_LOCK lockA, lockB;

VOID NoCancel(PDEVICE_OBJECT, PIRP) {}

NTSTATUS Faulty(PDEVICE_OBJECT, PIRP irp) {
    if (IoGetCurrentIrpStackLocation(irp)->MajorFunction != IRP_MJ_DEVICE_CONTROL)
        return test::Complete(irp, STATUS_SUCCESS);
    KIRQL old;
    LARGE_INTEGER timeout;
    timeout.QuadPart = -10000;
    switch (fault) {
        case Fault::None:
            break;
        case Fault::WaitAtDispatch: {
            KEVENT event;
            KeInitializeEvent(&event, NotificationEvent, FALSE);
            KeRaiseIrql(DISPATCH_LEVEL, &old);
            KeWaitForSingleObject(&event, Executive, KernelMode, FALSE, &timeout);
            KeLowerIrql(old);
            break;
        }
        case Fault::CompleteAboveDispatch:
            KeRaiseIrql(DISPATCH_LEVEL + 1, &old);
            test::Complete(irp, STATUS_SUCCESS);
            KeLowerIrql(old);
            return STATUS_SUCCESS;
        case Fault::ReleaseAtWrongIrql:
            KeAcquireSpinLock(&lockA, &old);
            KeLowerIrql(PASSIVE_LEVEL);
            KeReleaseSpinLock(&lockA, old);
            break;
        case Fault::LockAcrossCallDriver: {
            KeAcquireSpinLock(&lockA, &old);
            IoCopyCurrentIrpStackLocationToNext(irp);
            NTSTATUS status = IoCallDriver(lower, irp);
            KeReleaseSpinLock(&lockA, old);
            return status;
        }
        case Fault::LockAcrossCancel:
            KeAcquireSpinLock(&lockA, &old);
            IoCancelIrp(irp);
            KeReleaseSpinLock(&lockA, old);
            break;
        case Fault::LockAcrossWait: {
            KEVENT event;
            KeInitializeEvent(&event, NotificationEvent, FALSE);
            KeAcquireSpinLock(&lockA, &old);
            KeWaitForSingleObject(&event, Executive, KernelMode, FALSE, &timeout);
            KeReleaseSpinLock(&lockA, old);
            break;
        }
        case Fault::NestedLocks: {
            KIRQL inner;
            KeAcquireSpinLock(&lockA, &old);
            KeAcquireSpinLock(&lockB, &inner);
            KeReleaseSpinLock(&lockB, inner);
            KeReleaseSpinLock(&lockA, old);
            break;
        }
        case Fault::CompleteTwice:
            test::Complete(irp, STATUS_SUCCESS);
            return test::Complete(irp, STATUS_SUCCESS);
        case Fault::CompleteWithCancelRoutine:
            IoSetCancelRoutine(irp, NoCancel);
            break;
        case Fault::CompleteWithPending:
            test::Complete(irp, STATUS_PENDING);
            return STATUS_SUCCESS;
        case Fault::PendingWithoutMark:
            test::Complete(irp, STATUS_SUCCESS);
            return STATUS_PENDING;
        case Fault::MarkedButNotPending:
            IoMarkIrpPending(irp);
            break;
        case Fault::TouchAfterCompletion:
            test::Complete(irp, STATUS_SUCCESS);
            IoGetCurrentIrpStackLocation(irp);
            return STATUS_SUCCESS;
        case Fault::InformationTooLarge:
            return test::Complete(irp, STATUS_SUCCESS, 100);
        case Fault::DoubleFree: {
            PVOID block = ExAllocatePoolWithTag(NonPagedPool, 16, 0x65627544);
            ExFreePool(block);
            ExFreePool(block);
            break;
        }
        case Fault::ForeignFree: {
            int local = 0;
            ExFreePool(&local);
            break;
        }
    }
    return test::Complete(irp, STATUS_SUCCESS);
}

class RulesTest : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        fault = Fault::None;
        KeInitializeSpinLock(&lockA);
        KeInitializeSpinLock(&lockB);
        lower = test::CreateDevice(test::LoadDriver(test::CompleteSuccess));
        PDEVICE_OBJECT faulty = test::CreateDevice(test::LoadDriver(Faulty), u"\\Device\\Faulty0", u"Faulty");
        IoAttachDeviceToDeviceStack(faulty, lower);
        handle_ = user::CreateFile("\\\\.\\Faulty").handle;
        ASSERT_NE(handle_, nullptr);
    }
    void TearDown() override {
        user::CloseHandle(handle_);
        KernelTest::TearDown();
    }
    user::IoResult Send(Fault f) {
        fault = f;
        char output[4];
        user::IoResult r = user::DeviceIoControl(handle_, CTL_CODE(FILE_DEVICE_UNKNOWN, 0x800, METHOD_BUFFERED, 0),
                                                 "in", 2, output, sizeof output);
        fault = Fault::None;
        return r;
    }
    user::Handle handle_ = nullptr;
};

TEST_F(RulesTest, CorrectDriverRaisesNothing) {
    EXPECT_EQ(Send(Fault::None).status, STATUS_SUCCESS);
    ExpectNoViolation();
}

TEST_F(RulesTest, IrqlAndSpinLockRules) {
    struct Case {
        Fault fault;
        const char* violation;
    } cases[] = {
        {Fault::WaitAtDispatch, "at DISPATCH_LEVEL with a non-zero time-out"},
        {Fault::CompleteAboveDispatch, "IofCompleteRequest at IRQL 3"},
        {Fault::ReleaseAtWrongIrql, "KeReleaseSpinLock at IRQL 0"},
        {Fault::LockAcrossCallDriver, "IofCallDriver called while holding spin lock"},
        {Fault::LockAcrossCancel, "IoCancelIrp called while holding spin lock"},
        {Fault::LockAcrossWait, "KeWaitForSingleObject called while holding spin lock"},
        {Fault::NestedLocks, "nested spin locks"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.violation);
        Send(c.fault);
        ExpectViolation(c.violation);
        EXPECT_EQ(KeGetCurrentIrql(), PASSIVE_LEVEL);
    }
}

TEST_F(RulesTest, RequestRules) {
    struct Case {
        Fault fault;
        const char* violation;
    } cases[] = {
        {Fault::CompleteTwice, "completed again after its completion freed it"},
        {Fault::CompleteWithCancelRoutine, "completed with its cancel routine still set"},
        {Fault::CompleteWithPending, "completed with STATUS_PENDING"},
        {Fault::PendingWithoutMark, "returned STATUS_PENDING without IoMarkIrpPending"},
        {Fault::MarkedButNotPending, "marked pending but its dispatch returned 0x00000000"},
        {Fault::TouchAfterCompletion, "touched after its completion freed it"},
        {Fault::InformationTooLarge, "Information 100, larger than its 4-byte output buffer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.violation);
        Send(c.fault);
        ExpectViolation(c.violation);
    }
}

TEST_F(RulesTest, InformationBeyondTheBufferIsNotCopiedBeyondIt) {
    user::IoResult r = Send(Fault::InformationTooLarge);
    EXPECT_EQ(r.bytesReturned, 4u);  // clamped, and the address sanitizer saw no overrun
    ExpectViolation("larger than its 4-byte output buffer");
}

TEST_F(RulesTest, PoolRules) {
    Send(Fault::DoubleFree);
    ExpectViolation("freed twice");
    Send(Fault::ForeignFree);
    ExpectViolation("is not a pool block the platform handed out");
}

TEST_F(RulesTest, DriverAllocatedIrpFreedWhileInFlight) {
    PDEVICE_OBJECT holder = test::CreateDevice(test::LoadDriver(+[](PDEVICE_OBJECT, PIRP irp) -> NTSTATUS {
        IoMarkIrpPending(irp);
        return STATUS_PENDING;  // kept; completed by the test below
    }));
    PIRP irp = IoAllocateIrp(1, FALSE);
    IoSetCompletionRoutine(
        irp, +[](PDEVICE_OBJECT, PIRP, PVOID) -> NTSTATUS { return STATUS_MORE_PROCESSING_REQUIRED; }, nullptr,
        TRUE, TRUE, TRUE);
    ASSERT_EQ(IoCallDriver(holder, irp), STATUS_PENDING);
    IoFreeIrp(irp);
    ExpectViolation("freed while in flight");
    test::Complete(irp, STATUS_SUCCESS);
    IoFreeIrp(irp);
    IoFreeIrp(irp);
    ExpectViolation("freed twice");
}

TEST_F(RulesTest, DriverAllocatedIrpMustStopTheClimbAtTheTop) {
    PIRP irp = IoAllocateIrp(1, FALSE);
    IoCallDriver(lower, irp);  // no routine of its own: the completion runs into the I/O manager
    ExpectViolation("completed past its top location");
    IoFreeIrp(irp);
}

// Drivers that leak, caught at unload and at device removal.
PVOID leakedBlock;

NTSTATUS LeakyEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    leakedBlock = ExAllocatePoolWithTag(NonPagedPool, 24, 0x6B61654C /* Leak */);
    driver->DriverUnload = +[](PDRIVER_OBJECT) {};
    return STATUS_SUCCESS;
}

NTSTATUS ObjectLeakyEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    IoAllocateIrp(2, FALSE);
    IoAllocateMdl(driver, 8, FALSE, FALSE, nullptr);
    return STATUS_SUCCESS;
}

TEST_F(RulesTest, PoolLeakAtUnloadIsReportedWithItsSite) {
    PDRIVER_OBJECT driver;
    ASSERT_EQ(pnp::LoadDriver(LeakyEntry, u"Leaky", &driver), STATUS_SUCCESS);
    auto blocks = verifier::Outstanding(verifier::Kind::Pool);
    ASSERT_EQ(blocks.size(), 1u);
    auto site = reinterpret_cast<uintptr_t>(blocks[0].site);
    auto entry = reinterpret_cast<uintptr_t>(&LeakyEntry);
    EXPECT_GT(site, entry);
    EXPECT_LT(site, entry + 0x1000);  // a return address inside LeakyEntry
    pnp::UnloadDriver(driver);
    EXPECT_NE(verifier::FirstViolation().find("tag 'Leak'"), std::string::npos);
    ExpectViolation("leak at unload: pool block");
    ExFreePool(leakedBlock);
}

TEST_F(RulesTest, IrpAndMdlLeaksAtUnload) {
    PDRIVER_OBJECT driver;
    ASSERT_EQ(pnp::LoadDriver(ObjectLeakyEntry, u"LeakyObjects", &driver), STATUS_SUCCESS);
    auto irps = verifier::Outstanding(verifier::Kind::Irp);
    auto mdls = verifier::Outstanding(verifier::Kind::Mdl);
    pnp::UnloadDriver(driver);
    EXPECT_EQ(verifier::ViolationCount(), 2);
    ExpectViolation("leak at unload: IRP");
    ASSERT_EQ(irps.size(), 1u);
    ASSERT_EQ(mdls.size(), 1u);
    IoFreeIrp(static_cast<PIRP>(const_cast<void*>(irps[0].address)));
    IoFreeMdl(static_cast<PMDL>(const_cast<void*>(mdls[0].address)));
}

NTSTATUS PerDeviceAddDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT pdo) {
    PDEVICE_OBJECT fdo;
    NTSTATUS status = IoCreateDevice(driver, 2 * sizeof(PVOID), nullptr, FILE_DEVICE_UNKNOWN, 0, FALSE, &fdo);
    if (!NT_SUCCESS(status)) return status;
    auto* ext = static_cast<PVOID*>(fdo->DeviceExtension);
    ext[0] = IoAttachDeviceToDeviceStack(fdo, pdo);
    ext[1] = ExAllocatePoolWithTag(NonPagedPool, 32, 0x76654450 /* PDev */);  // never freed: the fault
    leakedBlock = ext[1];
    fdo->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

NTSTATUS ForgetfulPnp(PDEVICE_OBJECT fdo, PIRP irp) {
    auto* ext = static_cast<PVOID*>(fdo->DeviceExtension);
    auto next = static_cast<PDEVICE_OBJECT>(ext[0]);
    bool remove = IoGetCurrentIrpStackLocation(irp)->MinorFunction == IRP_MN_REMOVE_DEVICE;
    IoSkipCurrentIrpStackLocation(irp);
    NTSTATUS status = IoCallDriver(next, irp);
    if (remove) {
        IoDetachDevice(next);
        IoDeleteDevice(fdo);
    }
    return status;
}

NTSTATUS PerDeviceEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    driver->MajorFunction[IRP_MJ_PNP] = ForgetfulPnp;
    driver->DriverExtension->AddDevice = PerDeviceAddDevice;
    return STATUS_SUCCESS;
}

TEST_F(RulesTest, PoolLeakAtDeviceRemoval) {
    PDRIVER_OBJECT driver;
    ASSERT_EQ(pnp::LoadDriver(PerDeviceEntry, u"Forgetful", &driver), STATUS_SUCCESS);
    PDEVICE_OBJECT pdo;
    ASSERT_EQ(pnp::PlugDevice(driver, &pdo), STATUS_SUCCESS);
    ExpectNoViolation();
    EXPECT_EQ(pnp::SendPnp(pdo, IRP_MN_REMOVE_DEVICE), STATUS_SUCCESS);
    EXPECT_NE(verifier::FirstViolation().find("'PDev'"), std::string::npos);
    ExpectViolation("leak at device removal: pool block");
    pnp::ReleasePdo(pdo);
    pnp::UnloadDriver(driver);
    ExpectNoViolation();  // reported once, not again at unload
    ExFreePool(leakedBlock);
}

}  // namespace
