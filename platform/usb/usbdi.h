// The USB records, URBs, status and function codes, build helpers and USBD library routines the driver
// and the simulated bus share, with the names and the x64 layout of the platform's USB interface.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/abi/x64_layout.h"
#include "platform/kernel/wdm.h"

// ---------------------------------------------------------------- descriptors (wire format, packed)

#define USB_DEVICE_DESCRIPTOR_TYPE 0x01
#define USB_CONFIGURATION_DESCRIPTOR_TYPE 0x02
#define USB_STRING_DESCRIPTOR_TYPE 0x03
#define USB_INTERFACE_DESCRIPTOR_TYPE 0x04
#define USB_ENDPOINT_DESCRIPTOR_TYPE 0x05

#define USB_ENDPOINT_DIRECTION_MASK 0x80
#define USB_ENDPOINT_DIRECTION_OUT(Address) (!((Address) & USB_ENDPOINT_DIRECTION_MASK))
#define USB_ENDPOINT_DIRECTION_IN(Address) ((Address) & USB_ENDPOINT_DIRECTION_MASK)
#define USB_ENDPOINT_TYPE_MASK 0x03
#define USB_ENDPOINT_TYPE_CONTROL 0x00
#define USB_ENDPOINT_TYPE_ISOCHRONOUS 0x01
#define USB_ENDPOINT_TYPE_BULK 0x02
#define USB_ENDPOINT_TYPE_INTERRUPT 0x03

#pragma pack(push, 1)

typedef struct _USB_COMMON_DESCRIPTOR {
    UCHAR bLength;
    UCHAR bDescriptorType;
} USB_COMMON_DESCRIPTOR, *PUSB_COMMON_DESCRIPTOR;

typedef struct _USB_DEVICE_DESCRIPTOR {
    UCHAR bLength;
    UCHAR bDescriptorType;
    USHORT bcdUSB;
    UCHAR bDeviceClass;
    UCHAR bDeviceSubClass;
    UCHAR bDeviceProtocol;
    UCHAR bMaxPacketSize0;
    USHORT idVendor;
    USHORT idProduct;
    USHORT bcdDevice;
    UCHAR iManufacturer;
    UCHAR iProduct;
    UCHAR iSerialNumber;
    UCHAR bNumConfigurations;
} USB_DEVICE_DESCRIPTOR, *PUSB_DEVICE_DESCRIPTOR;

// wTotalLength covers this header and every interface and endpoint descriptor after it.
typedef struct _USB_CONFIGURATION_DESCRIPTOR {
    UCHAR bLength;
    UCHAR bDescriptorType;
    USHORT wTotalLength;
    UCHAR bNumInterfaces;
    UCHAR bConfigurationValue;
    UCHAR iConfiguration;
    UCHAR bmAttributes;
    UCHAR MaxPower;
} USB_CONFIGURATION_DESCRIPTOR, *PUSB_CONFIGURATION_DESCRIPTOR;

typedef struct _USB_INTERFACE_DESCRIPTOR {
    UCHAR bLength;
    UCHAR bDescriptorType;
    UCHAR bInterfaceNumber;
    UCHAR bAlternateSetting;
    UCHAR bNumEndpoints;
    UCHAR bInterfaceClass;
    UCHAR bInterfaceSubClass;
    UCHAR bInterfaceProtocol;
    UCHAR iInterface;
} USB_INTERFACE_DESCRIPTOR, *PUSB_INTERFACE_DESCRIPTOR;

typedef struct _USB_ENDPOINT_DESCRIPTOR {
    UCHAR bLength;
    UCHAR bDescriptorType;
    UCHAR bEndpointAddress;
    UCHAR bmAttributes;
    USHORT wMaxPacketSize;
    UCHAR bInterval;
} USB_ENDPOINT_DESCRIPTOR, *PUSB_ENDPOINT_DESCRIPTOR;

// bLength says how many UTF-16 units follow; one is declared so the record has a name for them.
typedef struct _USB_STRING_DESCRIPTOR {
    UCHAR bLength;
    UCHAR bDescriptorType;
    WCHAR bString[1];
} USB_STRING_DESCRIPTOR, *PUSB_STRING_DESCRIPTOR;

#pragma pack(pop)

// ---------------------------------------------------------------- status codes

typedef LONG USBD_STATUS;

// The top two bits classify: 00 success, 01 pending, 1x error (11 also halts the endpoint).
#define USBD_SUCCESS(Status) ((USBD_STATUS)(Status) >= 0)
#define USBD_PENDING(Status) ((ULONG)(Status) >> 30 == 1)
#define USBD_ERROR(Status) ((USBD_STATUS)(Status) < 0)
#define USBD_HALTED(Status) ((ULONG)(Status) >> 30 == 3)

#define USBD_STATUS_SUCCESS ((USBD_STATUS)0x00000000)
#define USBD_STATUS_PENDING ((USBD_STATUS)0x40000000)

// Reported by the host controller for a transfer on the wire; each halts the endpoint.
#define USBD_STATUS_CRC ((USBD_STATUS)0xC0000001)
#define USBD_STATUS_BTSTUFF ((USBD_STATUS)0xC0000002)
#define USBD_STATUS_DATA_TOGGLE_MISMATCH ((USBD_STATUS)0xC0000003)
#define USBD_STATUS_STALL_PID ((USBD_STATUS)0xC0000004)
#define USBD_STATUS_DEV_NOT_RESPONDING ((USBD_STATUS)0xC0000005)
#define USBD_STATUS_PID_CHECK_FAILURE ((USBD_STATUS)0xC0000006)
#define USBD_STATUS_UNEXPECTED_PID ((USBD_STATUS)0xC0000007)
#define USBD_STATUS_DATA_OVERRUN ((USBD_STATUS)0xC0000008)
#define USBD_STATUS_DATA_UNDERRUN ((USBD_STATUS)0xC0000009)
#define USBD_STATUS_BUFFER_OVERRUN ((USBD_STATUS)0xC000000C)
#define USBD_STATUS_BUFFER_UNDERRUN ((USBD_STATUS)0xC000000D)
#define USBD_STATUS_NOT_ACCESSED ((USBD_STATUS)0xC000000F)
#define USBD_STATUS_FIFO ((USBD_STATUS)0xC0000010)
#define USBD_STATUS_ENDPOINT_HALTED ((USBD_STATUS)0xC0000030)

// Request errors found by the USB stack before or instead of any bus traffic.
#define USBD_STATUS_INVALID_URB_FUNCTION ((USBD_STATUS)0x80000200)
#define USBD_STATUS_INVALID_PARAMETER ((USBD_STATUS)0x80000300)
#define USBD_STATUS_ERROR_BUSY ((USBD_STATUS)0x80000400)
#define USBD_STATUS_INVALID_PIPE_HANDLE ((USBD_STATUS)0x80000600)
#define USBD_STATUS_NO_BANDWIDTH ((USBD_STATUS)0x80000700)
#define USBD_STATUS_INTERNAL_HC_ERROR ((USBD_STATUS)0x80000800)
#define USBD_STATUS_ERROR_SHORT_TRANSFER ((USBD_STATUS)0x80000900)
#define USBD_STATUS_BAD_START_FRAME ((USBD_STATUS)0xC0000A00)
#define USBD_STATUS_ISOCH_REQUEST_FAILED ((USBD_STATUS)0xC0000B00)
#define USBD_STATUS_FRAME_CONTROL_OWNED ((USBD_STATUS)0xC0000C00)
#define USBD_STATUS_FRAME_CONTROL_NOT_OWNED ((USBD_STATUS)0xC0000D00)
#define USBD_STATUS_NOT_SUPPORTED ((USBD_STATUS)0xC0000E00)
#define USBD_STATUS_INAVLID_CONFIGURATION_DESCRIPTOR ((USBD_STATUS)0xC0000F00)
#define USBD_STATUS_INSUFFICIENT_RESOURCES ((USBD_STATUS)0xC0001000)
#define USBD_STATUS_SET_CONFIG_FAILED ((USBD_STATUS)0xC0002000)
#define USBD_STATUS_BUFFER_TOO_SMALL ((USBD_STATUS)0xC0003000)
#define USBD_STATUS_INTERFACE_NOT_FOUND ((USBD_STATUS)0xC0004000)
#define USBD_STATUS_INAVLID_PIPE_FLAGS ((USBD_STATUS)0xC0005000)
#define USBD_STATUS_TIMEOUT ((USBD_STATUS)0xC0006000)
#define USBD_STATUS_DEVICE_GONE ((USBD_STATUS)0xC0007000)
#define USBD_STATUS_STATUS_NOT_MAPPED ((USBD_STATUS)0xC0008000)
#define USBD_STATUS_CANCELED ((USBD_STATUS)0xC0010000)

