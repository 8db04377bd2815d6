// The control-code dispatcher: the code table with each code's length tests and result rules, and
// the driver's own codes (no-operation, last USB status, interface version, time-out).
#include "driver/control/dispatch.h"

#include "driver/control/control_handlers.h"
#include "driver/core/device_extension.h"
#include "driver/lumora_ioctl.h"

namespace {

enum LengthTest : UCHAR {
    AnyLength,
    AtLeast,
    Exactly,
    NotZero,
    // Output only: PacketCount x (PacketSize + 12) of the IsoTransferParams input, which an Exactly
    // input test of its size must have admitted first.
    IsoPacketArea,
};

enum ResultRule : UCHAR {
    HandlersStatus,
    AlwaysSuccess,       // whatever the handler returned
    AlwaysUnsuccessful,  // whatever the handler returned
};

struct ControlCode {
    ULONG Code;
    LengthTest InputTest;
    ULONG InputLength;
    LengthTest OutputTest;
    ULONG OutputLength;
    NTSTATUS TestFailure;  // stored, with 0 bytes, when a length test fails; the handler does not run
    ControlHandler* Handler;
    ResultRule Result;
    BOOLEAN NoBytes;  // the byte count is 0 whatever the handler left
};

NTSTATUS HandleNoOperation(const ControlRequest*) { return STATUS_SUCCESS; }

NTSTATUS HandleGetLastUsbdStatus(const ControlRequest* request) {
    USBD_STATUS status = ExtensionOf(request->DeviceObject)->LastUsbdStatus;
    RtlCopyMemory(request->SystemBuffer, &status, sizeof(status));
    request->Irp->IoStatus.Information = sizeof(status);
    return STATUS_SUCCESS;
}

NTSTATUS HandleGetDriverVersion(const ControlRequest* request) {
    const VersionRecord version = {1, 1, 0};
    RtlCopyMemory(request->SystemBuffer, &version, sizeof(version));
    request->Irp->IoStatus.Information = sizeof(version);
    return STATUS_SUCCESS;
}

NTSTATUS HandleSetTimeout(const ControlRequest* request) {
    TimeoutParams params;
    RtlCopyMemory(&params, request->SystemBuffer, sizeof(params));
    if (params.Selector == LUMORA_TIMEOUT_SELECTOR_TRANSFER) {
        TransferTimeoutMs = params.Milliseconds;
    }
    return STATUS_SUCCESS;
}

// Inputs that a handler reads as a record are refused when shorter than the record, so nothing past
// the caller's bytes is read.
constexpr ULONG PipeIndexSize = sizeof(PipeParams);
constexpr ULONG InterfaceSelectSize = sizeof(InterfaceSelectParams);
constexpr ULONG StringDescriptorSize = sizeof(StringDescriptorParams);
constexpr ULONG FeatureSize = sizeof(FeatureParams);
constexpr ULONG VendorRequestSize = sizeof(VendorRequestParams);
constexpr ULONG ControlRequestSize = sizeof(ControlRequestParams);
constexpr ULONG LoadAddressSize = sizeof(FirmwareLoadParams);
constexpr ULONG IsoParamsSize = sizeof(IsoTransferParams);

const ControlCode ControlCodes[] = {
    {IOCTL_LUMORA_GET_INTERFACE_INFO, AnyLength, 0, AnyLength, 0, STATUS_SUCCESS, HandleGetInterfaceInfo,
     HandlersStatus, FALSE},
    {IOCTL_LUMORA_GET_DEVICE_DESCRIPTOR, AnyLength, 0, AnyLength, 0, STATUS_SUCCESS, HandleGetDeviceDescriptor,
     AlwaysSuccess, FALSE},
    {IOCTL_LUMORA_GET_CONFIG_DESCRIPTOR, AnyLength, 0, AnyLength, 0, STATUS_SUCCESS, HandleGetConfigDescriptor,
     AlwaysSuccess, FALSE},
    {IOCTL_LUMORA_VENDOR_REQUEST, AtLeast, VendorRequestSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandleVendorRequest, AlwaysSuccess, FALSE},
    {IOCTL_LUMORA_NO_OPERATION, AnyLength, 0, AnyLength, 0, STATUS_SUCCESS, HandleNoOperation, HandlersStatus,
     TRUE},
    {IOCTL_LUMORA_FIRMWARE_LOAD_512, AnyLength, 0, AnyLength, 0, STATUS_SUCCESS, HandleFirmwareLoad512,
     AlwaysSuccess, TRUE},
    {IOCTL_LUMORA_RESET_PORT, AnyLength, 0, AnyLength, 0, STATUS_SUCCESS, HandleResetPort, AlwaysSuccess, TRUE},
    {IOCTL_LUMORA_RESET_PIPE, AtLeast, PipeIndexSize, AnyLength, 0, STATUS_INVALID_PARAMETER, HandleResetPipe,
     HandlersStatus, TRUE},
    {IOCTL_LUMORA_ABORT_PIPE, AtLeast, PipeIndexSize, AnyLength, 0, STATUS_INVALID_PARAMETER, HandleAbortPipe,
     AlwaysSuccess, TRUE},
    {IOCTL_LUMORA_SELECT_INTERFACE, AtLeast, InterfaceSelectSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandleSelectInterface, AlwaysSuccess, TRUE},
    {IOCTL_LUMORA_GET_STRING_DESCRIPTOR, Exactly, StringDescriptorSize, NotZero, 0, STATUS_INVALID_PARAMETER,
     HandleGetStringDescriptor, HandlersStatus, FALSE},
    {IOCTL_LUMORA_PIPE_TRANSFER_READ, AtLeast, PipeIndexSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandlePipeTransfer, HandlersStatus, FALSE},
    {IOCTL_LUMORA_PIPE_TRANSFER_WRITE, AtLeast, PipeIndexSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandlePipeTransfer, HandlersStatus, FALSE},
    {IOCTL_LUMORA_GET_FRAME_NUMBER, AnyLength, 0, AtLeast, sizeof(ULONG), STATUS_INVALID_PARAMETER,
     HandleGetFrameNumber, HandlersStatus, FALSE},
    {IOCTL_LUMORA_CONTROL_REQUEST, Exactly, ControlRequestSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandleControlRequest, HandlersStatus, FALSE},
    {IOCTL_LUMORA_GET_LAST_USBD_STATUS, AnyLength, 0, AtLeast, sizeof(USBD_STATUS), STATUS_UNSUCCESSFUL,
     HandleGetLastUsbdStatus, HandlersStatus, FALSE},
    {IOCTL_LUMORA_ISO_TRANSFER_READ, AtLeast, IsoParamsSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandleIsoTransfer, HandlersStatus, TRUE},
    {IOCTL_LUMORA_ISO_TRANSFER_WRITE, AtLeast, IsoParamsSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandleIsoTransfer, HandlersStatus, TRUE},
    // A firmware block without an address or an image is no error: nothing is sent.
    {IOCTL_LUMORA_FIRMWARE_LOAD_64, Exactly, LoadAddressSize, NotZero, 0, STATUS_SUCCESS, HandleFirmwareLoad64,
     AlwaysSuccess, TRUE},
    {IOCTL_LUMORA_GET_DRIVER_VERSION, AnyLength, 0, AtLeast, sizeof(VersionRecord), STATUS_UNSUCCESSFUL,
     HandleGetDriverVersion, HandlersStatus, FALSE},
    {IOCTL_LUMORA_ISO_STREAM_START, AtLeast, IsoParamsSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandleIsoStreamStart, HandlersStatus, TRUE},
    {IOCTL_LUMORA_ISO_STREAM_STOP, AnyLength, 0, AnyLength, 0, STATUS_SUCCESS, HandleIsoStreamStop,
     AlwaysSuccess, TRUE},
    {IOCTL_LUMORA_ISO_STREAM_READ, Exactly, IsoParamsSize, IsoPacketArea, 0, STATUS_INVALID_PARAMETER,
     HandleIsoStreamRead, HandlersStatus, FALSE},
    {IOCTL_LUMORA_SET_DEVICE_FEATURE, Exactly, FeatureSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandleSetDeviceFeature, AlwaysUnsuccessful, TRUE},
    {IOCTL_LUMORA_SET_TIMEOUT, AtLeast, sizeof(TimeoutParams), AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandleSetTimeout, HandlersStatus, TRUE},
    {IOCTL_LUMORA_SPLIT_TRANSFER_READ, AtLeast, PipeIndexSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandleSplitTransfer, HandlersStatus, FALSE},
    {IOCTL_LUMORA_SPLIT_TRANSFER_WRITE, AtLeast, PipeIndexSize, AnyLength, 0, STATUS_INVALID_PARAMETER,
     HandleSplitTransfer, HandlersStatus, FALSE},
};

const ControlCode* FindControlCode(ULONG code) {
    for (const ControlCode& entry : ControlCodes) {
        if (entry.Code == code) {
            return &entry;
        }
    }
    return nullptr;
}

// The packet area in 64 bits: the caller's PacketCount and PacketSize may be anything.
ULONGLONG IsoPacketAreaLength(const ControlRequest* request) {
    IsoTransferParams params;
    RtlCopyMemory(&params, request->SystemBuffer, sizeof(params));
    return static_cast<ULONGLONG>(params.PacketCount) *
           (static_cast<ULONGLONG>(params.PacketSize) + LUMORA_ISO_PACKET_RECORD_SIZE);
}

bool LengthPasses(LengthTest test, ULONG actual, ULONG expected, const ControlRequest* request) {
    switch (test) {
        case AnyLength:
            return true;
        case AtLeast:
            return actual >= expected;
        case Exactly:
            return actual == expected;
        case NotZero:
            return actual != 0;
        case IsoPacketArea:
            return actual == IsoPacketAreaLength(request);
    }
    return false;
}

// Runs one code of the table; the request's Information holds the byte count afterwards.
NTSTATUS RunControlCode(const ControlCode* entry, const ControlRequest* request) {
    if (!LengthPasses(entry->InputTest, request->InputLength, entry->InputLength, request) ||
        !LengthPasses(entry->OutputTest, request->OutputLength, entry->OutputLength, request)) {
        return entry->TestFailure;
    }
    NTSTATUS status = entry->Handler(request);
    if (entry->NoBytes) {
        request->Irp->IoStatus.Information = 0;
    }
    // A code whose handler has not landed says so, even where its row fixes the status: a fixed
    // success would tell the application that work was done.
    if (status == STATUS_NOT_IMPLEMENTED) {
        return status;
    }
    switch (entry->Result) {
        case HandlersStatus:
            return status;
        case AlwaysSuccess:
            return STATUS_SUCCESS;
        case AlwaysUnsuccessful:
            return STATUS_UNSUCCESSFUL;
    }
    return status;
}

}  // namespace

NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT DeviceObject, PIRP Irp) {
    Irp->IoStatus.Information = 0;
    if (!IoIncrement(DeviceObject)) {
        Irp->IoStatus.Status = STATUS_DELETE_PENDING;
        IofCompleteRequest(Irp, IO_NO_INCREMENT);
        return STATUS_DELETE_PENDING;
    }
    Irp->IoStatus.Status = STATUS_SUCCESS;

    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(Irp);
    const ControlRequest request = {DeviceObject, Irp, Irp->AssociatedIrp.SystemBuffer,
                                    stack->Parameters.DeviceIoControl.InputBufferLength,
                                    stack->Parameters.DeviceIoControl.OutputBufferLength};
    // Whole codes are compared: a known function sent with another method is not in the table.
    const ControlCode* entry = FindControlCode(stack->Parameters.DeviceIoControl.IoControlCode);
    Irp->IoStatus.Status = entry != nullptr ? RunControlCode(entry, &request) : STATUS_INVALID_PARAMETER;

    IoDecrement(DeviceObject);
    NTSTATUS status = Irp->IoStatus.Status;
    IofCompleteRequest(Irp, IO_NO_INCREMENT);
    return status;
}
