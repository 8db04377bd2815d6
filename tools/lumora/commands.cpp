// demo, info and ioctl. Output is plain text, stable from run to run, so runs can be compared line by line.
#include "tools/lumora/commands.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "client/names.h"

namespace lumora::tool {
namespace {

std::string Hex32(uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof(text), "0x%08X", value);
    return text;
}

std::string HexBytes(std::span<const uint8_t> bytes) {
    if (bytes.empty()) {
        return "-";
    }
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const uint8_t byte : bytes) {
        constexpr std::string_view digits = "0123456789ABCDEF";
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

std::string DescribeStatus(int32_t status) {
    return Hex32(static_cast<uint32_t>(status)) + " " + std::string(StatusName(status));
}

// Opens the instance, telling err why when it does not.
bool OpenDevice(Device& device, unsigned index, std::ostream& err) {
    const Result opened = device.Open(index);
    if (!opened.Succeeded()) {
        err << "lumora: cannot open " << DevicePath(index) << ": " << DescribeStatus(opened.status)
            << " (Win32 error " << opened.win32Error << ")\n";
        return false;
    }
    return true;
}

std::string VersionText(const VersionRecord& version) {
    return std::to_string(version.Major) + "." + std::to_string(version.Minor) + "." +
           std::to_string(version.Patch);
}

// One line of the demo report; returns whether the answer was the expected one.
bool Report(std::ostream& out, std::string_view what, const Result& result, int32_t expectedStatus,
            uint32_t expectedBytes, std::string_view value = {}, bool valueOk = true) {
    const bool ok = result.status == expectedStatus && result.bytes == expectedBytes && valueOk;
    char line[160];
    std::snprintf(line, sizeof(line), "  %-32.*s %-26s %2u bytes  %-10.*s %s", static_cast<int>(what.size()),
                  what.data(), std::string(StatusName(result.status)).c_str(), result.bytes,
                  static_cast<int>(value.size()), value.data(), ok ? "ok" : "UNEXPECTED");
    out << line << "\n";
    if (!ok) {
        out << "    expected " << StatusName(expectedStatus) << " with " << expectedBytes << " bytes, got "
            << DescribeStatus(result.status) << "\n";
    }
    return ok;
}

}  // namespace

std::string FormatIoctlLine(uint32_t code, const RawReply& reply) {
    return Hex32(code) + " " + std::string(CodeName(code)) + " status=" + DescribeStatus(reply.result.status) +
           " bytes=" + std::to_string(reply.result.bytes) + " data=" + HexBytes(reply.data);
}

int RunIoctl(Transport& transport, unsigned device, std::span<const IoctlRequest> requests, std::ostream& out,
             std::ostream& err) {
    Device camera(transport);
    if (!OpenDevice(camera, device, err)) {
        return kExitFailed;
    }
    for (const IoctlRequest& request : requests) {
        out << FormatIoctlLine(request.code, camera.Ioctl(request.code, request.input, request.outputLength))
            << "\n";
    }
    camera.Close();
    return kExitOk;
}

int RunDemo(Transport& transport, unsigned device, std::ostream& out, std::ostream& err) {
    Device camera(transport);
    out << "lumora demo: " << DevicePath(device) << "\n";
    if (!OpenDevice(camera, device, err)) {
        return kExitFailed;
    }
    bool allOk = true;

    allOk &= Report(out, "no operation", camera.NoOperation(), kStatusSuccess, 0);

    const VersionReply version = camera.GetDriverVersion();
    const bool versionOk = version.version.Major == 1 && version.version.Minor == 1 && version.version.Patch == 0;
    allOk &= Report(out, "driver version", version.result, kStatusSuccess, sizeof(VersionRecord),
                    VersionText(version.version), versionOk);

    const UsbdStatusReply usbd = camera.GetLastUsbdStatus();
    allOk &= Report(out, "last USB status", usbd.result, kStatusSuccess, sizeof(int32_t),
                    Hex32(static_cast<uint32_t>(usbd.usbdStatus)), usbd.usbdStatus == 0);

    allOk &= Report(out, "set transfer time-out 3000 ms",
                    camera.SetTimeout(LUMORA_TIMEOUT_SELECTOR_TRANSFER, 3000), kStatusSuccess, 0);
    allOk &= Report(out, "set time-out, unknown selector", camera.SetTimeout(2, 10), kStatusSuccess, 0);

    // The driver's own refusals: too short an output buffer and a code outside its table.
    allOk &= Report(out, "driver version, 5-byte buffer",
                    camera.Ioctl(IOCTL_LUMORA_GET_DRIVER_VERSION, {}, 5).result, kStatusUnsuccessful, 0);
    allOk &= Report(out, "last USB status, 3-byte buffer",
                    camera.Ioctl(IOCTL_LUMORA_GET_LAST_USBD_STATUS, {}, 3).result, kStatusUnsuccessful, 0);
    allOk &= Report(out, "unknown code 0x00222010", camera.Ioctl(LUMORA_CTL_CODE(0x804, LUMORA_METHOD_BUFFERED), {}, 0).result,
                    kStatusInvalidParameter, 0);

    camera.Close();
    out << (allOk ? "all answers as expected\n" : "some answers were not as expected\n");
    return allOk ? kExitOk : kExitFailed;
}

int RunInfo(Transport& transport, std::ostream& out, std::ostream& err) {
    Device camera(transport);
    std::vector<unsigned> present;
    for (unsigned index = 0; index < kMaxDevices; ++index) {
        if (camera.Open(index).Succeeded()) {
            present.push_back(index);
        }
    }
    camera.Close();
    if (present.empty()) {
        err << "lumora: no device opens\n";
        return kExitFailed;
    }
    if (!OpenDevice(camera, present.front(), err)) {
        return kExitFailed;
    }
    const VersionReply version = camera.GetDriverVersion();
    camera.Close();
    if (!version.result.Succeeded()) {
        err << "lumora: driver version: " << DescribeStatus(version.result.status) << "\n";
        return kExitFailed;
    }
    out << "driver version " << VersionText(version.version) << "\n";
    out << "devices " << present.size() << "\n";
    for (const unsigned index : present) {
        out << "  " << DevicePath(index) << "\n";
    }
    return kExitOk;
}

}  // namespace lumora::tool