// Per-packet results of an isochronous transfer.
#define USBD_STATUS_ISO_NOT_ACCESSED_BY_HW ((USBD_STATUS)0xC0020000)
#define USBD_STATUS_ISO_TD_ERROR ((USBD_STATUS)0xC0030000)
#define USBD_STATUS_ISO_NA_LATE_USBPORT ((USBD_STATUS)0xC0040000)
#define USBD_STATUS_ISO_NOT_ACCESSED_LATE ((USBD_STATUS)0xC0050000)

// ---------------------------------------------------------------- URB function codes

#define URB_FUNCTION_SELECT_CONFIGURATION 0x0000
#define URB_FUNCTION_SELECT_INTERFACE 0x0001
#define URB_FUNCTION_ABORT_PIPE 0x0002
#define URB_FUNCTION_TAKE_FRAME_LENGTH_CONTROL 0x0003
#define URB_FUNCTION_RELEASE_FRAME_LENGTH_CONTROL 0x0004
#define URB_FUNCTION_GET_FRAME_LENGTH 0x0005
#define URB_FUNCTION_SET_FRAME_LENGTH 0x0006
#define URB_FUNCTION_GET_CURRENT_FRAME_NUMBER 0x0007
#define URB_FUNCTION_CONTROL_TRANSFER 0x0008
#define URB_FUNCTION_BULK_OR_INTERRUPT_TRANSFER 0x0009
#define URB_FUNCTION_ISOCH_TRANSFER 0x000A
#define URB_FUNCTION_GET_DESCRIPTOR_FROM_DEVICE 0x000B
#define URB_FUNCTION_SET_DESCRIPTOR_TO_DEVICE 0x000C
#define URB_FUNCTION_SET_FEATURE_TO_DEVICE 0x000D
#define URB_FUNCTION_SET_FEATURE_TO_INTERFACE 0x000E
#define URB_FUNCTION_SET_FEATURE_TO_ENDPOINT 0x000F
#define URB_FUNCTION_CLEAR_FEATURE_TO_DEVICE 0x0010
#define URB_FUNCTION_CLEAR_FEATURE_TO_INTERFACE 0x0011
#define URB_FUNCTION_CLEAR_FEATURE_TO_ENDPOINT 0x0012
#define URB_FUNCTION_GET_STATUS_FROM_DEVICE 0x0013
#define URB_FUNCTION_GET_STATUS_FROM_INTERFACE 0x0014
#define URB_FUNCTION_GET_STATUS_FROM_ENDPOINT 0x0015
#define URB_FUNCTION_VENDOR_DEVICE 0x0017
#define URB_FUNCTION_VENDOR_INTERFACE 0x0018
#define URB_FUNCTION_VENDOR_ENDPOINT 0x0019
#define URB_FUNCTION_CLASS_DEVICE 0x001A
#define URB_FUNCTION_CLASS_INTERFACE 0x001B
#define URB_FUNCTION_CLASS_ENDPOINT 0x001C
#define URB_FUNCTION_SYNC_RESET_PIPE_AND_CLEAR_STALL 0x001E
#define URB_FUNCTION_RESET_PIPE URB_FUNCTION_SYNC_RESET_PIPE_AND_CLEAR_STALL
#define URB_FUNCTION_CLASS_OTHER 0x001F
#define URB_FUNCTION_VENDOR_OTHER 0x0020
#define URB_FUNCTION_GET_STATUS_FROM_OTHER 0x0021
#define URB_FUNCTION_CLEAR_FEATURE_TO_OTHER 0x0022
#define URB_FUNCTION_SET_FEATURE_TO_OTHER 0x0023
#define URB_FUNCTION_GET_DESCRIPTOR_FROM_ENDPOINT 0x0024
#define URB_FUNCTION_SET_DESCRIPTOR_TO_ENDPOINT 0x0025
#define URB_FUNCTION_GET_CONFIGURATION 0x0026
#define URB_FUNCTION_GET_INTERFACE 0x0027
#define URB_FUNCTION_GET_DESCRIPTOR_FROM_INTERFACE 0x0028
#define URB_FUNCTION_SET_DESCRIPTOR_TO_INTERFACE 0x0029
#define URB_FUNCTION_GET_MS_FEATURE_DESCRIPTOR 0x002A
#define URB_FUNCTION_SYNC_RESET_PIPE 0x0030
#define URB_FUNCTION_SYNC_CLEAR_STALL 0x0031

// TransferFlags. Direction is taken from the flag for control pipes and from the endpoint otherwise.
#define USBD_TRANSFER_DIRECTION_OUT 0
#define USBD_TRANSFER_DIRECTION_IN 1
#define USBD_SHORT_TRANSFER_OK 2
#define USBD_START_ISO_TRANSFER_ASAP 4
#define USBD_DEFAULT_PIPE_TRANSFER 8
#define USBD_TRANSFER_DIRECTION(Flags) ((Flags) & USBD_TRANSFER_DIRECTION_IN)

// ---------------------------------------------------------------- internal control codes

#define USB_SUBMIT_URB 0
#define USB_RESET_PORT 1
#define USB_GET_PORT_STATUS 4

#define IOCTL_INTERNAL_USB_SUBMIT_URB CTL_CODE(FILE_DEVICE_USB, USB_SUBMIT_URB, METHOD_NEITHER, FILE_ANY_ACCESS)
#define IOCTL_INTERNAL_USB_RESET_PORT CTL_CODE(FILE_DEVICE_USB, USB_RESET_PORT, METHOD_NEITHER, FILE_ANY_ACCESS)
#define IOCTL_INTERNAL_USB_GET_PORT_STATUS \
    CTL_CODE(FILE_DEVICE_USB, USB_GET_PORT_STATUS, METHOD_NEITHER, FILE_ANY_ACCESS)

// Bits of the word IOCTL_INTERNAL_USB_GET_PORT_STATUS fills.
#define USBD_PORT_ENABLED 0x00000001
#define USBD_PORT_CONNECTED 0x00000002

// ---------------------------------------------------------------- USBD records

typedef PVOID USBD_PIPE_HANDLE;
typedef PVOID USBD_CONFIGURATION_HANDLE;
typedef PVOID USBD_INTERFACE_HANDLE;

typedef enum _USBD_PIPE_TYPE {
    UsbdPipeTypeControl,
    UsbdPipeTypeIsochronous,
    UsbdPipeTypeBulk,
    UsbdPipeTypeInterrupt
} USBD_PIPE_TYPE;

