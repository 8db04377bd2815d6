// Typed calls over the driver's control codes. Each returns what the request completed with; a typed
// value is filled only when the driver returned all of its bytes, and is zero otherwise.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "client/transport.h"
#include "driver/lumora_ioctl.h"

namespace lumora {

struct VersionReply {
    Result result;
    VersionRecord version;
};

struct UsbdStatusReply {
    Result result;
    int32_t usbdStatus;  // the last negative URB status the driver saw, 0 if none
};

struct RawReply {
    Result result;
    std::vector<uint8_t> data;  // the first result.bytes bytes of the output buffer
};

class Device {
public:
    explicit Device(Transport& transport) : transport_(transport) {}

    Result Open(unsigned index) { return transport_.Open(DevicePath(index)); }
    Result Open(std::string_view path) { return transport_.Open(path); }
    void Close() { transport_.Close(); }

    Result NoOperation();
    UsbdStatusReply GetLastUsbdStatus();
    VersionReply GetDriverVersion();
    Result SetTimeout(uint32_t selector, int32_t milliseconds);

    // Any code, with the given input and an output buffer of outputLength bytes.
    RawReply Ioctl(uint32_t code, std::span<const uint8_t> input, uint32_t outputLength);

private:
    Transport& transport_;
};

}  // namespace lumora
