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

// Sends a plug-and-play request to the top of the PDO's stack at PASSIVE_LEVEL and waits for it; its status
// starts as STATUS_NOT_SUPPORTED, as the real manager sends it. After IRP_MN_REMOVE_DEVICE leaves the driver
// without devices, anything it allocated since DriverEntry and still holds is reported as a leak.
NTSTATUS SendPnp(PDEVICE_OBJECT pdo, UCHAR minor, PDEVICE_CAPABILITIES capabilities = nullptr);

// Sends IRP_MN_SET_POWER or IRP_MN_QUERY_POWER for a device or system state and waits for it.
NTSTATUS SendPower(PDEVICE_OBJECT pdo, UCHAR minor, POWER_STATE_TYPE type, POWER_STATE state);

// Forgets every driver, device, name, request, violation and tracked allocation: a clean platform for the
// next test. Calling thread back at PASSIVE_LEVEL holding nothing.
void ResetForTest();

}  // namespace pnp
