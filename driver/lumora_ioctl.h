/* Control codes and records shared between the driver and applications.
   Plain C, no kernel types: records are packed little-endian as they travel in the system buffer. */
#ifndef LUMORA_IOCTL_H
#define LUMORA_IOCTL_H

#include <stddef.h>
#include <stdint.h>

#define LUMORA_CTL_CODE(function, method) ((0x22u << 16) | (0u << 14) | ((function) << 2) | (method))
#define LUMORA_METHOD_BUFFERED 0u
#define LUMORA_METHOD_IN_DIRECT 1u
#define LUMORA_METHOD_OUT_DIRECT 2u

#define IOCTL_LUMORA_GET_INTERFACE_INFO      LUMORA_CTL_CODE(0x800, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_GET_DEVICE_DESCRIPTOR   LUMORA_CTL_CODE(0x801, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_GET_CONFIG_DESCRIPTOR   LUMORA_CTL_CODE(0x802, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_VENDOR_REQUEST          LUMORA_CTL_CODE(0x805, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_NO_OPERATION            LUMORA_CTL_CODE(0x806, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_FIRMWARE_LOAD_512       LUMORA_CTL_CODE(0x807, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_RESET_PORT              LUMORA_CTL_CODE(0x80C, LUMORA_METHOD_IN_DIRECT)
#define IOCTL_LUMORA_RESET_PIPE              LUMORA_CTL_CODE(0x80D, LUMORA_METHOD_IN_DIRECT)
#define IOCTL_LUMORA_ABORT_PIPE              LUMORA_CTL_CODE(0x80F, LUMORA_METHOD_IN_DIRECT)
#define IOCTL_LUMORA_SELECT_INTERFACE        LUMORA_CTL_CODE(0x810, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_GET_STRING_DESCRIPTOR   LUMORA_CTL_CODE(0x811, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_PIPE_TRANSFER_READ      LUMORA_CTL_CODE(0x813, LUMORA_METHOD_OUT_DIRECT)
#define IOCTL_LUMORA_PIPE_TRANSFER_WRITE     LUMORA_CTL_CODE(0x814, LUMORA_METHOD_IN_DIRECT)
#define IOCTL_LUMORA_GET_FRAME_NUMBER        LUMORA_CTL_CODE(0x815, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_CONTROL_REQUEST         LUMORA_CTL_CODE(0x816, LUMORA_METHOD_IN_DIRECT)
#define IOCTL_LUMORA_GET_LAST_USBD_STATUS    LUMORA_CTL_CODE(0x817, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_ISO_TRANSFER_READ       LUMORA_CTL_CODE(0x819, LUMORA_METHOD_OUT_DIRECT)
#define IOCTL_LUMORA_ISO_TRANSFER_WRITE      LUMORA_CTL_CODE(0x81A, LUMORA_METHOD_IN_DIRECT)
#define IOCTL_LUMORA_FIRMWARE_LOAD_64        LUMORA_CTL_CODE(0x81B, LUMORA_METHOD_IN_DIRECT)
#define IOCTL_LUMORA_GET_DRIVER_VERSION      LUMORA_CTL_CODE(0x81D, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_ISO_STREAM_START        LUMORA_CTL_CODE(0x81E, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_ISO_STREAM_STOP         LUMORA_CTL_CODE(0x81F, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_ISO_STREAM_READ         LUMORA_CTL_CODE(0x820, LUMORA_METHOD_OUT_DIRECT)
#define IOCTL_LUMORA_SET_DEVICE_FEATURE      LUMORA_CTL_CODE(0x821, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_SET_TIMEOUT             LUMORA_CTL_CODE(0x828, LUMORA_METHOD_BUFFERED)
#define IOCTL_LUMORA_SPLIT_TRANSFER_READ     LUMORA_CTL_CODE(0x829, LUMORA_METHOD_OUT_DIRECT)
#define IOCTL_LUMORA_SPLIT_TRANSFER_WRITE    LUMORA_CTL_CODE(0x82A, LUMORA_METHOD_IN_DIRECT)

#pragma pack(push, 1)

/* IOCTL_LUMORA_GET_DRIVER_VERSION output. */
typedef struct VersionRecord {
    uint16_t Major;
    uint16_t Minor;
    uint16_t Patch;
} VersionRecord;

/* IOCTL_LUMORA_SET_TIMEOUT input; only Selector 1 sets the time-out. */
typedef struct TimeoutParams {
    uint32_t Selector;
    int32_t Milliseconds;
} TimeoutParams;

#define LUMORA_TIMEOUT_SELECTOR_TRANSFER 1u

/* Input of the pipe codes: RESET_PIPE, ABORT_PIPE, PIPE_TRANSFER_*, SPLIT_TRANSFER_*. */
typedef struct PipeParams {
    uint32_t PipeIndex; /* entry of the pipe table, from 0 */
} PipeParams;

/* IOCTL_LUMORA_GET_STRING_DESCRIPTOR input, exactly 4 bytes. */
typedef struct StringDescriptorParams {
    uint8_t StringIndex;
    uint8_t Unused;
    uint16_t LanguageCode;
} StringDescriptorParams;

