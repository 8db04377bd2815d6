// The bus thread: each piece of work runs at DISPATCH_LEVEL and must leave it there.
#include "platform/kernel/threads.h"

#include "platform/kernel/internal.h"
#include "platform/verifier/verifier.h"

namespace kernel {

BusThread::BusThread() : thread_([this] { Run(); }) {}

BusThread::~BusThread() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BusThread::Post(std::function<void()> work) {
    {
        std::lock_guard guard(lock_);
        queue_.push_back(std::move(work));
    }
    changed_.notify_all();
}

void BusThread::Drain() {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return queue_.empty() && !busy_; });
}

void BusThread::Run() {
    std::unique_lock guard(lock_);
    for (;;) {
        changed_.wait(guard, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;
        std::function<void()> work = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        guard.unlock();
        SetCurrentIrql(DISPATCH_LEVEL);
        work();
        if (KeGetCurrentIrql() != DISPATCH_LEVEL || HeldSpinLocks() > 0)
            verifier::Violation("bus work returned at IRQL %d holding %d spin locks", KeGetCurrentIrql(),
                                HeldSpinLocks());
        ResetThreadState();
        guard.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace kernel
