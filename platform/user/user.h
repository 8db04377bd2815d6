// User-mode view of the platform: what an application sees of the I/O manager.
// Deliberately free of kernel types so applications can include it.
#pragma once

#include <cstdint>
#include <string_view>

namespace user {

struct FileObjectRecord;  // the platform's open-file record, opaque here
using Handle = FileObjectRecord*;

struct OpenResult {
    Handle handle;        // nullptr on failure
    int32_t status;       // NTSTATUS of IRP_MJ_CREATE, or of the name lookup
    uint32_t win32Error;  // what GetLastError would say; 0 on success
};

struct IoResult {
    int32_t status;          // final NTSTATUS of the request
    uint32_t win32Error;     // 0 when the status is not an error
    uint32_t bytesReturned;  // IoStatus.Information as the caller sees it
};

// Opens "\\.\NAME": resolved through the symbolic link \DosDevices\NAME to its device, IRP_MJ_CREATE sent.
OpenResult CreateFile(std::string_view path);

// Builds the request by the code's transfer method, sends it to the top of the device's stack, waits.
IoResult DeviceIoControl(Handle handle, uint32_t code, const void* input, uint32_t inputLength,
                         void* output, uint32_t outputLength);

// IRP_MJ_CLEANUP then IRP_MJ_CLOSE; returns the close status.
int32_t CloseHandle(Handle handle);

// The platform's NTSTATUS to Win32 error mapping (RtlNtStatusToDosError).
uint32_t Win32ErrorFromStatus(int32_t status);

}  // namespace user
