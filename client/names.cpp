// Name tables for control codes (from the driver's shared header) and the status values the driver,
// the I/O manager and the USB stack complete requests with.
#include "client/names.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "driver/lumora_ioctl.h"

namespace lumora {
namespace {

struct CodeEntry {
    uint32_t code;
    std::string_view name;
};

#define LUMORA_CODE_ENTRY(role) CodeEntry{IOCTL_LUMORA_##role, #role}

constexpr std::array kCodes{
    LUMORA_CODE_ENTRY(GET_INTERFACE_INFO),    LUMORA_CODE_ENTRY(GET_DEVICE_DESCRIPTOR),
    LUMORA_CODE_ENTRY(GET_CONFIG_DESCRIPTOR), LUMORA_CODE_ENTRY(VENDOR_REQUEST),
    LUMORA_CODE_ENTRY(NO_OPERATION),          LUMORA_CODE_ENTRY(FIRMWARE_LOAD_512),
    LUMORA_CODE_ENTRY(RESET_PORT),            LUMORA_CODE_ENTRY(RESET_PIPE),
    LUMORA_CODE_ENTRY(ABORT_PIPE),            LUMORA_CODE_ENTRY(SELECT_INTERFACE),
    LUMORA_CODE_ENTRY(GET_STRING_DESCRIPTOR), LUMORA_CODE_ENTRY(PIPE_TRANSFER_READ),
    LUMORA_CODE_ENTRY(PIPE_TRANSFER_WRITE),   LUMORA_CODE_ENTRY(GET_FRAME_NUMBER),
    LUMORA_CODE_ENTRY(CONTROL_REQUEST),       LUMORA_CODE_ENTRY(GET_LAST_USBD_STATUS),
    LUMORA_CODE_ENTRY(ISO_TRANSFER_READ),     LUMORA_CODE_ENTRY(ISO_TRANSFER_WRITE),
    LUMORA_CODE_ENTRY(FIRMWARE_LOAD_64),      LUMORA_CODE_ENTRY(GET_DRIVER_VERSION),
    LUMORA_CODE_ENTRY(ISO_STREAM_START),      LUMORA_CODE_ENTRY(ISO_STREAM_STOP),
    LUMORA_CODE_ENTRY(ISO_STREAM_READ),       LUMORA_CODE_ENTRY(SET_DEVICE_FEATURE),
    LUMORA_CODE_ENTRY(SET_TIMEOUT),           LUMORA_CODE_ENTRY(SPLIT_TRANSFER_READ),
    LUMORA_CODE_ENTRY(SPLIT_TRANSFER_WRITE),
};

#undef LUMORA_CODE_ENTRY

static_assert(kCodes.size() == 27, "every control code has a name");

struct StatusEntry {
    uint32_t value;
    std::string_view name;
};

constexpr std::array kStatuses{
    StatusEntry{0x00000000u, "STATUS_SUCCESS"},
    StatusEntry{0x00000102u, "STATUS_TIMEOUT"},
    StatusEntry{0x00000103u, "STATUS_PENDING"},
    StatusEntry{0x80000005u, "STATUS_BUFFER_OVERFLOW"},
    StatusEntry{0x80000011u, "STATUS_DEVICE_BUSY"},
    StatusEntry{0xC0000001u, "STATUS_UNSUCCESSFUL"},
    StatusEntry{0xC0000002u, "STATUS_NOT_IMPLEMENTED"},
    StatusEntry{0xC0000008u, "STATUS_INVALID_HANDLE"},
    StatusEntry{0xC000000Du, "STATUS_INVALID_PARAMETER"},
    StatusEntry{0xC000000Eu, "STATUS_NO_SUCH_DEVICE"},
    StatusEntry{0xC0000010u, "STATUS_INVALID_DEVICE_REQUEST"},
    StatusEntry{0xC0000016u, "STATUS_MORE_PROCESSING_REQUIRED"},
    StatusEntry{0xC0000017u, "STATUS_NO_MEMORY"},
    StatusEntry{0xC0000022u, "STATUS_ACCESS_DENIED"},
    StatusEntry{0xC0000023u, "STATUS_BUFFER_TOO_SMALL"},
    StatusEntry{0xC0000034u, "STATUS_OBJECT_NAME_NOT_FOUND"},
    StatusEntry{0xC0000056u, "STATUS_DELETE_PENDING"},
    StatusEntry{0xC000009Au, "STATUS_INSUFFICIENT_RESOURCES"},
    StatusEntry{0xC000009Cu, "STATUS_DEVICE_DATA_ERROR"},
    StatusEntry{0xC000009Du, "STATUS_DEVICE_NOT_CONNECTED"},
    StatusEntry{0xC00000A3u, "STATUS_DEVICE_NOT_READY"},
    StatusEntry{0xC00000B5u, "STATUS_IO_TIMEOUT"},
    StatusEntry{0xC00000BBu, "STATUS_NOT_SUPPORTED"},
    StatusEntry{0xC0000120u, "STATUS_CANCELLED"},
    StatusEntry{0xC00002B6u, "STATUS_DEVICE_REMOVED"},
};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::string_view StatusName(int32_t status) {
    const auto value = static_cast<uint32_t>(status);
    const auto it = std::ranges::find(kStatuses, value, &StatusEntry::value);
    return it == kStatuses.end() ? std::string_view("?") : it->name;
}

std::string_view CodeName(uint32_t code) {
    const auto it = std::ranges::find(kCodes, code, &CodeEntry::code);
    return it == kCodes.end() ? std::string_view("?") : it->name;
}

std::optional<uint32_t> CodeFromName(std::string_view name) {
    constexpr std::string_view prefix = "IOCTL_LUMORA_";
    if (name.size() > prefix.size() && EqualIgnoringCase(name.substr(0, prefix.size()), prefix)) {
        name.remove_prefix(prefix.size());
    }
    for (const CodeEntry& entry : kCodes) {
        if (EqualIgnoringCase(entry.name, name)) {
            return entry.code;
        }
    }
    return std::nullopt;
}

}  // namespace lumora
