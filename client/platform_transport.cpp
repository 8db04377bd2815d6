// Transport over user::CreateFile / DeviceIoControl / CloseHandle.
#include "client/platform_transport.h"

#include "client/names.h"

namespace lumora {

Result PlatformTransport::Open(std::string_view path) {
    Close();
    const user::OpenResult opened = user::CreateFile(path);
    handle_ = opened.handle;
    return Result{opened.status, opened.win32Error, 0};
}

Result PlatformTransport::Ioctl(uint32_t code, const void* input, uint32_t inputLength, void* output,
                                uint32_t outputLength) {
    if (handle_ == nullptr) {
        return Result{kStatusInvalidHandle, user::Win32ErrorFromStatus(kStatusInvalidHandle), 0};
    }
    const user::IoResult io = user::DeviceIoControl(handle_, code, input, inputLength, output, outputLength);
    return Result{io.status, io.win32Error, io.bytesReturned};
}

void PlatformTransport::Close() {
    if (handle_ != nullptr) {
        user::CloseHandle(handle_);
        handle_ = nullptr;
    }
}

}  // namespace lumora
