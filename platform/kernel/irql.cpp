// Per-thread IRQL, spin locks, events and waits.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/kernel/internal.h"
#include "platform/verifier/verifier.h"

namespace kernel {
namespace {

thread_local KIRQL currentIrql = PASSIVE_LEVEL;
thread_local PDRIVER_OBJECT currentDriver = nullptr;

constexpr int kMaxHeld = 8;
thread_local PKSPIN_LOCK held[kMaxHeld];
thread_local int heldCount = 0;

// All dispatcher objects share one lock and one condition, like the real dispatcher database lock.
std::mutex dispatcherLock;
std::condition_variable dispatcherChanged;

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 116444736000000000LL;

void Forget(PKSPIN_LOCK lock) {
    for (int i = heldCount - 1; i >= 0; --i) {
        if (held[i] == lock) {
            for (int j = i; j + 1 < heldCount; ++j) held[j] = held[j + 1];
            --heldCount;
            return;
        }
    }
    verifier::Violation("KeReleaseSpinLock: spin lock %p is not held by this thread", static_cast<void*>(lock));
}

void Acquire(PKSPIN_LOCK lock, const char* routine) {
    if (heldCount > 0)
        verifier::Violation("%s: spin lock %p acquired while holding spin lock %p (nested spin locks)", routine,
                            static_cast<void*>(lock), static_cast<void*>(held[heldCount - 1]));
    std::atomic_ref<KSPIN_LOCK> word(*lock);
    KSPIN_LOCK expected = 0;
    while (!word.compare_exchange_weak(expected, 1, std::memory_order_acquire)) {
        expected = 0;
        std::this_thread::yield();
    }
    if (heldCount < kMaxHeld) held[heldCount++] = lock;
}

void Release(PKSPIN_LOCK lock) {
    Forget(lock);
    std::atomic_ref<KSPIN_LOCK>(*lock).store(0, std::memory_order_release);
}

}  // namespace

PDRIVER_OBJECT CurrentDriver() { return currentDriver; }
DriverScope::DriverScope(PDRIVER_OBJECT driver) : previous_(currentDriver) { currentDriver = driver; }
DriverScope::~DriverScope() { currentDriver = previous_; }

int HeldSpinLocks() { return heldCount; }

void CheckNoSpinLockHeld(const char* routine) {
    if (heldCount > 0)
        verifier::Violation("%s called while holding spin lock %p", routine, static_cast<void*>(held[heldCount - 1]));
}

void SetCurrentIrql(KIRQL irql) { currentIrql = irql; }

void ResetThreadState() {
    currentIrql = PASSIVE_LEVEL;
    currentDriver = nullptr;
    heldCount = 0;
}

}  // namespace kernel

using kernel::currentIrql;

extern "C" {

KIRQL KeGetCurrentIrql(void) { return currentIrql; }

KIRQL KfRaiseIrql(KIRQL NewIrql) {
    KIRQL old = currentIrql;
    if (NewIrql < old) verifier::Violation("KeRaiseIrql: raising from IRQL %d to lower IRQL %d", old, NewIrql);
    currentIrql = NewIrql;
    return old;
}

VOID KeLowerIrql(KIRQL NewIrql) {
    if (NewIrql > currentIrql)
        verifier::Violation("KeLowerIrql: lowering from IRQL %d to higher IRQL %d", currentIrql, NewIrql);
    currentIrql = NewIrql;
}

VOID KeInitializeSpinLock(PKSPIN_LOCK SpinLock) { std::atomic_ref<KSPIN_LOCK>(*SpinLock).store(0); }

KIRQL KeAcquireSpinLockRaiseToDpc(PKSPIN_LOCK SpinLock) {
    if (currentIrql > DISPATCH_LEVEL)
        verifier::Violation("KeAcquireSpinLock at IRQL %d, above DISPATCH_LEVEL", currentIrql);
    KIRQL old = currentIrql;
    currentIrql = DISPATCH_LEVEL;
    kernel::Acquire(SpinLock, "KeAcquireSpinLock");
    return old;
}

VOID KeReleaseSpinLock(PKSPIN_LOCK SpinLock, KIRQL NewIrql) {
    if (currentIrql != DISPATCH_LEVEL)
        verifier::Violation("KeReleaseSpinLock at IRQL %d; a spin lock is released at DISPATCH_LEVEL", currentIrql);
    if (NewIrql > DISPATCH_LEVEL) verifier::Violation("KeReleaseSpinLock: restoring IRQL %d", NewIrql);
    kernel::Release(SpinLock);
    currentIrql = NewIrql;
}

VOID KeAcquireSpinLockAtDpcLevel(PKSPIN_LOCK SpinLock) {
    if (currentIrql != DISPATCH_LEVEL)
        verifier::Violation("KeAcquireSpinLockAtDpcLevel at IRQL %d", currentIrql);
    kernel::Acquire(SpinLock, "KeAcquireSpinLockAtDpcLevel");
}

VOID KeReleaseSpinLockFromDpcLevel(PKSPIN_LOCK SpinLock) {
    if (currentIrql != DISPATCH_LEVEL)
        verifier::Violation("KeReleaseSpinLockFromDpcLevel at IRQL %d", currentIrql);
    kernel::Release(SpinLock);
}

}  // extern "C"

