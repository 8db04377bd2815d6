// The in-process simulated system: the driver loaded on the platform with cameras plugged in.
// Free of kernel types so the tool and tests can include it. The platform is one per process, so is this.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace lumora {

class Simulation {
public:
    Simulation();
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;
    ~Simulation();  // stops what is still running and gives the platform back clean

    // Loads the driver and plugs cameraCount (1 to 32) cameras, each started.
    // Returns the first failing NTSTATUS; nothing stays loaded then.
    int32_t Start(unsigned cameraCount);

    // Removes every camera and unloads the driver; nothing happens when nothing runs.
    void Stop();

    unsigned CameraCount() const;

    // What the verifier saw so far: its first violation and whatever is still allocated; empty when
    // clean. Meant for after Stop, when the driver should hold nothing.
    std::string Problems() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumora
