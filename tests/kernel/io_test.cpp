// Requests through a two-device stack: stack locations, the completion climb, the I/O manager's part, cancel.
#include <atomic>
#include <cstring>

#include "platform/kernel/threads.h"
#include "platform/verifier/verifier.h"
#include "tests/kernel/test_driver.h"
#include "tests/support/kernel_test.h"

namespace {

constexpr ULONG kBuffered = CTL_CODE(FILE_DEVICE_UNKNOWN, 0x800, METHOD_BUFFERED, FILE_ANY_ACCESS);

// What the dispatch routines of the test stack saw and are to do; reset per test.
struct Stack {
    PDEVICE_OBJECT lower, upper;
    int lowerLocation, upperLocation;
    PDEVICE_OBJECT lowerSawDevice, upperSawDevice;
    NTSTATUS lowerStatus;
    bool lowerPends;             // mark pending, complete from the bus thread
    bool upperWaits;             // forward with a routine that stops the climb, wait, complete again
    bool upperRoutine;           // forward with a routine that propagates pending
    bool upperSawPendingReturned;
    bool climbStoppedAtUpper;
    IO_STATUS_BLOCK* watchedIosb;
    kernel::BusThread* bus;
    PIRP held;                   // request the lower device keeps for a cancel test
} s;

NTSTATUS LowerDispatch(PDEVICE_OBJECT device, PIRP irp) {
    s.lowerLocation = irp->CurrentLocation;
    s.lowerSawDevice = IoGetCurrentIrpStackLocation(irp)->DeviceObject;
    (void)device;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG_PTR information = 0;
    if (stack->MajorFunction == IRP_MJ_DEVICE_CONTROL && irp->AssociatedIrp.SystemBuffer) {
        std::memcpy(irp->AssociatedIrp.SystemBuffer, "out!", 4);
        information = 4;
    }
    if (!s.lowerPends) return test::Complete(irp, s.lowerStatus, information);
    IoMarkIrpPending(irp);
    NTSTATUS status = s.lowerStatus;
    s.bus->Post([irp, status, information] { test::Complete(irp, status, information); });
    return STATUS_PENDING;
}

NTSTATUS SignalAndStop(PDEVICE_OBJECT, PIRP, PVOID context) {
    s.climbStoppedAtUpper = s.watchedIosb && s.watchedIosb->Status == STATUS_ALERTED;  // not yet written
    KeSetEvent(static_cast<PKEVENT>(context), IO_NO_INCREMENT, FALSE);
    return STATUS_MORE_PROCESSING_REQUIRED;
}

NTSTATUS PropagatePending(PDEVICE_OBJECT, PIRP irp, PVOID) {
    s.upperSawPendingReturned = irp->PendingReturned;
    if (irp->PendingReturned) IoMarkIrpPending(irp);
    return STATUS_SUCCESS;
}

NTSTATUS UpperDispatch(PDEVICE_OBJECT device, PIRP irp) {
    s.upperLocation = irp->CurrentLocation;
    s.upperSawDevice = IoGetCurrentIrpStackLocation(irp)->DeviceObject;
    (void)device;
    IoCopyCurrentIrpStackLocationToNext(irp);
    if (s.upperWaits) {
        KEVENT event;
        KeInitializeEvent(&event, NotificationEvent, FALSE);
        IoSetCompletionRoutine(irp, SignalAndStop, &event, TRUE, TRUE, TRUE);
        if (IoCallDriver(s.lower, irp) == STATUS_PENDING)
            KeWaitForSingleObject(&event, Executive, KernelMode, FALSE, nullptr);
        NTSTATUS status = irp->IoStatus.Status;
        IoCompleteRequest(irp, IO_NO_INCREMENT);
        return status;
    }
    if (s.upperRoutine) IoSetCompletionRoutine(irp, PropagatePending, nullptr, TRUE, TRUE, TRUE);
    return IoCallDriver(s.lower, irp);
}

class IoTest : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        s = {};
        s.lowerStatus = STATUS_SUCCESS;
        s.bus = &bus_;
        s.lower = test::CreateDevice(test::LoadDriver(LowerDispatch));
        s.upper = test::CreateDevice(test::LoadDriver(UpperDispatch));
        ASSERT_EQ(IoAttachDeviceToDeviceStack(s.upper, s.lower), s.lower);
    }
    void TearDown() override {
        bus_.Drain();
        KernelTest::TearDown();
    }

    // Sends a buffered control request built by IoBuildDeviceIoControlRequest to the top and waits.
    IO_STATUS_BLOCK SendBuilt(char* output, ULONG outputLength, NTSTATUS* returned = nullptr) {
        KEVENT event;
        KeInitializeEvent(&event, NotificationEvent, FALSE);
        IO_STATUS_BLOCK iosb;
        iosb.Status = STATUS_ALERTED;  // a value nobody completes with
        iosb.Information = 77;
        s.watchedIosb = &iosb;
        char input[3] = {'a', 'b', 'c'};
        PIRP irp = IoBuildDeviceIoControlRequest(kBuffered, s.upper, input, sizeof input, output, outputLength,
                                                 FALSE, &event, &iosb);
        EXPECT_NE(irp, nullptr);
        NTSTATUS status = IoCallDriver(s.upper, irp);
        if (returned) *returned = status;
        if (status == STATUS_PENDING) KeWaitForSingleObject(&event, Executive, KernelMode, FALSE, nullptr);
        EXPECT_EQ(KeReadStateEvent(&event), 1);
        s.watchedIosb = nullptr;
        return iosb;
    }

    kernel::BusThread bus_;
};

