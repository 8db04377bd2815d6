// Parsing of the command line. Every malformed piece is reported with the text that was given.
#include "tools/lumora/arguments.h"

#include <charconv>
#include <optional>

#include "client/names.h"
#include "client/transport.h"

namespace lumora::tool {

const char kUsage[] = R"(usage: lumora COMMAND [OPTIONS] [ARGUMENTS]

commands:
  demo              start the simulated camera, send the driver's own codes, print a report
  info              driver version and the devices present
  ioctl REQUEST...  send raw requests in the order given, one output line each
  help              this text (also --help, -h)

options (after the command):
  --cameras N       simulated cameras to plug, 1 to 32 (default 1)
  --device N        device instance to open, 0 to 31 (default 0)

REQUEST is CODE[:in=HEX][:out=N]
  CODE   hex with 0x (0x222074), decimal, or a code name (GET_DRIVER_VERSION, IOCTL_LUMORA_NO_OPERATION)
  in=    input bytes, two hex digits each, no separators; default none
  out=   output buffer length in bytes, decimal or hex with 0x; default 0
  e.g.   lumora ioctl GET_DRIVER_VERSION:out=6 0x2220A0:in=0100000088130000

each request prints: CODE NAME status=STATUS NAME bytes=N data=HEX (data=- when no bytes came back)
exit status: 0 done, 1 the device failed or answered otherwise than expected, 2 bad command line
)";

namespace {

// Unsigned number, hex with 0x or decimal, nothing else around it.
std::optional<uint64_t> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty() || text.size() > 16) {
        return std::nullopt;
    }
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::vector<uint8_t> ParseHexBytes(std::string_view text, std::string_view request) {
    if (text.size() % 2 != 0) {
        throw UsageError("odd number of hex digits in input of '" + std::string(request) + "'");
    }
    if (text.size() / 2 > kMaxBufferLength) {
        throw UsageError("input longer than " + std::to_string(kMaxBufferLength) + " bytes in '" +
                         std::string(request) + "'");
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            throw UsageError("not a hex digit in input of '" + std::string(request) + "'");
        }
        bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return bytes;
}

uint32_t ParseCode(std::string_view text, std::string_view request) {
    if (const auto named = CodeFromName(text)) {
        return *named;
    }
    const auto value = ParseNumber(text);
    if (!value) {
        throw UsageError("'" + std::string(text) + "' is neither a number nor a code name in '" +
                         std::string(request) + "'");
    }
    if (*value > UINT32_MAX) {
        throw UsageError("code does not fit in 32 bits in '" + std::string(request) + "'");
    }
    return static_cast<uint32_t>(*value);
}

unsigned ParseOptionValue(std::span<const std::string_view> arguments, size_t& i, unsigned low,
                          unsigned high) {
    const std::string_view option = arguments[i];
    if (i + 1 == arguments.size()) {
        throw UsageError(std::string(option) + " needs a value");
    }
    const std::string_view text = arguments[++i];
    const auto value = ParseNumber(text);
    if (!value || *value < low || *value > high) {
        throw UsageError(std::string(option) + " takes " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + std::string(text) + "'");
    }
    return static_cast<unsigned>(*value);
}

}  // namespace

IoctlRequest ParseIoctlRequest(std::string_view text) {
    IoctlRequest request;
    const size_t codeEnd = text.find(':');
    const std::string_view code = text.substr(0, codeEnd);
    if (code.empty()) {
        throw UsageError("missing code in '" + std::string(text) + "'");
    }
    request.code = ParseCode(code, text);

    bool haveInput = false;
    bool haveOutput = false;
    size_t start = codeEnd;
    while (start != std::string_view::npos) {
        ++start;
        const size_t end = text.find(':', start);
        const std::string_view field = text.substr(start, end == std::string_view::npos ? end : end - start);
        start = end;
        if (field.starts_with("in=")) {
            if (haveInput) {
                throw UsageError("in= given twice in '" + std::string(text) + "'");
            }
            haveInput = true;
            request.input = ParseHexBytes(field.substr(3), text);
        } else if (field.starts_with("out=")) {
            if (haveOutput) {
                throw UsageError("out= given twice in '" + std::string(text) + "'");
            }
            haveOutput = true;
            const auto length = ParseNumber(field.substr(4));
            if (!length || *length > kMaxBufferLength) {
                throw UsageError("out= takes a byte count up to " + std::to_string(kMaxBufferLength) +
                                 " in '" + std::string(text) + "'");
            }
            request.outputLength = static_cast<uint32_t>(*length);
        } else {
            throw UsageError("unknown field '" + std::string(field) + "' in '" + std::string(text) +
                             "' (expected in=HEX or out=N)");
        }
    }
    return request;
}

Options ParseCommandLine(std::span<const std::string_view> arguments) {
    Options options;
    if (arguments.empty()) {
        throw UsageError("no command given");
    }
    const std::string_view command = arguments[0];
    if (command == "help" || command == "--help" || command == "-h") {
        options.command = Command::Help;
    } else if (command == "demo") {
        options.command = Command::Demo;
    } else if (command == "info") {
        options.command = Command::Info;
    } else if (command == "ioctl") {
        options.command = Command::Ioctl;
    } else {
        throw UsageError("unknown command '" + std::string(command) + "'");
    }

    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--cameras") {
            options.cameras = ParseOptionValue(arguments, i, 1, kMaxDevices);
        } else if (argument == "--device") {
            options.device = ParseOptionValue(arguments, i, 0, kMaxDevices - 1);
        } else if (argument.starts_with("-")) {
            throw UsageError("unknown option '" + std::string(argument) + "'");
        } else if (options.command == Command::Ioctl) {
            options.requests.push_back(ParseIoctlRequest(argument));
        } else {
            throw UsageError("unexpected argument '" + std::string(argument) + "'");
        }
    }
    if (options.command == Command::Ioctl && options.requests.empty()) {
        throw UsageError("ioctl needs at least one REQUEST");
    }
    return options;
}

}  // namespace lumora::tool
