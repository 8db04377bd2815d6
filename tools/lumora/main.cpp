// lumora: the camera's command-line tool, here on the simulated system in process.
#include <iostream>
#include <string_view>
#include <vector>

#include "client/names.h"
#include "client/platform_transport.h"
#include "client/simulation.h"
#include "tools/lumora/arguments.h"
#include "tools/lumora/commands.h"

namespace {

int Run(const lumora::tool::Options& options) {
    using lumora::tool::Command;
    if (options.command == Command::Help) {
        std::cout << lumora::tool::kUsage;
        return lumora::tool::kExitOk;
    }
    lumora::Simulation simulation;
    const int32_t started = simulation.Start(options.cameras);
    if (started < 0) {
        std::cerr << "lumora: the simulated system did not start: " << lumora::StatusName(started) << "\n";
        return lumora::tool::kExitFailed;
    }
    lumora::PlatformTransport transport;
    switch (options.command) {
    case Command::Demo:
        return lumora::tool::RunDemo(transport, options.device, std::cout, std::cerr);
    case Command::Info:
        return lumora::tool::RunInfo(transport, std::cout, std::cerr);
    case Command::Ioctl:
        return lumora::tool::RunIoctl(transport, options.device, options.requests, std::cout, std::cerr);
    case Command::Help:
        break;
    }
    return lumora::tool::kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    try {
        return Run(lumora::tool::ParseCommandLine(arguments));
    } catch (const lumora::tool::UsageError& error) {
        std::cerr << "lumora: " << error.what() << "\n(lumora help shows the usage)\n";
        return lumora::tool::kExitUsage;
    }
}