NTSTATUS StopClimb(PDEVICE_OBJECT device, PIRP, PVOID context) {
    *static_cast<PDEVICE_OBJECT*>(context) = device;
    return STATUS_MORE_PROCESSING_REQUIRED;
}

TEST_F(IoTest, CallDriverMovesOneLocationDownAndRecordsTheDevice) {
    EXPECT_EQ(s.upper->StackSize, 2);
    PIRP irp = IoAllocateIrp(s.upper->StackSize, FALSE);
    ASSERT_NE(irp, nullptr);
    EXPECT_EQ(irp->CurrentLocation, 3);
    IoGetNextIrpStackLocation(irp)->MajorFunction = IRP_MJ_READ;
    PDEVICE_OBJECT routineDevice = s.lower;
    IoSetCompletionRoutine(irp, StopClimb, &routineDevice, TRUE, TRUE, TRUE);
    EXPECT_EQ(IoCallDriver(s.upper, irp), STATUS_SUCCESS);
    EXPECT_EQ(s.upperLocation, 2);
    EXPECT_EQ(s.upperSawDevice, s.upper);
    EXPECT_EQ(s.lowerLocation, 1);
    EXPECT_EQ(s.lowerSawDevice, s.lower);
    EXPECT_EQ(routineDevice, nullptr);  // the IRP's allocator has no location of its own
    EXPECT_EQ(irp->CurrentLocation, 3);
    IoFreeIrp(irp);
}

TEST_F(IoTest, ReusedIrpStartsOverAtTheTopWithTheGivenStatus) {
    PIRP irp = IoAllocateIrp(s.upper->StackSize, FALSE);
    PDEVICE_OBJECT routineDevice = nullptr;
    for (NTSTATUS expected : {STATUS_SUCCESS, STATUS_UNSUCCESSFUL}) {
        s.lowerStatus = expected;
        IoGetNextIrpStackLocation(irp)->MajorFunction = IRP_MJ_READ;
        IoSetCompletionRoutine(irp, StopClimb, &routineDevice, TRUE, TRUE, TRUE);
        EXPECT_EQ(IoCallDriver(s.upper, irp), expected);
        EXPECT_EQ(irp->IoStatus.Status, expected);
        IoReuseIrp(irp, STATUS_NOT_SUPPORTED);
        EXPECT_EQ(irp->IoStatus.Status, STATUS_NOT_SUPPORTED);
        EXPECT_EQ(irp->CurrentLocation, 3);
        EXPECT_EQ(IoGetNextIrpStackLocation(irp)->CompletionRoutine, nullptr);
    }
    IoFreeIrp(irp);
}

struct Observed {
    int calls;
    PDEVICE_OBJECT device;
};

NTSTATUS Count(PDEVICE_OBJECT device, PIRP, PVOID context) {
    auto* o = static_cast<Observed*>(context);
    ++o->calls;
    o->device = device;
    return STATUS_SUCCESS;
}

NTSTATUS Final(PDEVICE_OBJECT device, PIRP, PVOID context) {
    static_cast<Observed*>(context)->device = device;
    return STATUS_MORE_PROCESSING_REQUIRED;
}