typedef struct _USBD_VERSION_INFORMATION {
    ULONG USBDI_Version;
    ULONG Supported_USB_Version;  // BCD, as in bcdUSB
} USBD_VERSION_INFORMATION, *PUSBD_VERSION_INFORMATION;

// The caller may set MaximumTransferSize and PipeFlags before a select; the stack fills the rest.
typedef struct _USBD_PIPE_INFORMATION {
    USHORT MaximumPacketSize;
    UCHAR EndpointAddress;
    UCHAR Interval;
    USBD_PIPE_TYPE PipeType;
    USBD_PIPE_HANDLE PipeHandle;
    ULONG MaximumTransferSize;
    ULONG PipeFlags;
} USBD_PIPE_INFORMATION, *PUSBD_PIPE_INFORMATION;

// Variable length: Length covers NumberOfPipes entries of Pipes, see GET_USBD_INTERFACE_SIZE.
typedef struct _USBD_INTERFACE_INFORMATION {
    USHORT Length;
    UCHAR InterfaceNumber;
    UCHAR AlternateSetting;
    UCHAR Class;
    UCHAR SubClass;
    UCHAR Protocol;
    UCHAR Reserved;
    USBD_INTERFACE_HANDLE InterfaceHandle;
    ULONG NumberOfPipes;
    USBD_PIPE_INFORMATION Pipes[1];
} USBD_INTERFACE_INFORMATION, *PUSBD_INTERFACE_INFORMATION;

// A list of these, ended by an entry with no InterfaceDescriptor, feeds USBD_CreateConfigurationRequestEx.
typedef struct _USBD_INTERFACE_LIST_ENTRY {
    PUSB_INTERFACE_DESCRIPTOR InterfaceDescriptor;
    PUSBD_INTERFACE_INFORMATION Interface;
} USBD_INTERFACE_LIST_ENTRY, *PUSBD_INTERFACE_LIST_ENTRY;

typedef struct _USBD_ISO_PACKET_DESCRIPTOR {
    ULONG Offset;  // in: start of the packet within the transfer buffer
    ULONG Length;  // out: bytes moved
    USBD_STATUS Status;
} USBD_ISO_PACKET_DESCRIPTOR, *PUSBD_ISO_PACKET_DESCRIPTOR;

#define GET_USBD_INTERFACE_SIZE(NumberOfPipes) \
    (sizeof(USBD_INTERFACE_INFORMATION) + ((NumberOfPipes) - 1) * sizeof(USBD_PIPE_INFORMATION))

// ---------------------------------------------------------------- URBs

struct _URB;

struct _URB_HEADER {
    USHORT Length;  // size of the whole URB, checked against its function
    USHORT Function;
    USBD_STATUS Status;
    PVOID UsbdDeviceHandle;
    ULONG UsbdFlags;
};

// Scratch space owned by the host controller while the URB is in flight.
struct _URB_HCD_AREA {
    PVOID Reserved8[8];
};

struct _URB_SELECT_INTERFACE {
    struct _URB_HEADER Hdr;
    USBD_CONFIGURATION_HANDLE ConfigurationHandle;
    USBD_INTERFACE_INFORMATION Interface;
};

// With no ConfigurationDescriptor the device is put back in the unconfigured state.
struct _URB_SELECT_CONFIGURATION {
    struct _URB_HEADER Hdr;
    PUSB_CONFIGURATION_DESCRIPTOR ConfigurationDescriptor;
    USBD_CONFIGURATION_HANDLE ConfigurationHandle;
    USBD_INTERFACE_INFORMATION Interface;
};

struct _URB_PIPE_REQUEST {
    struct _URB_HEADER Hdr;
    USBD_PIPE_HANDLE PipeHandle;
    ULONG Reserved;
};

struct _URB_FRAME_LENGTH_CONTROL {
    struct _URB_HEADER Hdr;
};

struct _URB_GET_CURRENT_FRAME_NUMBER {
    struct _URB_HEADER Hdr;
    ULONG FrameNumber;
};

struct _URB_CONTROL_TRANSFER {
    struct _URB_HEADER Hdr;
    USBD_PIPE_HANDLE PipeHandle;
    ULONG TransferFlags;
    ULONG TransferBufferLength;
    PVOID TransferBuffer;
    PMDL TransferBufferMDL;
    struct _URB* UrbLink;
    struct _URB_HCD_AREA hca;
    UCHAR SetupPacket[8];
};

// TransferBuffer and TransferBufferMDL are alternatives; the MDL wins when both are given.
struct _URB_BULK_OR_INTERRUPT_TRANSFER {
    struct _URB_HEADER Hdr;
    USBD_PIPE_HANDLE PipeHandle;
    ULONG TransferFlags;
    ULONG TransferBufferLength;
    PVOID TransferBuffer;
    PMDL TransferBufferMDL;
    struct _URB* UrbLink;
    struct _URB_HCD_AREA hca;
};

// Variable length: NumberOfPackets descriptors follow in IsoPacket, see GET_ISO_URB_SIZE.
struct _URB_ISOCH_TRANSFER {
    struct _URB_HEADER Hdr;
    USBD_PIPE_HANDLE PipeHandle;
    ULONG TransferFlags;
    ULONG TransferBufferLength;
    PVOID TransferBuffer;
    PMDL TransferBufferMDL;
    struct _URB* UrbLink;
    struct _URB_HCD_AREA hca;
    ULONG StartFrame;
    ULONG NumberOfPackets;
    ULONG ErrorCount;
    USBD_ISO_PACKET_DESCRIPTOR IsoPacket[1];
};

struct _URB_CONTROL_DESCRIPTOR_REQUEST {
    struct _URB_HEADER Hdr;
    PVOID Reserved;
    ULONG Reserved0;
    ULONG TransferBufferLength;
    PVOID TransferBuffer;
    PMDL TransferBufferMDL;
    struct _URB* UrbLink;
    struct _URB_HCD_AREA hca;
    USHORT Reserved1;
    UCHAR Index;
    UCHAR DescriptorType;
    USHORT LanguageId;
    USHORT Reserved2;
};

struct _URB_CONTROL_GET_STATUS_REQUEST {
    struct _URB_HEADER Hdr;
    PVOID Reserved;
    ULONG Reserved0;
    ULONG TransferBufferLength;
    PVOID TransferBuffer;
    PMDL TransferBufferMDL;
    struct _URB* UrbLink;
    struct _URB_HCD_AREA hca;
    UCHAR Reserved1[4];
    USHORT Index;
    USHORT Reserved2;
};

// A feature request moves no data, so the transfer words are all reserved.
struct _URB_CONTROL_FEATURE_REQUEST {
    struct _URB_HEADER Hdr;
    PVOID Reserved;
    ULONG Reserved2;
    ULONG Reserved3;
    PVOID Reserved4;
    PMDL Reserved5;
    struct _URB* UrbLink;
    struct _URB_HCD_AREA hca;
    USHORT Reserved0;
    USHORT FeatureSelector;
    USHORT Index;
    USHORT Reserved1;
};

// The recipient and request type come from the function code; RequestTypeReservedBits adds to them.
struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST {
    struct _URB_HEADER Hdr;
    PVOID Reserved;
    ULONG TransferFlags;
    ULONG TransferBufferLength;
    PVOID TransferBuffer;
    PMDL TransferBufferMDL;
    struct _URB* UrbLink;
    struct _URB_HCD_AREA hca;
    UCHAR RequestTypeReservedBits;
    UCHAR Request;
    USHORT Value;
    USHORT Index;
    USHORT Reserved1;
};

