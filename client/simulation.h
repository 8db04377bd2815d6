// The in-process simulated system: the driver loaded on the platform with cameras plugged in.
// Free of kernel types so the tool and tests can include it.
#pragma once

#include <cstdint>
#include <memory>

namespace lumora {

class Simulation {
public:
    Simulation();
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;
    ~Simulation();  // stops what is still running

    // Loads the driver and plugs cameraCount (1 to 32) cameras, each started.
    // Returns the first failing NTSTATUS; nothing stays loaded then.
    int32_t Start(unsigned cameraCount);

    // Removes every camera and unloads the driver; nothing happens when nothing runs.
    void Stop();

    unsigned CameraCount() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumora
