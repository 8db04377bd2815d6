// Plug-and-play and power requests: for now both go to the drivers below unchanged.
#include "driver/lifecycle/lifecycle.h"

NTSTATUS DispatchPnp(PDEVICE_OBJECT DeviceObject, PIRP Irp) {
    IoSkipCurrentIrpStackLocation(Irp);
    return IofCallDriver(ExtensionOf(DeviceObject)->LowerDeviceObject, Irp);
}

// No power management of its own: the next power request may start, this one goes below.
NTSTATUS DispatchPower(PDEVICE_OBJECT DeviceObject, PIRP Irp) {
    PoStartNextPowerIrp(Irp);
    IoSkipCurrentIrpStackLocation(Irp);
    return PoCallDriver(ExtensionOf(DeviceObject)->LowerDeviceObject, Irp);
}
