// What the dispatcher hands a control code's handler, and the handlers of every code it routes.
#pragma once

#include "driver/core/platform.h"

// One control request as a handler sees it. On entry the request's IoStatus is STATUS_SUCCESS with
// Information 0; a handler that reports bytes sets Information, and returns its status. No handler
// completes the request or leaves work in flight that uses it.
struct ControlRequest {
    PDEVICE_OBJECT DeviceObject;
    PIRP Irp;
    PVOID SystemBuffer;
    ULONG InputLength;
    ULONG OutputLength;
};

typedef NTSTATUS ControlHandler(const ControlRequest* request);

ControlHandler HandleGetInterfaceInfo;
ControlHandler HandleGetDeviceDescriptor;
ControlHandler HandleGetConfigDescriptor;
ControlHandler HandleVendorRequest;
ControlHandler HandleFirmwareLoad512;
ControlHandler HandleResetPort;
ControlHandler HandleResetPipe;
ControlHandler HandleAbortPipe;
ControlHandler HandleSelectInterface;
ControlHandler HandleGetStringDescriptor;
ControlHandler HandlePipeTransfer;
ControlHandler HandleGetFrameNumber;
ControlHandler HandleControlRequest;
ControlHandler HandleIsoTransfer;
ControlHandler HandleFirmwareLoad64;
ControlHandler HandleIsoStreamStart;
ControlHandler HandleIsoStreamStop;
ControlHandler HandleIsoStreamRead;
ControlHandler HandleSetDeviceFeature;
ControlHandler HandleSplitTransfer;
