// lumora: the camera's command-line tool, here on the simulated system in process.
#include <iostream>
#include <string>
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
    int result = lumora::tool::kExitOk;
    switch (options.command) {
    case Command::Demo:
        result = lumora::tool::RunDemo(transport, options.device, std::cout, std::cerr);
        break;
    case Command::Info:
        result = lumora::tool::RunInfo(transport, std::cout, std::cerr);
        break;
    case Command::Ioctl:
        result = lumora::tool::RunIoctl(transport, options.device, options.requests, std::cout, std::cerr);
        break;
    case Command::Help:
        break;
    }
    transport.Close();
    simulation.Stop();
    // A run that broke a kernel rule or left something allocated failed, whatever it printed.
    if (const std::string problems = simulation.Problems(); !problems.empty()) {
        std::cerr << "lumora: the verifier objects:\n" << problems;
        return lumora::tool::kExitFailed;
    }
    return result;
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