typedef struct _URB {
    union {
        struct _URB_HEADER UrbHeader;
        struct _URB_SELECT_INTERFACE UrbSelectInterface;
        struct _URB_SELECT_CONFIGURATION UrbSelectConfiguration;
        struct _URB_PIPE_REQUEST UrbPipeRequest;
        struct _URB_FRAME_LENGTH_CONTROL UrbFrameLengthControl;
        struct _URB_GET_CURRENT_FRAME_NUMBER UrbGetCurrentFrameNumber;
        struct _URB_CONTROL_TRANSFER UrbControlTransfer;
        struct _URB_BULK_OR_INTERRUPT_TRANSFER UrbBulkOrInterruptTransfer;
        struct _URB_ISOCH_TRANSFER UrbIsochronousTransfer;
        struct _URB_CONTROL_DESCRIPTOR_REQUEST UrbControlDescriptorRequest;
        struct _URB_CONTROL_GET_STATUS_REQUEST UrbControlGetStatusRequest;
        struct _URB_CONTROL_FEATURE_REQUEST UrbControlFeatureRequest;
        struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST UrbControlVendorClassRequest;
    };
} URB, *PURB;

#define GET_SELECT_INTERFACE_REQUEST_SIZE(NumberOfPipes) \
    (sizeof(struct _URB_SELECT_INTERFACE) + ((NumberOfPipes) - 1) * sizeof(USBD_PIPE_INFORMATION))
// One descriptor more than the packets, as the platform sizes it.
#define GET_ISO_URB_SIZE(NumberOfPackets) \
    (sizeof(struct _URB_ISOCH_TRANSFER) + (NumberOfPackets) * sizeof(USBD_ISO_PACKET_DESCRIPTOR))

// ---------------------------------------------------------------- URB builders
// They fill the request's own fields and leave the rest of the URB as the caller set it.

inline void UsbBuildInterruptOrBulkTransferRequest(PURB Urb, USHORT Length, USBD_PIPE_HANDLE PipeHandle,
                                                   PVOID TransferBuffer, PMDL TransferBufferMDL,
                                                   ULONG TransferBufferLength, ULONG TransferFlags,
                                                   PURB Link) {
    Urb->UrbHeader.Function = URB_FUNCTION_BULK_OR_INTERRUPT_TRANSFER;
    Urb->UrbHeader.Length = Length;
    Urb->UrbBulkOrInterruptTransfer.PipeHandle = PipeHandle;
    Urb->UrbBulkOrInterruptTransfer.TransferFlags = TransferFlags;
    Urb->UrbBulkOrInterruptTransfer.TransferBufferLength = TransferBufferLength;
    Urb->UrbBulkOrInterruptTransfer.TransferBuffer = TransferBuffer;
    Urb->UrbBulkOrInterruptTransfer.TransferBufferMDL = TransferBufferMDL;
    Urb->UrbBulkOrInterruptTransfer.UrbLink = Link;
}

inline void UsbBuildGetDescriptorRequest(PURB Urb, USHORT Length, UCHAR DescriptorType, UCHAR Index,
                                         USHORT LanguageId, PVOID TransferBuffer, PMDL TransferBufferMDL,
                                         ULONG TransferBufferLength, PURB Link) {
    Urb->UrbHeader.Function = URB_FUNCTION_GET_DESCRIPTOR_FROM_DEVICE;
    Urb->UrbHeader.Length = Length;
    Urb->UrbControlDescriptorRequest.TransferBufferLength = TransferBufferLength;
    Urb->UrbControlDescriptorRequest.TransferBuffer = TransferBuffer;
    Urb->UrbControlDescriptorRequest.TransferBufferMDL = TransferBufferMDL;
    Urb->UrbControlDescriptorRequest.DescriptorType = DescriptorType;
    Urb->UrbControlDescriptorRequest.Index = Index;
    Urb->UrbControlDescriptorRequest.LanguageId = LanguageId;
    Urb->UrbControlDescriptorRequest.UrbLink = Link;
}

// Function picks vendor or class and the recipient (URB_FUNCTION_VENDOR_DEVICE, ..._CLASS_OTHER).
inline void UsbBuildVendorRequest(PURB Urb, USHORT Function, USHORT Length, ULONG TransferFlags,
                                  UCHAR ReservedBits, UCHAR Request, USHORT Value, USHORT Index,
                                  PVOID TransferBuffer, PMDL TransferBufferMDL, ULONG TransferBufferLength,
                                  PURB Link) {
    Urb->UrbHeader.Function = Function;
    Urb->UrbHeader.Length = Length;
    Urb->UrbControlVendorClassRequest.TransferFlags = TransferFlags;
    Urb->UrbControlVendorClassRequest.TransferBufferLength = TransferBufferLength;
    Urb->UrbControlVendorClassRequest.TransferBuffer = TransferBuffer;
    Urb->UrbControlVendorClassRequest.TransferBufferMDL = TransferBufferMDL;
    Urb->UrbControlVendorClassRequest.RequestTypeReservedBits = ReservedBits;
    Urb->UrbControlVendorClassRequest.Request = Request;
    Urb->UrbControlVendorClassRequest.Value = Value;
    Urb->UrbControlVendorClassRequest.Index = Index;
    Urb->UrbControlVendorClassRequest.UrbLink = Link;
}

// Function is one of the SET_FEATURE_TO_* or CLEAR_FEATURE_TO_* codes.
inline void UsbBuildFeatureRequest(PURB Urb, USHORT Function, USHORT FeatureSelector, USHORT Index,
                                   PURB Link) {
    Urb->UrbHeader.Function = Function;
    Urb->UrbHeader.Length = sizeof(struct _URB_CONTROL_FEATURE_REQUEST);
    Urb->UrbControlFeatureRequest.FeatureSelector = FeatureSelector;
    Urb->UrbControlFeatureRequest.Index = Index;
    Urb->UrbControlFeatureRequest.UrbLink = Link;
}

// Length is the whole URB (GET_SELECT_INTERFACE_REQUEST_SIZE); the interface gets what follows the handle.
inline void UsbBuildSelectInterfaceRequest(PURB Urb, USHORT Length, USBD_CONFIGURATION_HANDLE ConfigurationHandle,
                                           UCHAR InterfaceNumber, UCHAR AlternateSetting) {
    Urb->UrbHeader.Function = URB_FUNCTION_SELECT_INTERFACE;
    Urb->UrbHeader.Length = Length;
    Urb->UrbSelectInterface.ConfigurationHandle = ConfigurationHandle;
    Urb->UrbSelectInterface.Interface.Length =
        static_cast<USHORT>(Length - offsetof(struct _URB_SELECT_INTERFACE, Interface));
    Urb->UrbSelectInterface.Interface.InterfaceNumber = InterfaceNumber;
    Urb->UrbSelectInterface.Interface.AlternateSetting = AlternateSetting;
}

inline void UsbBuildSelectConfigurationRequest(PURB Urb, USHORT Length,
                                               PUSB_CONFIGURATION_DESCRIPTOR ConfigurationDescriptor) {
    Urb->UrbHeader.Function = URB_FUNCTION_SELECT_CONFIGURATION;
    Urb->UrbHeader.Length = Length;
    Urb->UrbSelectConfiguration.ConfigurationDescriptor = ConfigurationDescriptor;
}

// ---------------------------------------------------------------- USBD library routines

