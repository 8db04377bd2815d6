// Driver entry and unload, and the answers to an application's open and close.
#include "driver/control/dispatch.h"
#include "driver/lifecycle/lifecycle.h"

extern "C" NTSTATUS DriverEntry(PDRIVER_OBJECT DriverObject, PUNICODE_STRING) {
    DriverObject->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    DriverObject->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
    DriverObject->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    DriverObject->MajorFunction[IRP_MJ_POWER] = DispatchPower;
    DriverObject->MajorFunction[IRP_MJ_PNP] = DispatchPnp;
    DriverObject->DriverUnload = DriverUnload;
    DriverObject->DriverExtension->AddDevice = AddDevice;
    return STATUS_SUCCESS;
}

// Every device object is gone by the time the driver unloads; there is nothing else to release.
VOID DriverUnload(PDRIVER_OBJECT) {}

// Opens keep no per-handle state; they are admitted once the camera has started.
NTSTATUS DispatchCreate(PDEVICE_OBJECT DeviceObject, PIRP Irp) {
    NTSTATUS status = ExtensionOf(DeviceObject)->Started ? STATUS_SUCCESS : STATUS_UNSUCCESSFUL;
    Irp->IoStatus.Status = status;
    Irp->IoStatus.Information = 0;
    IofCompleteRequest(Irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS DispatchClose(PDEVICE_OBJECT, PIRP Irp) {
    Irp->IoStatus.Status = STATUS_SUCCESS;
    Irp->IoStatus.Information = 0;
    IofCompleteRequest(Irp, IO_NO_INCREMENT);
    return STATUS_SUCCESS;
}
