// Tiny drivers for the platform suites.
#include "tests/kernel/test_driver.h"

#include <string>

#include "platform/pnp/pnp.h"

namespace test {
namespace {

PDRIVER_DISPATCH entryDispatch = nullptr;

NTSTATUS Entry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    for (PDRIVER_DISPATCH& f : driver->MajorFunction) f = entryDispatch;
    return STATUS_SUCCESS;
}

}  // namespace

PDRIVER_OBJECT LoadDriver(PDRIVER_DISPATCH dispatch) {
    entryDispatch = dispatch;
    PDRIVER_OBJECT driver = nullptr;
    pnp::LoadDriver(Entry, u"PlatformTest", &driver);
    return driver;
}

PDEVICE_OBJECT CreateDevice(PDRIVER_OBJECT driver, const char16_t* name, const char16_t* link, ULONG extensionSize) {
    UNICODE_STRING deviceName;
    RtlInitUnicodeString(&deviceName, name);
    PDEVICE_OBJECT device = nullptr;
    if (!NT_SUCCESS(IoCreateDevice(driver, extensionSize, name ? &deviceName : nullptr, FILE_DEVICE_UNKNOWN, 0,
                                   FALSE, &device)))
        return nullptr;
    if (link) {
        std::u16string linkText = std::u16string(u"\\DosDevices\\") + link;
        UNICODE_STRING linkName;
        RtlInitUnicodeString(&linkName, linkText.c_str());
        IoCreateSymbolicLink(&linkName, &deviceName);
    }
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return device;
}

NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS CompleteSuccess(PDEVICE_OBJECT, PIRP irp) { return Complete(irp, STATUS_SUCCESS); }

}  // namespace test
