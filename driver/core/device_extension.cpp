// The I/O gate and the driver-wide transfer time-out.
#include "driver/core/device_extension.h"

LONGLONG TransferTimeoutMs = 3000;

BOOLEAN IoIncrement(PDEVICE_OBJECT deviceObject) {
    DeviceExtension* extension = ExtensionOf(deviceObject);
    // Count first, test after: removal either sees this request in the count and waits for it, or
    // this request sees RemovePending and backs out.
    InterlockedIncrement(&extension->OutstandingIo);
    if (!extension->RemovePending) {
        return TRUE;
    }
    IoDecrement(deviceObject);
    return FALSE;
}

VOID IoDecrement(PDEVICE_OBJECT deviceObject) {
    DeviceExtension* extension = ExtensionOf(deviceObject);
    if (InterlockedDecrement(&extension->OutstandingIo) == 0) {
        KeSetEvent(&extension->RemoveEvent, IO_NO_INCREMENT, FALSE);
    }
}
