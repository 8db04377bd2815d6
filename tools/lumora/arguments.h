// The tool's command line: subcommand, options and the raw requests of `lumora ioctl`.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lumora::tool {

// A malformed command line; the tool prints the message and exits with 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Limit on either buffer of one raw request, far above any record the driver takes.
inline constexpr uint32_t kMaxBufferLength = 16u << 20;

// One raw request: CODE[:in=HEX][:out=N].
struct IoctlRequest {
    uint32_t code = 0;
    std::vector<uint8_t> input;
    uint32_t outputLength = 0;

    bool operator==(const IoctlRequest&) const = default;
};

IoctlRequest ParseIoctlRequest(std::string_view text);

enum class Command { Help, Demo, Info, Ioctl };

struct Options {
    Command command = Command::Help;
    unsigned cameras = 1;  // simulated cameras to plug
    unsigned device = 0;   // instance to open
    std::vector<IoctlRequest> requests;

    bool operator==(const Options&) const = default;
};

// argv without the program name.
Options ParseCommandLine(std::span<const std::string_view> arguments);

extern const char kUsage[];

}  // namespace lumora::tool
