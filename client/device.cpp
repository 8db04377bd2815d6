// Typed calls: records are copied byte-wise out of the reply, as they travel packed and little-endian.
#include "client/device.h"

#include <algorithm>
#include <cstring>

namespace lumora {

std::string DevicePath(unsigned index) {
    return std::string("\\\\.\\Lumora58Tzvex-") + static_cast<char>('0' + index);
}

Result Device::NoOperation() {
    return transport_.Ioctl(IOCTL_LUMORA_NO_OPERATION, nullptr, 0, nullptr, 0);
}

UsbdStatusReply Device::GetLastUsbdStatus() {
    UsbdStatusReply reply{};
    uint8_t buffer[sizeof(int32_t)] = {};
    reply.result = transport_.Ioctl(IOCTL_LUMORA_GET_LAST_USBD_STATUS, nullptr, 0, buffer, sizeof(buffer));
    if (reply.result.Succeeded() && reply.result.bytes == sizeof(buffer)) {
        std::memcpy(&reply.usbdStatus, buffer, sizeof(buffer));
    }
    return reply;
}

VersionReply Device::GetDriverVersion() {
    VersionReply reply{};
    uint8_t buffer[sizeof(VersionRecord)] = {};
    reply.result = transport_.Ioctl(IOCTL_LUMORA_GET_DRIVER_VERSION, nullptr, 0, buffer, sizeof(buffer));
    if (reply.result.Succeeded() && reply.result.bytes == sizeof(buffer)) {
        std::memcpy(&reply.version, buffer, sizeof(buffer));
    }
    return reply;
}

Result Device::SetTimeout(uint32_t selector, int32_t milliseconds) {
    const TimeoutParams params{selector, milliseconds};
    return transport_.Ioctl(IOCTL_LUMORA_SET_TIMEOUT, &params, sizeof(params), nullptr, 0);
}

RawReply Device::Ioctl(uint32_t code, std::span<const uint8_t> input, uint32_t outputLength) {
    RawReply reply{};
    reply.data.resize(outputLength);
    reply.result = transport_.Ioctl(code, input.empty() ? nullptr : input.data(),
                                    static_cast<uint32_t>(input.size()),
                                    outputLength == 0 ? nullptr : reply.data.data(), outputLength);
    // A byte count beyond the buffer would be the driver's fault; never show bytes that were not returned.
    reply.data.resize(std::min<uint32_t>(reply.result.bytes, outputLength));
    return reply;
}

}  // namespace lumora