TEST_F(IoTest, CompletionRoutineRunsOnlyWhenItsFlagMatchesTheOutcome) {
    struct Case {
        NTSTATUS status;
        bool cancel, onSuccess, onError, onCancel, called;
    } cases[] = {
        {STATUS_SUCCESS, false, true, false, false, true},   {STATUS_SUCCESS, false, false, true, true, false},
        {STATUS_UNSUCCESSFUL, false, false, true, false, true}, {STATUS_UNSUCCESSFUL, false, true, false, true, false},
        {STATUS_CANCELLED, true, false, false, true, true},  {STATUS_CANCELLED, true, true, false, false, false},
        {STATUS_TIMEOUT, false, true, false, false, true},   // a success code
    };
    for (const Case& c : cases) {
        // The allocator takes the top location for itself; its own routine sits there to end the climb.
        PIRP irp = IoAllocateIrp(2, FALSE);
        Observed tested{0, nullptr}, last{0, s.lower};
        IoSetCompletionRoutine(irp, Final, &last, TRUE, TRUE, TRUE);
        IoSetNextIrpStackLocation(irp);
        IoGetCurrentIrpStackLocation(irp)->DeviceObject = s.upper;
        IoSetCompletionRoutine(irp, Count, &tested, c.onSuccess, c.onError, c.onCancel);
        IoGetNextIrpStackLocation(irp)->MajorFunction = IRP_MJ_READ;
        if (c.cancel) {
            EXPECT_FALSE(IoCancelIrp(irp));  // no cancel routine: only the flag is set
        }
        s.lowerStatus = c.status;
        IoCallDriver(s.lower, irp);
        EXPECT_EQ(tested.calls, c.called ? 1 : 0) << std::hex << c.status;
        if (c.called) {
            EXPECT_EQ(tested.device, s.upper);  // the device of the location above
        }
        EXPECT_EQ(last.device, nullptr);
        IoFreeIrp(irp);
    }
}

TEST_F(IoTest, IoManagerCopiesBackWritesStatusSetsEventAndFreesTheRequest) {
    for (bool pends : {false, true}) {
        s.lowerPends = pends;
        char output[6] = {};
        NTSTATUS returned;
        IO_STATUS_BLOCK iosb = SendBuilt(output, sizeof output, &returned);
        EXPECT_EQ(returned, pends ? STATUS_PENDING : STATUS_SUCCESS);
        EXPECT_EQ(iosb.Status, STATUS_SUCCESS);
        EXPECT_EQ(iosb.Information, 4u);
        EXPECT_EQ(std::memcmp(output, "out!\0\0", 6), 0);
        bus_.Drain();
        EXPECT_EQ(verifier::OutstandingCount(verifier::Kind::Irp), 0u);
    }
}

TEST_F(IoTest, PendingClimbsToTheUpperLocationWithoutARoutine) {
    s.lowerPends = true;
    s.lowerStatus = STATUS_DEVICE_BUSY;
    char output[4];
    NTSTATUS returned;
    IO_STATUS_BLOCK iosb = SendBuilt(output, sizeof output, &returned);
    EXPECT_EQ(returned, STATUS_PENDING);
    EXPECT_EQ(iosb.Status, STATUS_DEVICE_BUSY);
    // The upper dispatch returned STATUS_PENDING without marking: the climb marked its location for it,
    // or the verifier would have objected (checked at tear-down).
}

TEST_F(IoTest, RoutineSeesPendingReturnedFromTheLocationBelow) {
    s.upperRoutine = true;
    for (bool pends : {false, true}) {
        s.lowerPends = pends;
        char output[4];
        SendBuilt(output, sizeof output);
        bus_.Drain();
        EXPECT_EQ(s.upperSawPendingReturned, pends);
    }
}

TEST_F(IoTest, MoreProcessingRequiredStopsTheClimbUntilCompletedAgain) {
    s.upperWaits = true;
    for (bool pends : {false, true}) {
        s.lowerPends = pends;
        s.climbStoppedAtUpper = false;
        char output[4];
        NTSTATUS returned;
        IO_STATUS_BLOCK iosb = SendBuilt(output, sizeof output, &returned);
        EXPECT_TRUE(s.climbStoppedAtUpper);
        EXPECT_EQ(returned, STATUS_SUCCESS);
        EXPECT_EQ(iosb.Status, STATUS_SUCCESS);
        EXPECT_EQ(iosb.Information, 4u);
    }
}

// Cancel: the lower device holds the request with a cancel routine.
NTSTATUS HoldDispatch(PDEVICE_OBJECT, PIRP irp);

struct CancelSeen {
    KIRQL irql;
    BOOLEAN cancel;
    KIRQL cancelIrql;
    bool routineCleared;
    PDEVICE_OBJECT device;
    int calls;
} seen;

VOID CancelRoutine(PDEVICE_OBJECT device, PIRP irp) {
    seen.calls++;
    seen.irql = KeGetCurrentIrql();
    seen.cancel = irp->Cancel;
    seen.cancelIrql = irp->CancelIrql;
    seen.routineCleared = irp->CancelRoutine == nullptr;
    seen.device = device;
    IoReleaseCancelSpinLock(irp->CancelIrql);
    test::Complete(irp, STATUS_CANCELLED);
}

