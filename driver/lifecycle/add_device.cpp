// Device creation: the first free instance index names the device object and its link, which is
// then attached above the bus driver's device object with an open I/O gate.
#include "driver/lifecycle/lifecycle.h"

namespace {

const WCHAR DeviceNameTemplate[] = DRIVER_TEXT("\\Device\\Lumora58Tzvex-0");
const WCHAR LinkNameTemplate[] = DRIVER_TEXT("\\DosDevices\\Lumora58Tzvex-0");
constexpr ULONG DeviceNameLength = sizeof(DeviceNameTemplate) / sizeof(WCHAR);
static_assert(DeviceNameLength == 24, "23 characters and the NUL");
static_assert(sizeof(LinkNameTemplate) / sizeof(WCHAR) == LinkNameLength, "LinkName holds the link name");

// Copies a template with its NUL and puts the instance character before the NUL.
VOID NameInstance(WCHAR* name, const WCHAR* nameTemplate, ULONG length, ULONG index) {
    for (ULONG i = 0; i < length; ++i) {
        name[i] = nameTemplate[i];
    }
    name[length - 2] = static_cast<WCHAR>(0x30 + index);
}

}  // namespace

NTSTATUS CreateDeviceObject(PDRIVER_OBJECT DriverObject, ULONG Index, PDEVICE_OBJECT* DeviceObject) {
    WCHAR deviceText[DeviceNameLength];
    NameInstance(deviceText, DeviceNameTemplate, DeviceNameLength, Index);
    UNICODE_STRING deviceName;
    RtlInitUnicodeString(&deviceName, deviceText);

    PDEVICE_OBJECT deviceObject = nullptr;
    NTSTATUS status = IoCreateDevice(DriverObject, sizeof(DeviceExtension), &deviceName, FILE_DEVICE_UNKNOWN, 0,
                                     FALSE, &deviceObject);
    if (!NT_SUCCESS(status)) {
        return status;
    }

    // The record arrives zero-filled; its lock and event are ready before anything can fail.
    DeviceExtension* extension = ExtensionOf(deviceObject);
    KeInitializeSpinLock(&extension->SplitLock);
    KeInitializeEvent(&extension->SplitDoneEvent, NotificationEvent, FALSE);
    extension->SplitChunkTable = nullptr;
    extension->ConfigurationHandle = nullptr;
    extension->DeviceDescriptor = nullptr;
    extension->InterfaceInfo = nullptr;
    extension->IsoDataRing = nullptr;
    extension->IsoDescriptorRing = nullptr;
    extension->Started = FALSE;
    NameInstance(extension->LinkName, LinkNameTemplate, LinkNameLength, Index);

    UNICODE_STRING linkName;
    RtlInitUnicodeString(&linkName, extension->LinkName);
    status = IoCreateSymbolicLink(&linkName, &deviceName);
    if (!NT_SUCCESS(status)) {
        goto delete_device;
    }
    // Every link that exists is deleted at removal.
    extension->LinkCreated = TRUE;
    *DeviceObject = deviceObject;
    return status;

delete_device:
    IoDeleteDevice(deviceObject);
    return status;
}

VOID DeleteSymbolicLink(DeviceExtension* Extension) {
    if (!Extension->LinkCreated) {
        return;
    }
    Extension->LinkCreated = FALSE;
    UNICODE_STRING linkName;
    RtlInitUnicodeString(&linkName, Extension->LinkName);
    IoDeleteSymbolicLink(&linkName);
}

NTSTATUS AddDevice(PDRIVER_OBJECT DriverObject, PDEVICE_OBJECT PhysicalDeviceObject) {
    // The first index whose names are free wins; after the last, its failure is the answer.
    PDEVICE_OBJECT deviceObject = nullptr;
    NTSTATUS status = STATUS_UNSUCCESSFUL;
    for (ULONG index = 0; index < MaxInstances; ++index) {
        status = CreateDeviceObject(DriverObject, index, &deviceObject);
        if (NT_SUCCESS(status)) {
            break;
        }
    }
    if (!NT_SUCCESS(status)) {
        return status;
    }

    deviceObject->Flags &= ~DO_DEVICE_INITIALIZING;
    deviceObject->Flags |= DO_DIRECT_IO;
    deviceObject->Flags |= DO_POWER_PAGABLE;

    DeviceExtension* extension = ExtensionOf(deviceObject);
    extension->LowerDeviceObject = IoAttachDeviceToDeviceStack(deviceObject, PhysicalDeviceObject);
    if (extension->LowerDeviceObject == nullptr) {
        // Nothing below to send requests to: the device cannot work.
        status = STATUS_NO_SUCH_DEVICE;
        goto delete_device;
    }

    extension->LastUsbdStatus = 0;
    extension->OutstandingIo = 1;
    KeInitializeEvent(&extension->RemoveEvent, NotificationEvent, FALSE);
    return status;

delete_device:
    DeleteSymbolicLink(extension);
    IoDeleteDevice(deviceObject);
    return status;
}
