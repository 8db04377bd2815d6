// A worker thread running posted work at DISPATCH_LEVEL, as a bus driver's completion context does.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace kernel {

class BusThread {
public:
    BusThread();
    ~BusThread();  // runs what is still queued, then stops
    BusThread(const BusThread&) = delete;
    BusThread& operator=(const BusThread&) = delete;

    void Post(std::function<void()> work);
    void Drain();  // returns once everything posted so far has run

private:
    void Run();

    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace kernel
