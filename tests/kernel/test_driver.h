// Tiny drivers for the platform suites: one dispatch routine for every major function, chosen per test.
#pragma once

#include "platform/kernel/wdm.h"

namespace test {

// Loads a driver whose every major function is dispatch (and whose unload does nothing).
PDRIVER_OBJECT LoadDriver(PDRIVER_DISPATCH dispatch);

// A device of driver, ready for requests; named when name is given, with a link "\DosDevices\<link>" when given.
PDEVICE_OBJECT CreateDevice(PDRIVER_OBJECT driver, const char16_t* name = nullptr, const char16_t* link = nullptr,
                            ULONG extensionSize = 0);

// Completes the request with status and information; returns status.
NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information = 0);

// The dispatch routine that completes everything with success.
NTSTATUS CompleteSuccess(PDEVICE_OBJECT device, PIRP irp);

}  // namespace test
