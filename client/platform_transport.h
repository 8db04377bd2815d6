// Transport over the platform's user-mode view: requests go through the in-process I/O manager.
#pragma once

#include "client/transport.h"
#include "platform/user/user.h"

namespace lumora {

class PlatformTransport final : public Transport {
public:
    PlatformTransport() = default;
    PlatformTransport(const PlatformTransport&) = delete;
    PlatformTransport& operator=(const PlatformTransport&) = delete;
    ~PlatformTransport() override { Close(); }

    Result Open(std::string_view path) override;
    Result Ioctl(uint32_t code, const void* input, uint32_t inputLength, void* output,
                 uint32_t outputLength) override;
    void Close() override;

private:
    user::Handle handle_ = nullptr;
};

}  // namespace lumora