extern "C" {

VOID USBD_GetUSBDIVersion(PUSBD_VERSION_INFORMATION VersionInformation);

// Searches from StartPosition for the first interface descriptor matching every argument that is
// not -1; returns none when no descriptor inside wTotalLength matches.
PUSB_INTERFACE_DESCRIPTOR USBD_ParseConfigurationDescriptorEx(PUSB_CONFIGURATION_DESCRIPTOR ConfigurationDescriptor,
                                                              PVOID StartPosition, LONG InterfaceNumber,
                                                              LONG AlternateSetting, LONG InterfaceClass,
                                                              LONG InterfaceSubClass, LONG InterfaceProtocol);

// Builds a select-configuration URB from pool for the listed interfaces and points each entry's
// Interface at its part of the URB; the caller frees it with ExFreePool.
PURB USBD_CreateConfigurationRequestEx(PUSB_CONFIGURATION_DESCRIPTOR ConfigurationDescriptor,
                                       PUSBD_INTERFACE_LIST_ENTRY InterfaceList);

}  // extern "C"

// ---------------------------------------------------------------- layout checks

#define USBDI_CHECK_SIZE(type, ns) static_assert(sizeof(type) == x64::ns::size, #type " size")
#define USBDI_CHECK_AT(type, member, ns, field) \
    static_assert(offsetof(type, member) == x64::ns::field, #type "." #member " offset")
#define USBDI_CHECK_VALUE(name, ns, field) \
    static_assert(static_cast<std::uint32_t>(name) == x64::ns::field, #name)

USBDI_CHECK_SIZE(USB_COMMON_DESCRIPTOR, usb_common_descriptor);
USBDI_CHECK_AT(USB_COMMON_DESCRIPTOR, bDescriptorType, usb_common_descriptor, b_descriptor_type);

USBDI_CHECK_SIZE(USB_DEVICE_DESCRIPTOR, usb_device_descriptor);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, bDescriptorType, usb_device_descriptor, b_descriptor_type);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, bcdUSB, usb_device_descriptor, bcd_usb);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, bDeviceClass, usb_device_descriptor, b_device_class);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, bDeviceSubClass, usb_device_descriptor, b_device_sub_class);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, bDeviceProtocol, usb_device_descriptor, b_device_protocol);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, bMaxPacketSize0, usb_device_descriptor, b_max_packet_size0);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, idVendor, usb_device_descriptor, id_vendor);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, idProduct, usb_device_descriptor, id_product);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, bcdDevice, usb_device_descriptor, bcd_device);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, iManufacturer, usb_device_descriptor, i_manufacturer);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, iProduct, usb_device_descriptor, i_product);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, iSerialNumber, usb_device_descriptor, i_serial_number);
USBDI_CHECK_AT(USB_DEVICE_DESCRIPTOR, bNumConfigurations, usb_device_descriptor, b_num_configurations);

USBDI_CHECK_SIZE(USB_CONFIGURATION_DESCRIPTOR, usb_configuration_descriptor);
USBDI_CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, wTotalLength, usb_configuration_descriptor, w_total_length);
USBDI_CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, bNumInterfaces, usb_configuration_descriptor, b_num_interfaces);
USBDI_CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, bConfigurationValue, usb_configuration_descriptor,
               b_configuration_value);
USBDI_CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, iConfiguration, usb_configuration_descriptor, i_configuration);
USBDI_CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, bmAttributes, usb_configuration_descriptor, bm_attributes);
USBDI_CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, MaxPower, usb_configuration_descriptor, max_power);

USBDI_CHECK_SIZE(USB_INTERFACE_DESCRIPTOR, usb_interface_descriptor);
USBDI_CHECK_AT(USB_INTERFACE_DESCRIPTOR, bInterfaceNumber, usb_interface_descriptor, b_interface_number);
USBDI_CHECK_AT(USB_INTERFACE_DESCRIPTOR, bAlternateSetting, usb_interface_descriptor, b_alternate_setting);
USBDI_CHECK_AT(USB_INTERFACE_DESCRIPTOR, bNumEndpoints, usb_interface_descriptor, b_num_endpoints);
USBDI_CHECK_AT(USB_INTERFACE_DESCRIPTOR, bInterfaceClass, usb_interface_descriptor, b_interface_class);
USBDI_CHECK_AT(USB_INTERFACE_DESCRIPTOR, bInterfaceSubClass, usb_interface_descriptor, b_interface_sub_class);
USBDI_CHECK_AT(USB_INTERFACE_DESCRIPTOR, bInterfaceProtocol, usb_interface_descriptor, b_interface_protocol);
USBDI_CHECK_AT(USB_INTERFACE_DESCRIPTOR, iInterface, usb_interface_descriptor, i_interface);

USBDI_CHECK_SIZE(USB_ENDPOINT_DESCRIPTOR, usb_endpoint_descriptor);
USBDI_CHECK_AT(USB_ENDPOINT_DESCRIPTOR, bEndpointAddress, usb_endpoint_descriptor, b_endpoint_address);
USBDI_CHECK_AT(USB_ENDPOINT_DESCRIPTOR, bmAttributes, usb_endpoint_descriptor, bm_attributes);
USBDI_CHECK_AT(USB_ENDPOINT_DESCRIPTOR, wMaxPacketSize, usb_endpoint_descriptor, w_max_packet_size);
USBDI_CHECK_AT(USB_ENDPOINT_DESCRIPTOR, bInterval, usb_endpoint_descriptor, b_interval);

USBDI_CHECK_SIZE(USB_STRING_DESCRIPTOR, usb_string_descriptor);
USBDI_CHECK_AT(USB_STRING_DESCRIPTOR, bString, usb_string_descriptor, b_string);

USBDI_CHECK_SIZE(USBD_VERSION_INFORMATION, usbd_version_information);
USBDI_CHECK_AT(USBD_VERSION_INFORMATION, Supported_USB_Version, usbd_version_information, supported_usb_version);

USBDI_CHECK_SIZE(USBD_PIPE_INFORMATION, usbd_pipe_information);
USBDI_CHECK_AT(USBD_PIPE_INFORMATION, EndpointAddress, usbd_pipe_information, endpoint_address);
USBDI_CHECK_AT(USBD_PIPE_INFORMATION, Interval, usbd_pipe_information, interval);
USBDI_CHECK_AT(USBD_PIPE_INFORMATION, PipeType, usbd_pipe_information, pipe_type);
USBDI_CHECK_AT(USBD_PIPE_INFORMATION, PipeHandle, usbd_pipe_information, pipe_handle);
USBDI_CHECK_AT(USBD_PIPE_INFORMATION, MaximumTransferSize, usbd_pipe_information, maximum_transfer_size);
USBDI_CHECK_AT(USBD_PIPE_INFORMATION, PipeFlags, usbd_pipe_information, pipe_flags);

USBDI_CHECK_SIZE(USBD_INTERFACE_INFORMATION, usbd_interface_information);
USBDI_CHECK_AT(USBD_INTERFACE_INFORMATION, InterfaceNumber, usbd_interface_information, interface_number);
USBDI_CHECK_AT(USBD_INTERFACE_INFORMATION, AlternateSetting, usbd_interface_information, alternate_setting);
USBDI_CHECK_AT(USBD_INTERFACE_INFORMATION, Class, usbd_interface_information, class_);
USBDI_CHECK_AT(USBD_INTERFACE_INFORMATION, SubClass, usbd_interface_information, sub_class);
USBDI_CHECK_AT(USBD_INTERFACE_INFORMATION, Protocol, usbd_interface_information, protocol);
USBDI_CHECK_AT(USBD_INTERFACE_INFORMATION, Reserved, usbd_interface_information, reserved);
USBDI_CHECK_AT(USBD_INTERFACE_INFORMATION, InterfaceHandle, usbd_interface_information, interface_handle);
USBDI_CHECK_AT(USBD_INTERFACE_INFORMATION, NumberOfPipes, usbd_interface_information, number_of_pipes);
USBDI_CHECK_AT(USBD_INTERFACE_INFORMATION, Pipes, usbd_interface_information, pipes);
static_assert(GET_USBD_INTERFACE_SIZE(3) ==
              x64::usbd_interface_information::base + 3 * x64::usbd_interface_information::per_pipe);

