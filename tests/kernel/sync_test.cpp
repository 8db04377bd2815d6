// IRQL per thread, spin locks, events and the time-out forms of KeWaitForSingleObject.
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/kernel/threads.h"
#include "tests/support/kernel_test.h"

namespace {

using Clock = std::chrono::steady_clock;

class SyncTest : public KernelTest {};

TEST_F(SyncTest, EachThreadHasItsOwnIrql) {
    KIRQL old;
    KeRaiseIrql(DISPATCH_LEVEL, &old);
    KIRQL other = HIGH_LEVEL;
    std::thread([&] { other = KeGetCurrentIrql(); }).join();
    EXPECT_EQ(KeGetCurrentIrql(), DISPATCH_LEVEL);
    EXPECT_EQ(other, PASSIVE_LEVEL);
    KeLowerIrql(old);
    EXPECT_EQ(KeGetCurrentIrql(), PASSIVE_LEVEL);
}

TEST_F(SyncTest, SpinLockRaisesToDispatchAndExcludesOtherThreads) {
    KSPIN_LOCK lock;
    KeInitializeSpinLock(&lock);
    long counter = 0;  // guarded by lock only: the sanitizers see any lapse
    auto work = [&] {
        for (int i = 0; i < 2000; ++i) {
            KIRQL old;
            KeAcquireSpinLock(&lock, &old);
            EXPECT_EQ(KeGetCurrentIrql(), DISPATCH_LEVEL);
            ++counter;
            KeReleaseSpinLock(&lock, old);
            EXPECT_EQ(KeGetCurrentIrql(), old);
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 4000);
}

TEST_F(SyncTest, CancelSpinLockRaisesAndRestores) {
    KIRQL old;
    IoAcquireCancelSpinLock(&old);
    EXPECT_EQ(KeGetCurrentIrql(), DISPATCH_LEVEL);
    IoReleaseCancelSpinLock(old);
    EXPECT_EQ(KeGetCurrentIrql(), PASSIVE_LEVEL);
}

TEST_F(SyncTest, NotificationEventStaysSignalledSynchronizationEventResetsOnWait) {
    KEVENT notification, synchronization;
    KeInitializeEvent(&notification, NotificationEvent, FALSE);
    KeInitializeEvent(&synchronization, SynchronizationEvent, FALSE);
    EXPECT_EQ(KeSetEvent(&notification, IO_NO_INCREMENT, FALSE), 0);
    EXPECT_EQ(KeSetEvent(&notification, IO_NO_INCREMENT, FALSE), 1);  // previous state
    KeSetEvent(&synchronization, IO_NO_INCREMENT, FALSE);
    LARGE_INTEGER zero{};
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(KeWaitForSingleObject(&notification, Executive, KernelMode, FALSE, &zero), STATUS_SUCCESS);
    EXPECT_EQ(KeWaitForSingleObject(&synchronization, Executive, KernelMode, FALSE, &zero), STATUS_SUCCESS);
    EXPECT_EQ(KeWaitForSingleObject(&synchronization, Executive, KernelMode, FALSE, &zero), STATUS_TIMEOUT);
    EXPECT_EQ(KeReadStateEvent(&notification), 1);
    EXPECT_EQ(KeResetEvent(&notification), 1);
    EXPECT_EQ(KeReadStateEvent(&notification), 0);
    KeSetEvent(&notification, IO_NO_INCREMENT, FALSE);
    KeClearEvent(&notification);
    EXPECT_EQ(KeReadStateEvent(&notification), 0);
}

TEST_F(SyncTest, WaitTimeOutForms) {
    struct Case {
        const char* what;
        LONGLONG timeout;  // 100-ns units
        bool fromNow;      // absolute: added to the current system time
        long minimumMs, maximumMs;
    } cases[] = {
        {"zero only tests", 0, false, 0, 50},
        {"relative 30 ms", -300000, false, 30, 2000},
        {"absolute, long past", 1, false, 0, 50},
        {"absolute, 30 ms ahead", 300000, true, 20, 2000},
    };
    for (const Case& c : cases) {
        KEVENT event;
        KeInitializeEvent(&event, NotificationEvent, FALSE);
        LARGE_INTEGER timeout;
        KeQuerySystemTime(&timeout);
        timeout.QuadPart = c.fromNow ? timeout.QuadPart + c.timeout : c.timeout;
        auto start = Clock::now();
        EXPECT_EQ(KeWaitForSingleObject(&event, Executive, KernelMode, FALSE, &timeout), STATUS_TIMEOUT) << c.what;
        long ms = static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
        EXPECT_GE(ms, c.minimumMs) << c.what;
        EXPECT_LE(ms, c.maximumMs) << c.what;
    }
}

TEST_F(SyncTest, InfiniteWaitEndsWhenAnotherThreadSetsTheEvent) {
    KEVENT event;
    KeInitializeEvent(&event, SynchronizationEvent, FALSE);
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        KeSetEvent(&event, IO_NO_INCREMENT, FALSE);
    });
    EXPECT_EQ(KeWaitForSingleObject(&event, Executive, KernelMode, FALSE, nullptr), STATUS_SUCCESS);
    setter.join();
    EXPECT_EQ(KeReadStateEvent(&event), 0);
}

TEST_F(SyncTest, ZeroTimeOutIsAllowedAtDispatchLevel) {
    KEVENT event;
    KeInitializeEvent(&event, NotificationEvent, FALSE);
    LARGE_INTEGER zero{};
    KIRQL old;
    KeRaiseIrql(DISPATCH_LEVEL, &old);
    EXPECT_EQ(KeWaitForSingleObject(&event, Executive, KernelMode, FALSE, &zero), STATUS_TIMEOUT);
    KeLowerIrql(old);
}

TEST_F(SyncTest, InterlockedRoutinesReturnTheRealResults) {
    LONG value = 5;
    EXPECT_EQ(InterlockedIncrement(&value), 6);
    EXPECT_EQ(InterlockedDecrement(&value), 5);
    EXPECT_EQ(InterlockedExchange(&value, 9), 5);
    EXPECT_EQ(InterlockedCompareExchange(&value, 1, 8), 9);  // no match: unchanged
    EXPECT_EQ(InterlockedCompareExchange(&value, 1, 9), 9);
    EXPECT_EQ(value, 1);
    int a = 0, b = 0;
    PVOID pointer = &a;
    EXPECT_EQ(InterlockedExchangePointer(&pointer, &b), &a);
    EXPECT_EQ(pointer, &b);
}

TEST_F(SyncTest, BusThreadRunsWorkAtDispatchLevel) {
    std::atomic<int> irql{-1};
    {
        kernel::BusThread bus;
        bus.Post([&] { irql = KeGetCurrentIrql(); });
        bus.Drain();
    }
    EXPECT_EQ(irql.load(), DISPATCH_LEVEL);
}

}  // namespace
