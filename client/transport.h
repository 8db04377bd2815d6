// The transport under the typed calls: whatever carries one control request to the driver and back.
// Implemented in-process over the platform and, in the Windows build, over the real device.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumora {

// What one request came back with. The driver's status is data here, never an exception.
struct Result {
    int32_t status;       // NTSTATUS the request completed with
    uint32_t win32Error;  // what GetLastError would say; 0 on success
    uint32_t bytes;       // byte count the driver completed the request with

    bool Succeeded() const { return status >= 0; }
};

class Transport {
public:
    virtual ~Transport() = default;

    // Opens "\\.\NAME"; an open device is closed first.
    virtual Result Open(std::string_view path) = 0;
    // One device-control request; with no device open it fails with STATUS_INVALID_HANDLE.
    virtual Result Ioctl(uint32_t code, const void* input, uint32_t inputLength, void* output,
                         uint32_t outputLength) = 0;
    virtual void Close() = 0;
};

// The driver names up to this many instances.
inline constexpr unsigned kMaxDevices = 32;

// "\\.\Lumora58Tzvex-N": instance N ends in the character '0' + N, so instance 10 ends in ':'.
std::string DevicePath(unsigned index);

}  // namespace lumora