namespace {
KSPIN_LOCK cancelLock = 0;
}

extern "C" {

VOID IoAcquireCancelSpinLock(PKIRQL Irql) { *Irql = KeAcquireSpinLockRaiseToDpc(&cancelLock); }
VOID IoReleaseCancelSpinLock(KIRQL Irql) { KeReleaseSpinLock(&cancelLock, Irql); }

VOID KeInitializeEvent(PRKEVENT Event, EVENT_TYPE Type, BOOLEAN State) {
    std::lock_guard guard(kernel::dispatcherLock);
    Event->Header.Type = static_cast<UCHAR>(Type);
    Event->Header.Signalling = 0;
    Event->Header.Size = sizeof(KEVENT) / sizeof(LONG);
    Event->Header.Reserved1 = 0;
    Event->Header.SignalState = State ? 1 : 0;
    InitializeListHead(&Event->Header.WaitListHead);
}

LONG KeSetEvent(PRKEVENT Event, LONG Increment, BOOLEAN Wait) {
    (void)Increment;
    (void)Wait;
    LONG previous;
    {
        std::lock_guard guard(kernel::dispatcherLock);
        previous = Event->Header.SignalState;
        Event->Header.SignalState = 1;
    }
    kernel::dispatcherChanged.notify_all();
    return previous;
}

VOID KeClearEvent(PRKEVENT Event) {
    std::lock_guard guard(kernel::dispatcherLock);
    Event->Header.SignalState = 0;
}

LONG KeResetEvent(PRKEVENT Event) {
    std::lock_guard guard(kernel::dispatcherLock);
    LONG previous = Event->Header.SignalState;
    Event->Header.SignalState = 0;
    return previous;
}

LONG KeReadStateEvent(PRKEVENT Event) {
    std::lock_guard guard(kernel::dispatcherLock);
    return Event->Header.SignalState;
}

VOID KeQuerySystemTime(PLARGE_INTEGER CurrentTime) {
    auto since1970 = std::chrono::system_clock::now().time_since_epoch();
    CurrentTime->QuadPart =
        std::chrono::duration_cast<std::chrono::nanoseconds>(since1970).count() / 100 + kernel::kEpochDifference;
}

NTSTATUS KeWaitForSingleObject(PVOID Object, KWAIT_REASON WaitReason, KPROCESSOR_MODE WaitMode, BOOLEAN Alertable,
                               PLARGE_INTEGER Timeout) {
    (void)WaitReason;
    (void)WaitMode;
    (void)Alertable;
    bool testOnly = Timeout != nullptr && Timeout->QuadPart == 0;
    if (!testOnly) kernel::CheckNoSpinLockHeld("KeWaitForSingleObject");
    if (currentIrql > DISPATCH_LEVEL) {
        verifier::Violation("KeWaitForSingleObject at IRQL %d", currentIrql);
        testOnly = true;
    } else if (currentIrql == DISPATCH_LEVEL && !testOnly) {
        verifier::Violation("KeWaitForSingleObject at DISPATCH_LEVEL with a %s time-out",
                            Timeout ? "non-zero" : "missing (infinite)");
        testOnly = true;  // a real machine would stop here; do not hang the test
    }

    auto* header = static_cast<DISPATCHER_HEADER*>(Object);
    auto satisfied = [header] {
        if (header->SignalState <= 0) return false;
        if (header->Type == SynchronizationEvent) header->SignalState = 0;
        return true;
    };
    std::unique_lock guard(kernel::dispatcherLock);
    if (Timeout == nullptr && !testOnly) {
        kernel::dispatcherChanged.wait(guard, satisfied);
        return STATUS_SUCCESS;
    }
    int64_t remaining = 0;  // 100-ns units
    if (!testOnly) {
        if (Timeout->QuadPart < 0) {
            remaining = -Timeout->QuadPart;
        } else {
            LARGE_INTEGER now;
            KeQuerySystemTime(&now);
            remaining = Timeout->QuadPart - now.QuadPart;
        }
    }
    if (remaining <= 0) return satisfied() ? STATUS_SUCCESS : STATUS_TIMEOUT;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::nanoseconds(remaining * 100);
    return kernel::dispatcherChanged.wait_until(guard, deadline, satisfied) ? STATUS_SUCCESS : STATUS_TIMEOUT;
}

NTSTATUS KeDelayExecutionThread(KPROCESSOR_MODE WaitMode, BOOLEAN Alertable, PLARGE_INTEGER Interval) {
    (void)WaitMode;
    (void)Alertable;
    if (currentIrql > APC_LEVEL) {
        verifier::Violation("KeDelayExecutionThread at IRQL %d", currentIrql);
        return STATUS_SUCCESS;
    }
    kernel::CheckNoSpinLockHeld("KeDelayExecutionThread");
    int64_t interval = Interval->QuadPart;
    if (interval > 0) {
        LARGE_INTEGER now;
        KeQuerySystemTime(&now);
        interval = now.QuadPart - interval;  // negative when still ahead
    }
    if (interval < 0) std::this_thread::sleep_for(std::chrono::nanoseconds(-interval * 100));
    return STATUS_SUCCESS;
}

}  // extern "C"