/* IOCTL_LUMORA_SELECT_INTERFACE input. */
typedef struct InterfaceSelectParams {
    uint8_t InterfaceNum;
    uint8_t AltSettingNum;
} InterfaceSelectParams;

/* IOCTL_LUMORA_SET_DEVICE_FEATURE input, exactly 4 bytes. */
typedef struct FeatureParams {
    uint16_t FeatureCode;   /* feature selector */
    uint16_t FeatureTarget; /* index word */
} FeatureParams;

/* IOCTL_LUMORA_VENDOR_REQUEST input; device-to-host data comes back over it from offset 0. */
typedef struct VendorRequestParams {
    uint8_t RequestCode;
    uint8_t Unused;
    uint16_t RequestValue;
    uint16_t RequestIndex;
    uint16_t DataLength;
    uint8_t DirectionIn; /* not 0: device to host */
    uint8_t DataByte;    /* the byte of a one-byte host-to-device request */
} VendorRequestParams;

/* IOCTL_LUMORA_CONTROL_REQUEST input, exactly 10 bytes; the data stage is the output buffer. */
typedef struct ControlRequestParams {
    uint8_t DirectionIn; /* not 0: device to host */
    uint8_t RequestKind; /* LUMORA_REQUEST_KIND_* */
    uint8_t Recipient;   /* LUMORA_RECIPIENT_* */
    uint8_t Unused1;
    uint8_t RequestCode;
    uint8_t Unused2;
    uint16_t RequestValue;
    uint16_t RequestIndex;
} ControlRequestParams;

#define LUMORA_REQUEST_KIND_CLASS 1u
#define LUMORA_REQUEST_KIND_VENDOR 2u
#define LUMORA_RECIPIENT_DEVICE 0u
#define LUMORA_RECIPIENT_INTERFACE 1u
#define LUMORA_RECIPIENT_ENDPOINT 2u
#define LUMORA_RECIPIENT_OTHER 3u

/* IOCTL_LUMORA_FIRMWARE_LOAD_64 input, exactly 2 bytes; the image is the output buffer. */
typedef struct FirmwareLoadParams {
    uint16_t LoadAddress; /* controller address of the image's first byte */
} FirmwareLoadParams;

/* Firmware blocks as the two load codes send them. */
#define LUMORA_FIRMWARE_BLOCK_512 512u
#define LUMORA_FIRMWARE_BLOCK_64 64u

/* Input of the isochronous codes. */
typedef struct IsoTransferParams {
    uint32_t PipeIndex;
    uint32_t PacketSize;
    uint32_t PacketCount;
    uint32_t PacketsPerUrb;
    uint32_t UrbCount;
} IsoTransferParams;

/* One packet's record in the descriptor area of an isochronous output, as the USB stack left it;
   Offset counts from the start of the packet's URB buffer. */
typedef struct IsoPacketRecord {
    uint32_t Offset;
    uint32_t Length;
    int32_t Status; /* USB status of the packet */
} IsoPacketRecord;

/* The isochronous output: PacketCount x PacketSize bytes of payload, then the packet records. */
#define LUMORA_ISO_PACKET_RECORD_SIZE 12u

#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(VersionRecord) == 6, "VersionRecord is 6 bytes");
static_assert(sizeof(TimeoutParams) == 8, "TimeoutParams is 8 bytes");
static_assert(sizeof(IsoTransferParams) == 20, "IsoTransferParams is 20 bytes");
static_assert(sizeof(PipeParams) == 4, "PipeParams is 4 bytes");
static_assert(sizeof(StringDescriptorParams) == 4, "StringDescriptorParams is 4 bytes");
static_assert(sizeof(InterfaceSelectParams) == 2, "InterfaceSelectParams is 2 bytes");
static_assert(sizeof(FeatureParams) == 4, "FeatureParams is 4 bytes");
static_assert(sizeof(VendorRequestParams) == 10, "VendorRequestParams is 10 bytes");
static_assert(sizeof(ControlRequestParams) == 10, "ControlRequestParams is 10 bytes");
static_assert(sizeof(FirmwareLoadParams) == 2, "FirmwareLoadParams is 2 bytes");
static_assert(sizeof(IsoPacketRecord) == LUMORA_ISO_PACKET_RECORD_SIZE, "IsoPacketRecord is 12 bytes");
static_assert(offsetof(StringDescriptorParams, LanguageCode) == 2, "record layout");
static_assert(offsetof(VendorRequestParams, DataLength) == 6 && offsetof(VendorRequestParams, DataByte) == 9,
              "record layout");
static_assert(offsetof(ControlRequestParams, RequestCode) == 4 && offsetof(ControlRequestParams, RequestIndex) == 8,
              "record layout");
static_assert(IOCTL_LUMORA_GET_INTERFACE_INFO == 0x222000u, "code table");
static_assert(IOCTL_LUMORA_RESET_PORT == 0x222031u, "code table");
static_assert(IOCTL_LUMORA_ISO_STREAM_READ == 0x222082u, "code table");
static_assert(IOCTL_LUMORA_SPLIT_TRANSFER_WRITE == 0x2220A9u, "code table");
#endif

#endif /* LUMORA_IOCTL_H */
