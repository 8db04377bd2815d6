// Fixture of the driver suites: the driver loaded on the platform, cameras plugged in on demand and
// taken apart at tear-down as removal does; the verifier's verdict comes last.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "driver/core/device_extension.h"
#include "platform/user/user.h"
#include "tests/support/kernel_test.h"

class DriverTest : public KernelTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Plugs in a camera; returns AddDevice's status and the new bus PDO.
    NTSTATUS Plug(PDEVICE_OBJECT* pdo);
    // Plugs in a camera that must be accepted; returns the driver's device object for it.
    PDEVICE_OBJECT PlugCamera();
    // Takes the driver's device off the PDO's stack as removal will (link, detach, delete), then
    // drops the PDO.
    void Unplug(PDEVICE_OBJECT pdo);

    // Until the USB stack can start a camera, tests mark it started themselves.
    static void MarkStarted(PDEVICE_OBJECT device) { ExtensionOf(device)->Started = TRUE; }
    // "\\.\Lumora58Tzvex-N" for an instance index.
    static std::string PathOf(uint32_t index);
    // A started camera and an open handle to it.
    user::Handle OpenStartedCamera(PDEVICE_OBJECT* device = nullptr);

    PDRIVER_OBJECT driver_ = nullptr;
    std::vector<PDEVICE_OBJECT> pdos_;
    std::vector<user::Handle> handles_;
};
