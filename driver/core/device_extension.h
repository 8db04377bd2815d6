// The per-device record, the I/O gate that counts requests inside the driver, and the driver-wide
// transfer time-out.
#pragma once

#include "driver/core/platform.h"

// Owned by the streaming and split-transfer code; the record only points at them.
struct RingBuffer;
struct SplitChunk;

// Up to this many cameras at once, told apart by the index in their names.
constexpr ULONG MaxInstances = 32;
// "\DosDevices\Lumora58Tzvex-N" with its NUL.
constexpr ULONG LinkNameLength = 28;

// Lock map:
// - OutstandingIo: changed only by interlocked operations (the gate).
// - RemovePending: a plain store by removal, made visible to the gate by the interlocked decrements
//   that follow it; IoIncrement's interlocked increment comes before its read.
// - RemoveEvent, SplitDoneEvent: synchronise themselves.
// - SplitLock guards SplitChunksPending, SplitBytesDone, SplitChunkTable and the chunk entries.
// - Everything else is unguarded: written before requests can reach it (LowerDeviceObject, LinkName),
//   or a single plain store whose last writer wins (Started, LinkCreated, ConfigurationHandle,
//   DeviceDescriptor, InterfaceInfo, LastUsbdStatus, IsoStopRequested, the published rings).
struct DeviceExtension {
    PDEVICE_OBJECT LowerDeviceObject;
    BOOLEAN Started;
    BOOLEAN LinkCreated;
    USBD_CONFIGURATION_HANDLE ConfigurationHandle;
    PUSB_DEVICE_DESCRIPTOR DeviceDescriptor;
    PUSBD_INTERFACE_INFORMATION InterfaceInfo;
    WCHAR LinkName[LinkNameLength];
    USBD_STATUS LastUsbdStatus;
    LONG volatile OutstandingIo;
    KEVENT RemoveEvent;
    BOOLEAN volatile RemovePending;
    BOOLEAN IsoStopRequested;
    RingBuffer* IsoDataRing;
    RingBuffer* IsoDescriptorRing;
    ULONG SplitChunksPending;
    ULONG SplitBytesDone;
    SplitChunk* SplitChunkTable;
    KSPIN_LOCK SplitLock;
    KEVENT SplitDoneEvent;
};

inline DeviceExtension* ExtensionOf(PDEVICE_OBJECT deviceObject) {
    return static_cast<DeviceExtension*>(deviceObject->DeviceExtension);
}

// Milliseconds a timed transfer waits, for every device of the driver; read and written as one
// 64-bit word without a lock.
extern LONGLONG TransferTimeoutMs;

// Admits a request: TRUE when the caller may go on (and must call IoDecrement once when done),
// FALSE when removal has closed the gate (the caller completes with STATUS_DELETE_PENDING).
BOOLEAN IoIncrement(PDEVICE_OBJECT deviceObject);
// A request leaves the driver; the last one out wakes removal.
VOID IoDecrement(PDEVICE_OBJECT deviceObject);