USBDI_CHECK_SIZE(USBD_INTERFACE_LIST_ENTRY, usbd_interface_list_entry);
USBDI_CHECK_AT(USBD_INTERFACE_LIST_ENTRY, Interface, usbd_interface_list_entry, interface_);

USBDI_CHECK_SIZE(USBD_ISO_PACKET_DESCRIPTOR, usbd_iso_packet_descriptor);
USBDI_CHECK_AT(USBD_ISO_PACKET_DESCRIPTOR, Length, usbd_iso_packet_descriptor, length);
USBDI_CHECK_AT(USBD_ISO_PACKET_DESCRIPTOR, Status, usbd_iso_packet_descriptor, status);

USBDI_CHECK_SIZE(struct _URB_HEADER, urb_header);
USBDI_CHECK_AT(struct _URB_HEADER, Function, urb_header, function);
USBDI_CHECK_AT(struct _URB_HEADER, Status, urb_header, status);
USBDI_CHECK_AT(struct _URB_HEADER, UsbdDeviceHandle, urb_header, usbd_device_handle);
USBDI_CHECK_AT(struct _URB_HEADER, UsbdFlags, urb_header, usbd_flags);
USBDI_CHECK_SIZE(struct _URB_HCD_AREA, urb_hcd_area);

USBDI_CHECK_SIZE(struct _URB_SELECT_INTERFACE, urb_select_interface);
USBDI_CHECK_AT(struct _URB_SELECT_INTERFACE, ConfigurationHandle, urb_select_interface, configuration_handle);
USBDI_CHECK_AT(struct _URB_SELECT_INTERFACE, Interface, urb_select_interface, interface_);
static_assert(GET_SELECT_INTERFACE_REQUEST_SIZE(2) ==
              x64::urb_select_interface::base + 2 * x64::urb_select_interface::per_pipe);

USBDI_CHECK_SIZE(struct _URB_SELECT_CONFIGURATION, urb_select_configuration);
USBDI_CHECK_AT(struct _URB_SELECT_CONFIGURATION, ConfigurationDescriptor, urb_select_configuration,
               configuration_descriptor);
USBDI_CHECK_AT(struct _URB_SELECT_CONFIGURATION, ConfigurationHandle, urb_select_configuration,
               configuration_handle);
USBDI_CHECK_AT(struct _URB_SELECT_CONFIGURATION, Interface, urb_select_configuration, interface_);

USBDI_CHECK_SIZE(struct _URB_PIPE_REQUEST, urb_pipe_request);
USBDI_CHECK_AT(struct _URB_PIPE_REQUEST, PipeHandle, urb_pipe_request, pipe_handle);
USBDI_CHECK_AT(struct _URB_PIPE_REQUEST, Reserved, urb_pipe_request, reserved);
USBDI_CHECK_SIZE(struct _URB_FRAME_LENGTH_CONTROL, urb_frame_length_control);
USBDI_CHECK_SIZE(struct _URB_GET_CURRENT_FRAME_NUMBER, urb_get_current_frame_number);
USBDI_CHECK_AT(struct _URB_GET_CURRENT_FRAME_NUMBER, FrameNumber, urb_get_current_frame_number, frame_number);

#define USBDI_CHECK_TRANSFER(type)                                                 \
    USBDI_CHECK_AT(type, TransferBufferLength, urb_transfer, transfer_buffer_length); \
    USBDI_CHECK_AT(type, TransferBuffer, urb_transfer, transfer_buffer);           \
    USBDI_CHECK_AT(type, TransferBufferMDL, urb_transfer, transfer_buffer_mdl);    \
    USBDI_CHECK_AT(type, UrbLink, urb_transfer, urb_link);                         \
    USBDI_CHECK_AT(type, hca, urb_transfer, hca)

USBDI_CHECK_SIZE(struct _URB_CONTROL_TRANSFER, urb_control_transfer);
USBDI_CHECK_TRANSFER(struct _URB_CONTROL_TRANSFER);
USBDI_CHECK_AT(struct _URB_CONTROL_TRANSFER, PipeHandle, urb_transfer, pipe_handle);
USBDI_CHECK_AT(struct _URB_CONTROL_TRANSFER, TransferFlags, urb_transfer, transfer_flags);
USBDI_CHECK_AT(struct _URB_CONTROL_TRANSFER, SetupPacket, urb_control_transfer, setup_packet);

USBDI_CHECK_SIZE(struct _URB_BULK_OR_INTERRUPT_TRANSFER, urb_bulk_or_interrupt_transfer);
USBDI_CHECK_TRANSFER(struct _URB_BULK_OR_INTERRUPT_TRANSFER);
USBDI_CHECK_AT(struct _URB_BULK_OR_INTERRUPT_TRANSFER, PipeHandle, urb_transfer, pipe_handle);
USBDI_CHECK_AT(struct _URB_BULK_OR_INTERRUPT_TRANSFER, TransferFlags, urb_transfer, transfer_flags);

USBDI_CHECK_SIZE(struct _URB_ISOCH_TRANSFER, urb_isoch_transfer);
USBDI_CHECK_TRANSFER(struct _URB_ISOCH_TRANSFER);
USBDI_CHECK_AT(struct _URB_ISOCH_TRANSFER, PipeHandle, urb_transfer, pipe_handle);
USBDI_CHECK_AT(struct _URB_ISOCH_TRANSFER, TransferFlags, urb_transfer, transfer_flags);
USBDI_CHECK_AT(struct _URB_ISOCH_TRANSFER, StartFrame, urb_isoch_transfer, start_frame);
USBDI_CHECK_AT(struct _URB_ISOCH_TRANSFER, NumberOfPackets, urb_isoch_transfer, number_of_packets);
USBDI_CHECK_AT(struct _URB_ISOCH_TRANSFER, ErrorCount, urb_isoch_transfer, error_count);
USBDI_CHECK_AT(struct _URB_ISOCH_TRANSFER, IsoPacket, urb_isoch_transfer, iso_packet);
static_assert(GET_ISO_URB_SIZE(8) == x64::urb_isoch_transfer::base + 8 * x64::urb_isoch_transfer::per_packet);

USBDI_CHECK_SIZE(struct _URB_CONTROL_DESCRIPTOR_REQUEST, urb_control_descriptor_request);
USBDI_CHECK_TRANSFER(struct _URB_CONTROL_DESCRIPTOR_REQUEST);
USBDI_CHECK_AT(struct _URB_CONTROL_DESCRIPTOR_REQUEST, Index, urb_control_descriptor_request, index);
USBDI_CHECK_AT(struct _URB_CONTROL_DESCRIPTOR_REQUEST, DescriptorType, urb_control_descriptor_request,
               descriptor_type);
USBDI_CHECK_AT(struct _URB_CONTROL_DESCRIPTOR_REQUEST, LanguageId, urb_control_descriptor_request, language_id);

USBDI_CHECK_SIZE(struct _URB_CONTROL_GET_STATUS_REQUEST, urb_control_get_status_request);
USBDI_CHECK_TRANSFER(struct _URB_CONTROL_GET_STATUS_REQUEST);
USBDI_CHECK_AT(struct _URB_CONTROL_GET_STATUS_REQUEST, Index, urb_control_get_status_request, index);

