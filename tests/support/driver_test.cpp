// The driver fixture: load and unload, plug and unplug, open a started camera.
#include "tests/support/driver_test.h"

#include <algorithm>

#include "driver/lifecycle/lifecycle.h"
#include "platform/pnp/pnp.h"

void DriverTest::SetUp() {
    KernelTest::SetUp();
    ASSERT_EQ(pnp::LoadDriver(DriverEntry, u"lumora", &driver_), STATUS_SUCCESS);
}

void DriverTest::TearDown() {
    for (user::Handle handle : handles_) {
        user::CloseHandle(handle);
    }
    handles_.clear();
    while (!pdos_.empty()) {
        Unplug(pdos_.back());
    }
    if (driver_ != nullptr) {
        pnp::UnloadDriver(driver_);
    }
    // The setting is driver-wide and outlives the driver object in this process.
    TransferTimeoutMs = 3000;
    KernelTest::TearDown();
}

NTSTATUS DriverTest::Plug(PDEVICE_OBJECT* pdo) {
    NTSTATUS status = pnp::PlugDevice(driver_, pdo);
    pdos_.push_back(*pdo);
    return status;
}

PDEVICE_OBJECT DriverTest::PlugCamera() {
    PDEVICE_OBJECT pdo = nullptr;
    EXPECT_EQ(Plug(&pdo), STATUS_SUCCESS);
    PDEVICE_OBJECT device = pnp::TopOfStack(pdo);
    EXPECT_NE(device, pdo);
    return device;
}

void DriverTest::Unplug(PDEVICE_OBJECT pdo) {
    PDEVICE_OBJECT device = pnp::TopOfStack(pdo);
    if (device != pdo) {
        DeviceExtension* extension = ExtensionOf(device);
        DeleteSymbolicLink(extension);
        IoDetachDevice(extension->LowerDeviceObject);
        IoDeleteDevice(device);
    }
    pnp::ReleasePdo(pdo);
    pdos_.erase(std::find(pdos_.begin(), pdos_.end(), pdo));
}

std::string DriverTest::PathOf(uint32_t index) {
    return std::string("\\\\.\\Lumora58Tzvex-") + static_cast<char>(0x30 + index);
}

user::Handle DriverTest::OpenStartedCamera(PDEVICE_OBJECT* device) {
    PDEVICE_OBJECT camera = PlugCamera();
    MarkStarted(camera);
    user::OpenResult open = user::CreateFile(PathOf(ExtensionOf(camera)->LinkName[LinkNameLength - 2] - 0x30));
    EXPECT_EQ(open.status, STATUS_SUCCESS);
    if (open.handle != nullptr) {
        handles_.push_back(open.handle);
    }
    if (device != nullptr) {
        *device = camera;
    }
    return open.handle;
}
