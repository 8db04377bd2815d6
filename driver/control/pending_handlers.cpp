// Handlers whose work has not landed yet: each answers "not yet" until its real one replaces it.
#include "driver/control/control_handlers.h"

NTSTATUS HandleGetInterfaceInfo(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleGetDeviceDescriptor(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleGetConfigDescriptor(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleVendorRequest(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleFirmwareLoad512(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleResetPort(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleResetPipe(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleAbortPipe(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleSelectInterface(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleGetStringDescriptor(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandlePipeTransfer(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleGetFrameNumber(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleControlRequest(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleIsoTransfer(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleFirmwareLoad64(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleIsoStreamStart(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleIsoStreamStop(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleIsoStreamRead(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleSetDeviceFeature(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
NTSTATUS HandleSplitTransfer(const ControlRequest*) { return STATUS_NOT_IMPLEMENTED; }