USBDI_CHECK_SIZE(struct _URB_CONTROL_FEATURE_REQUEST, urb_control_feature_request);
USBDI_CHECK_AT(struct _URB_CONTROL_FEATURE_REQUEST, UrbLink, urb_transfer, urb_link);
USBDI_CHECK_AT(struct _URB_CONTROL_FEATURE_REQUEST, FeatureSelector, urb_control_feature_request,
               feature_selector);
USBDI_CHECK_AT(struct _URB_CONTROL_FEATURE_REQUEST, Index, urb_control_feature_request, index);

USBDI_CHECK_SIZE(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, urb_control_vendor_or_class_request);
USBDI_CHECK_TRANSFER(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST);
USBDI_CHECK_AT(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, TransferFlags, urb_transfer, transfer_flags);
USBDI_CHECK_AT(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, RequestTypeReservedBits,
               urb_control_vendor_or_class_request, request_type_reserved_bits);
USBDI_CHECK_AT(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, Request, urb_control_vendor_or_class_request, request);
USBDI_CHECK_AT(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, Value, urb_control_vendor_or_class_request, value);
USBDI_CHECK_AT(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, Index, urb_control_vendor_or_class_request, index);

USBDI_CHECK_SIZE(URB, urb);

USBDI_CHECK_VALUE(URB_FUNCTION_SELECT_CONFIGURATION, urb_function, select_configuration);
USBDI_CHECK_VALUE(URB_FUNCTION_SELECT_INTERFACE, urb_function, select_interface);
USBDI_CHECK_VALUE(URB_FUNCTION_ABORT_PIPE, urb_function, abort_pipe);
USBDI_CHECK_VALUE(URB_FUNCTION_TAKE_FRAME_LENGTH_CONTROL, urb_function, take_frame_length_control);
USBDI_CHECK_VALUE(URB_FUNCTION_RELEASE_FRAME_LENGTH_CONTROL, urb_function, release_frame_length_control);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_FRAME_LENGTH, urb_function, get_frame_length);
USBDI_CHECK_VALUE(URB_FUNCTION_SET_FRAME_LENGTH, urb_function, set_frame_length);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_CURRENT_FRAME_NUMBER, urb_function, get_current_frame_number);
USBDI_CHECK_VALUE(URB_FUNCTION_CONTROL_TRANSFER, urb_function, control_transfer);
USBDI_CHECK_VALUE(URB_FUNCTION_BULK_OR_INTERRUPT_TRANSFER, urb_function, bulk_or_interrupt_transfer);
USBDI_CHECK_VALUE(URB_FUNCTION_ISOCH_TRANSFER, urb_function, isoch_transfer);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_DESCRIPTOR_FROM_DEVICE, urb_function, get_descriptor_from_device);
USBDI_CHECK_VALUE(URB_FUNCTION_SET_DESCRIPTOR_TO_DEVICE, urb_function, set_descriptor_to_device);
USBDI_CHECK_VALUE(URB_FUNCTION_SET_FEATURE_TO_DEVICE, urb_function, set_feature_to_device);
USBDI_CHECK_VALUE(URB_FUNCTION_SET_FEATURE_TO_INTERFACE, urb_function, set_feature_to_interface);
USBDI_CHECK_VALUE(URB_FUNCTION_SET_FEATURE_TO_ENDPOINT, urb_function, set_feature_to_endpoint);
USBDI_CHECK_VALUE(URB_FUNCTION_CLEAR_FEATURE_TO_DEVICE, urb_function, clear_feature_to_device);
USBDI_CHECK_VALUE(URB_FUNCTION_CLEAR_FEATURE_TO_INTERFACE, urb_function, clear_feature_to_interface);
USBDI_CHECK_VALUE(URB_FUNCTION_CLEAR_FEATURE_TO_ENDPOINT, urb_function, clear_feature_to_endpoint);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_STATUS_FROM_DEVICE, urb_function, get_status_from_device);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_STATUS_FROM_INTERFACE, urb_function, get_status_from_interface);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_STATUS_FROM_ENDPOINT, urb_function, get_status_from_endpoint);
USBDI_CHECK_VALUE(URB_FUNCTION_VENDOR_DEVICE, urb_function, vendor_device);
USBDI_CHECK_VALUE(URB_FUNCTION_VENDOR_INTERFACE, urb_function, vendor_interface);
USBDI_CHECK_VALUE(URB_FUNCTION_VENDOR_ENDPOINT, urb_function, vendor_endpoint);
USBDI_CHECK_VALUE(URB_FUNCTION_CLASS_DEVICE, urb_function, class_device);
USBDI_CHECK_VALUE(URB_FUNCTION_CLASS_INTERFACE, urb_function, class_interface);
USBDI_CHECK_VALUE(URB_FUNCTION_CLASS_ENDPOINT, urb_function, class_endpoint);
USBDI_CHECK_VALUE(URB_FUNCTION_SYNC_RESET_PIPE_AND_CLEAR_STALL, urb_function, sync_reset_pipe_and_clear_stall);
USBDI_CHECK_VALUE(URB_FUNCTION_CLASS_OTHER, urb_function, class_other);
USBDI_CHECK_VALUE(URB_FUNCTION_VENDOR_OTHER, urb_function, vendor_other);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_STATUS_FROM_OTHER, urb_function, get_status_from_other);
USBDI_CHECK_VALUE(URB_FUNCTION_CLEAR_FEATURE_TO_OTHER, urb_function, clear_feature_to_other);
USBDI_CHECK_VALUE(URB_FUNCTION_SET_FEATURE_TO_OTHER, urb_function, set_feature_to_other);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_DESCRIPTOR_FROM_ENDPOINT, urb_function, get_descriptor_from_endpoint);
USBDI_CHECK_VALUE(URB_FUNCTION_SET_DESCRIPTOR_TO_ENDPOINT, urb_function, set_descriptor_to_endpoint);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_CONFIGURATION, urb_function, get_configuration);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_INTERFACE, urb_function, get_interface);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_DESCRIPTOR_FROM_INTERFACE, urb_function, get_descriptor_from_interface);
USBDI_CHECK_VALUE(URB_FUNCTION_SET_DESCRIPTOR_TO_INTERFACE, urb_function, set_descriptor_to_interface);
USBDI_CHECK_VALUE(URB_FUNCTION_GET_MS_FEATURE_DESCRIPTOR, urb_function, get_ms_feature_descriptor);
USBDI_CHECK_VALUE(URB_FUNCTION_SYNC_RESET_PIPE, urb_function, sync_reset_pipe);
USBDI_CHECK_VALUE(URB_FUNCTION_SYNC_CLEAR_STALL, urb_function, sync_clear_stall);

USBDI_CHECK_VALUE(USBD_TRANSFER_DIRECTION_OUT, usbd_transfer, direction_out);
USBDI_CHECK_VALUE(USBD_TRANSFER_DIRECTION_IN, usbd_transfer, direction_in);
USBDI_CHECK_VALUE(USBD_SHORT_TRANSFER_OK, usbd_transfer, short_transfer_ok);
USBDI_CHECK_VALUE(USBD_START_ISO_TRANSFER_ASAP, usbd_transfer, start_iso_transfer_asap);
USBDI_CHECK_VALUE(USBD_DEFAULT_PIPE_TRANSFER, usbd_transfer, default_pipe_transfer);

