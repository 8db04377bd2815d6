// Load, plug, start and tear down on the platform, the way the plug-and-play manager would.
#include "client/simulation.h"

#include <vector>

#include "platform/kernel/wdm.h"
#include "platform/pnp/pnp.h"
#include "platform/verifier/verifier.h"
#include "driver/core/device_extension.h"

extern "C" NTSTATUS DriverEntry(PDRIVER_OBJECT driverObject, PUNICODE_STRING registryPath);

namespace lumora {

struct Simulation::State {
    PDRIVER_OBJECT driver = nullptr;
    std::vector<PDEVICE_OBJECT> pdos;  // every PDO plugged, whatever AddDevice did
};

namespace {

// ---- TEMPORARY, until the USB stack and the driver's start and removal paths land. ----
// StartDevice will set Started after configuring the camera; until then it is set by hand.
void MarkStartedByHand(PDEVICE_OBJECT fdo) { ExtensionOf(fdo)->Started = TRUE; }

// Removal by hand, in the order the driver's own removal will follow. Nothing was configured, so the
// record holds no descriptor or pipe table yet.
void RemoveByHand(PDEVICE_OBJECT fdo) {
    DeviceExtension* extension = ExtensionOf(fdo);
    if (extension->LinkCreated) {
        UNICODE_STRING link;
        RtlInitUnicodeString(&link, extension->LinkName);
        IoDeleteSymbolicLink(&link);
    }
    IoDetachDevice(extension->LowerDeviceObject);
    IoDeleteDevice(fdo);
}
// ---- end of TEMPORARY ----

// The driver's device object on a PDO, or none when AddDevice attached nothing.
PDEVICE_OBJECT FunctionDevice(PDEVICE_OBJECT pdo) {
    PDEVICE_OBJECT top = pnp::TopOfStack(pdo);
    return top == pdo ? nullptr : top;
}

}  // namespace

Simulation::Simulation() : state_(std::make_unique<State>()) {}

Simulation::~Simulation() {
    Stop();
    // Lets go of what the platform keeps to catch late use of freed requests.
    pnp::ResetForTest();
}

int32_t Simulation::Start(unsigned cameraCount) {
    Stop();
    if (cameraCount == 0 || cameraCount > 32) {
        return STATUS_INVALID_PARAMETER;
    }
    NTSTATUS status = pnp::LoadDriver(DriverEntry, u"lumora", &state_->driver);
    if (!NT_SUCCESS(status)) {
        state_->driver = nullptr;
        return status;
    }
    for (unsigned i = 0; i < cameraCount; ++i) {
        PDEVICE_OBJECT pdo = nullptr;
        status = pnp::PlugDevice(state_->driver, &pdo);
        if (pdo != nullptr) {
            state_->pdos.push_back(pdo);
        }
        if (!NT_SUCCESS(status)) {
            Stop();
            return status;
        }
        PDEVICE_OBJECT fdo = FunctionDevice(pdo);
        if (fdo == nullptr) {
            Stop();
            return STATUS_NO_SUCH_DEVICE;
        }
        MarkStartedByHand(fdo);
    }
    return STATUS_SUCCESS;
}

void Simulation::Stop() {
    if (state_->driver == nullptr) {
        return;
    }
    // Last plugged first, as instances are handed out lowest free index first.
    for (auto it = state_->pdos.rbegin(); it != state_->pdos.rend(); ++it) {
        if (PDEVICE_OBJECT fdo = FunctionDevice(*it)) {
            RemoveByHand(fdo);
        }
        pnp::ReleasePdo(*it);
    }
    state_->pdos.clear();
    pnp::UnloadDriver(state_->driver);
    state_->driver = nullptr;
    // A fresh load of the image starts from its initial data; in this process the data outlives the unload.
    TransferTimeoutMs = 3000;
}

unsigned Simulation::CameraCount() const { return static_cast<unsigned>(state_->pdos.size()); }

std::string Simulation::Problems() const {
    std::string text;
    if (verifier::ViolationCount() != 0) {
        text += std::to_string(verifier::ViolationCount()) + " violation(s), the first: " +
                verifier::FirstViolation() + "\n";
    }
    for (const auto kind : {verifier::Kind::Pool, verifier::Kind::Irp, verifier::Kind::Mdl, verifier::Kind::Mapping}) {
        for (const verifier::Allocation& allocation : verifier::Outstanding(kind)) {
            text += "still allocated: " + verifier::Describe(allocation) + "\n";
        }
    }
    return text;
}

}  // namespace lumora
