// Driver entry, device creation and naming, open and close, and the plug-and-play and power routines.
#pragma once

#include "driver/core/device_extension.h"

extern "C" NTSTATUS DriverEntry(PDRIVER_OBJECT DriverObject, PUNICODE_STRING RegistryPath);

NTSTATUS AddDevice(PDRIVER_OBJECT DriverObject, PDEVICE_OBJECT PhysicalDeviceObject);
// Creates the device object and link of one instance index; on failure nothing of it remains.
NTSTATUS CreateDeviceObject(PDRIVER_OBJECT DriverObject, ULONG Index, PDEVICE_OBJECT* DeviceObject);
// Deletes the device's symbolic link if it has one.
VOID DeleteSymbolicLink(DeviceExtension* Extension);

NTSTATUS DispatchCreate(PDEVICE_OBJECT DeviceObject, PIRP Irp);
NTSTATUS DispatchClose(PDEVICE_OBJECT DeviceObject, PIRP Irp);
NTSTATUS DispatchPnp(PDEVICE_OBJECT DeviceObject, PIRP Irp);
NTSTATUS DispatchPower(PDEVICE_OBJECT DeviceObject, PIRP Irp);
VOID DriverUnload(PDRIVER_OBJECT DriverObject);
