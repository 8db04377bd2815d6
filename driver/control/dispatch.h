// The IRP_MJ_DEVICE_CONTROL routine: every control code an application sends enters here.
#pragma once

#include "driver/core/platform.h"

NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT DeviceObject, PIRP Irp);
