// Driver loading and device arrival: what the platform's loader and plug-and-play manager offer tests
// and the in-process system. Grows with the USB stack.
#pragma once

#include "platform/kernel/wdm.h"

namespace pnp {

// Creates the driver object, calls entry (DriverEntry) at PASSIVE_LEVEL; on failure nothing stays loaded.
NTSTATUS LoadDriver(PDRIVER_INITIALIZE entry, const char16_t* serviceName, PDRIVER_OBJECT* driver);

// Calls DriverUnload, then reports (to the verifier) any pool, IRP or MDL the driver still holds.
void UnloadDriver(PDRIVER_OBJECT driver);

// A new bus PDO for a device and the driver's AddDevice for it; returns AddDevice's status.
// The PDO stays until ReleasePdo, whatever AddDevice did.
NTSTATUS PlugDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT* pdo);

// Deletes a PDO once no device is attached above it.
void ReleasePdo(PDEVICE_OBJECT pdo);

// The device object on top of the PDO's stack (the PDO itself when none is attached).
PDEVICE_OBJECT TopOfStack(PDEVICE_OBJECT pdo);

}  // namespace pnp
