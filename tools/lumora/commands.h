// The tool's subcommands, each over a transport that reaches the driver; main starts what carries it.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

#include "client/device.h"
#include "client/transport.h"
#include "tools/lumora/arguments.h"

namespace lumora::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the device could not be opened or answered otherwise than expected
inline constexpr int kExitUsage = 2;

// One deterministic line per raw request: "0x00222074 GET_DRIVER_VERSION status=0x00000000
// STATUS_SUCCESS bytes=6 data=010001000000".
std::string FormatIoctlLine(uint32_t code, const RawReply& reply);

// Sends the requests in order on one open device, printing a line for each.
int RunIoctl(Transport& transport, unsigned device, std::span<const IoctlRequest> requests, std::ostream& out,
             std::ostream& err);

// The driver's own codes with expected answers; kExitOk only if every answer was as expected.
int RunDemo(Transport& transport, unsigned device, std::ostream& out, std::ostream& err);

// Driver version and the names of the devices that open.
int RunInfo(Transport& transport, std::ostream& out, std::ostream& err);

}  // namespace lumora::tool