NTSTATUS HoldDispatch(PDEVICE_OBJECT, PIRP irp) {
    IoMarkIrpPending(irp);
    IoSetCancelRoutine(irp, CancelRoutine);
    s.held = irp;
    return STATUS_PENDING;
}

class CancelTest : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        s = {};
        seen = {};
        device_ = test::CreateDevice(test::LoadDriver(HoldDispatch));
        KeInitializeEvent(&event_, NotificationEvent, FALSE);
        irp_ = IoBuildDeviceIoControlRequest(kBuffered, device_, nullptr, 0, nullptr, 0, FALSE, &event_, &iosb_);
        ASSERT_EQ(IoCallDriver(device_, irp_), STATUS_PENDING);
        ASSERT_EQ(s.held, irp_);
    }
    KEVENT event_;
    IO_STATUS_BLOCK iosb_{};
    PDEVICE_OBJECT device_;
    PIRP irp_;
};

TEST_F(CancelTest, CancelCallsTheRoutineUnderTheCancelLock) {
    EXPECT_TRUE(IoCancelIrp(irp_));
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.irql, DISPATCH_LEVEL);
    EXPECT_TRUE(seen.cancel);
    EXPECT_EQ(seen.cancelIrql, PASSIVE_LEVEL);
    EXPECT_TRUE(seen.routineCleared);
    EXPECT_EQ(seen.device, device_);
    EXPECT_EQ(KeGetCurrentIrql(), PASSIVE_LEVEL);
    EXPECT_EQ(KeReadStateEvent(&event_), 1);
    EXPECT_EQ(iosb_.Status, STATUS_CANCELLED);
}

TEST_F(CancelTest, CancelAfterTheRoutineWasClearedOnlySetsTheFlag) {
    EXPECT_EQ(IoSetCancelRoutine(irp_, nullptr), &CancelRoutine);  // the completer got there first
    EXPECT_FALSE(IoCancelIrp(irp_));
    EXPECT_EQ(seen.calls, 0);
    EXPECT_TRUE(irp_->Cancel);
    test::Complete(irp_, STATUS_SUCCESS);
    EXPECT_EQ(iosb_.Status, STATUS_SUCCESS);
}

}  // namespace

namespace {

// Cancel racing with completion from the bus thread: whoever clears the cancel routine first completes.
kernel::BusThread* raceBus;
std::atomic<int> cancelledByRoutine, completedByBus;

VOID RaceCancel(PDEVICE_OBJECT, PIRP irp) {
    IoReleaseCancelSpinLock(irp->CancelIrql);
    ++cancelledByRoutine;
    test::Complete(irp, STATUS_CANCELLED);
}

NTSTATUS RaceHold(PDEVICE_OBJECT, PIRP irp) {
    IoMarkIrpPending(irp);
    IoSetCancelRoutine(irp, RaceCancel);
    raceBus->Post([irp] {
        if (IoSetCancelRoutine(irp, nullptr)) {  // the cancel has not claimed it
            ++completedByBus;
            test::Complete(irp, STATUS_SUCCESS);
        }
    });
    return STATUS_PENDING;
}

NTSTATUS SignalOwner(PDEVICE_OBJECT, PIRP, PVOID context) {
    KeSetEvent(static_cast<PKEVENT>(context), IO_NO_INCREMENT, FALSE);
    return STATUS_MORE_PROCESSING_REQUIRED;  // the IRP is the test's again
}

class CancelRaceTest : public KernelTest {};

TEST_F(CancelRaceTest, ExactlyOneOfCancelAndCompletionFinishesTheRequest) {
    kernel::BusThread bus;
    raceBus = &bus;
    cancelledByRoutine = completedByBus = 0;
    PDEVICE_OBJECT device = test::CreateDevice(test::LoadDriver(RaceHold));
    constexpr int kRounds = 200;
    int cancelled = 0;
    for (int i = 0; i < kRounds; ++i) {
        PIRP irp = IoAllocateIrp(1, FALSE);
        KEVENT done;
        KeInitializeEvent(&done, NotificationEvent, FALSE);
        IoSetCompletionRoutine(irp, SignalOwner, &done, TRUE, TRUE, TRUE);
        ASSERT_EQ(IoCallDriver(device, irp), STATUS_PENDING);
        if (IoCancelIrp(irp)) ++cancelled;
        KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
        NTSTATUS status = irp->IoStatus.Status;
        EXPECT_TRUE(status == STATUS_SUCCESS || status == STATUS_CANCELLED) << std::hex << status;
        IoFreeIrp(irp);
    }
    bus.Drain();
    EXPECT_EQ(cancelledByRoutine + completedByBus, kRounds);
    EXPECT_EQ(cancelled, cancelledByRoutine.load());
}

}  // namespace
