// Readable names for control codes and status values, for the tool's output and its argument parser.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lumora {

// NTSTATUS values the client refers to by name.
inline constexpr int32_t kStatusSuccess = 0;
inline constexpr int32_t kStatusUnsuccessful = static_cast<int32_t>(0xC0000001u);
inline constexpr int32_t kStatusInvalidHandle = static_cast<int32_t>(0xC0000008u);
inline constexpr int32_t kStatusInvalidParameter = static_cast<int32_t>(0xC000000Du);

// "STATUS_SUCCESS", ...; "?" for a value outside the table.
std::string_view StatusName(int32_t status);

// The code's role without the IOCTL_LUMORA_ prefix ("GET_DRIVER_VERSION"); "?" for a foreign code.
std::string_view CodeName(uint32_t code);

// A role, with or without the IOCTL_LUMORA_ prefix, in any letter case.
std::optional<uint32_t> CodeFromName(std::string_view name);

}  // namespace lumora