USBDI_CHECK_VALUE(USBD_STATUS_SUCCESS, usbd_status, success);
USBDI_CHECK_VALUE(USBD_STATUS_PENDING, usbd_status, pending);
USBDI_CHECK_VALUE(USBD_STATUS_CRC, usbd_status, crc);
USBDI_CHECK_VALUE(USBD_STATUS_BTSTUFF, usbd_status, btstuff);
USBDI_CHECK_VALUE(USBD_STATUS_DATA_TOGGLE_MISMATCH, usbd_status, data_toggle_mismatch);
USBDI_CHECK_VALUE(USBD_STATUS_STALL_PID, usbd_status, stall_pid);
USBDI_CHECK_VALUE(USBD_STATUS_DEV_NOT_RESPONDING, usbd_status, dev_not_responding);
USBDI_CHECK_VALUE(USBD_STATUS_PID_CHECK_FAILURE, usbd_status, pid_check_failure);
USBDI_CHECK_VALUE(USBD_STATUS_UNEXPECTED_PID, usbd_status, unexpected_pid);
USBDI_CHECK_VALUE(USBD_STATUS_DATA_OVERRUN, usbd_status, data_overrun);
USBDI_CHECK_VALUE(USBD_STATUS_DATA_UNDERRUN, usbd_status, data_underrun);
USBDI_CHECK_VALUE(USBD_STATUS_BUFFER_OVERRUN, usbd_status, buffer_overrun);
USBDI_CHECK_VALUE(USBD_STATUS_BUFFER_UNDERRUN, usbd_status, buffer_underrun);
USBDI_CHECK_VALUE(USBD_STATUS_NOT_ACCESSED, usbd_status, not_accessed);
USBDI_CHECK_VALUE(USBD_STATUS_FIFO, usbd_status, fifo);
USBDI_CHECK_VALUE(USBD_STATUS_ENDPOINT_HALTED, usbd_status, endpoint_halted);
USBDI_CHECK_VALUE(USBD_STATUS_INVALID_URB_FUNCTION, usbd_status, invalid_urb_function);
USBDI_CHECK_VALUE(USBD_STATUS_INVALID_PARAMETER, usbd_status, invalid_parameter);
USBDI_CHECK_VALUE(USBD_STATUS_ERROR_BUSY, usbd_status, error_busy);
USBDI_CHECK_VALUE(USBD_STATUS_INVALID_PIPE_HANDLE, usbd_status, invalid_pipe_handle);
USBDI_CHECK_VALUE(USBD_STATUS_NO_BANDWIDTH, usbd_status, no_bandwidth);
USBDI_CHECK_VALUE(USBD_STATUS_INTERNAL_HC_ERROR, usbd_status, internal_hc_error);
USBDI_CHECK_VALUE(USBD_STATUS_ERROR_SHORT_TRANSFER, usbd_status, error_short_transfer);
USBDI_CHECK_VALUE(USBD_STATUS_BAD_START_FRAME, usbd_status, bad_start_frame);
USBDI_CHECK_VALUE(USBD_STATUS_ISOCH_REQUEST_FAILED, usbd_status, isoch_request_failed);
USBDI_CHECK_VALUE(USBD_STATUS_FRAME_CONTROL_OWNED, usbd_status, frame_control_owned);
USBDI_CHECK_VALUE(USBD_STATUS_FRAME_CONTROL_NOT_OWNED, usbd_status, frame_control_not_owned);
USBDI_CHECK_VALUE(USBD_STATUS_NOT_SUPPORTED, usbd_status, not_supported);
USBDI_CHECK_VALUE(USBD_STATUS_INAVLID_CONFIGURATION_DESCRIPTOR, usbd_status, invalid_configuration_descriptor);
USBDI_CHECK_VALUE(USBD_STATUS_INSUFFICIENT_RESOURCES, usbd_status, insufficient_resources);
USBDI_CHECK_VALUE(USBD_STATUS_SET_CONFIG_FAILED, usbd_status, set_config_failed);
USBDI_CHECK_VALUE(USBD_STATUS_BUFFER_TOO_SMALL, usbd_status, buffer_too_small);
USBDI_CHECK_VALUE(USBD_STATUS_INTERFACE_NOT_FOUND, usbd_status, interface_not_found);
USBDI_CHECK_VALUE(USBD_STATUS_INAVLID_PIPE_FLAGS, usbd_status, invalid_pipe_flags);
USBDI_CHECK_VALUE(USBD_STATUS_TIMEOUT, usbd_status, timeout);
USBDI_CHECK_VALUE(USBD_STATUS_DEVICE_GONE, usbd_status, device_gone);
USBDI_CHECK_VALUE(USBD_STATUS_STATUS_NOT_MAPPED, usbd_status, status_not_mapped);
USBDI_CHECK_VALUE(USBD_STATUS_CANCELED, usbd_status, canceled);
USBDI_CHECK_VALUE(USBD_STATUS_ISO_NOT_ACCESSED_BY_HW, usbd_status, iso_not_accessed_by_hw);
USBDI_CHECK_VALUE(USBD_STATUS_ISO_TD_ERROR, usbd_status, iso_td_error);
USBDI_CHECK_VALUE(USBD_STATUS_ISO_NA_LATE_USBPORT, usbd_status, iso_na_late_usbport);
USBDI_CHECK_VALUE(USBD_STATUS_ISO_NOT_ACCESSED_LATE, usbd_status, iso_not_accessed_late);

USBDI_CHECK_VALUE(UsbdPipeTypeControl, usbd_pipe_type, control);
USBDI_CHECK_VALUE(UsbdPipeTypeIsochronous, usbd_pipe_type, isochronous);
USBDI_CHECK_VALUE(UsbdPipeTypeBulk, usbd_pipe_type, bulk);
USBDI_CHECK_VALUE(UsbdPipeTypeInterrupt, usbd_pipe_type, interrupt);

USBDI_CHECK_VALUE(USB_DEVICE_DESCRIPTOR_TYPE, usb_descriptor_type, device);
USBDI_CHECK_VALUE(USB_CONFIGURATION_DESCRIPTOR_TYPE, usb_descriptor_type, configuration);
USBDI_CHECK_VALUE(USB_STRING_DESCRIPTOR_TYPE, usb_descriptor_type, string);
USBDI_CHECK_VALUE(USB_INTERFACE_DESCRIPTOR_TYPE, usb_descriptor_type, interface_);
USBDI_CHECK_VALUE(USB_ENDPOINT_DESCRIPTOR_TYPE, usb_descriptor_type, endpoint);
USBDI_CHECK_VALUE(USB_ENDPOINT_DIRECTION_MASK, usb_endpoint, direction_mask);
USBDI_CHECK_VALUE(USB_ENDPOINT_TYPE_MASK, usb_endpoint, type_mask);
USBDI_CHECK_VALUE(USB_ENDPOINT_TYPE_CONTROL, usb_endpoint, type_control);
USBDI_CHECK_VALUE(USB_ENDPOINT_TYPE_ISOCHRONOUS, usb_endpoint, type_isochronous);
USBDI_CHECK_VALUE(USB_ENDPOINT_TYPE_BULK, usb_endpoint, type_bulk);
USBDI_CHECK_VALUE(USB_ENDPOINT_TYPE_INTERRUPT, usb_endpoint, type_interrupt);

USBDI_CHECK_VALUE(USBD_PORT_ENABLED, usbd_port, enabled);
USBDI_CHECK_VALUE(USBD_PORT_CONNECTED, usbd_port, connected);
USBDI_CHECK_VALUE(IOCTL_INTERNAL_USB_SUBMIT_URB, ioctl_internal_usb, submit_urb);
USBDI_CHECK_VALUE(IOCTL_INTERNAL_USB_RESET_PORT, ioctl_internal_usb, reset_port);
USBDI_CHECK_VALUE(IOCTL_INTERNAL_USB_GET_PORT_STATUS, ioctl_internal_usb, get_port_status);

#undef USBDI_CHECK_TRANSFER
#undef USBDI_CHECK_VALUE
#undef USBDI_CHECK_AT
#undef USBDI_CHECK_SIZE
