// The loader, the plug-and-play manager and a minimal bus driver whose PDOs accept plug-and-play and power.
#include "platform/pnp/pnp.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "platform/kernel/internal.h"
#include "platform/verifier/verifier.h"

namespace pnp {
namespace {

struct LoadedDriver {
    DRIVER_OBJECT object;
    DRIVER_EXTENSION extension;
    std::u16string name;
    std::u16string registryPath;
    uint64_t loadedAt;  // verifier sequence after DriverEntry: later allocations are per-device
};

std::mutex lock;
std::map<PDRIVER_OBJECT, LoadedDriver*> drivers;
LoadedDriver* bus = nullptr;
ULONG nextPdoNumber = 1;

NTSTATUS InvalidRequest(PDEVICE_OBJECT, PIRP irp) {
    irp->IoStatus.Status = STATUS_INVALID_DEVICE_REQUEST;
    irp->IoStatus.Information = 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return STATUS_INVALID_DEVICE_REQUEST;
}

NTSTATUS BusPnp(PDEVICE_OBJECT, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    NTSTATUS status = irp->IoStatus.Status;
    switch (stack->MinorFunction) {
        case IRP_MN_START_DEVICE:
        case IRP_MN_QUERY_REMOVE_DEVICE:
        case IRP_MN_CANCEL_REMOVE_DEVICE:
        case IRP_MN_REMOVE_DEVICE:
        case IRP_MN_SURPRISE_REMOVAL:
        case IRP_MN_QUERY_STOP_DEVICE:
        case IRP_MN_CANCEL_STOP_DEVICE:
        case IRP_MN_STOP_DEVICE:
            status = STATUS_SUCCESS;
            break;
        case IRP_MN_QUERY_CAPABILITIES: {
            PDEVICE_CAPABILITIES caps = stack->Parameters.DeviceCapabilities.Capabilities;
            if (!caps || caps->Size < sizeof(DEVICE_CAPABILITIES)) {
                status = STATUS_INVALID_PARAMETER;
                break;
            }
            caps->Removable = 1;
            caps->SurpriseRemovalOK = 1;
            caps->DeviceD2 = 1;
            caps->DeviceState[PowerSystemWorking] = PowerDeviceD0;
            for (int s = PowerSystemSleeping1; s < PowerSystemMaximum; ++s) caps->DeviceState[s] = PowerDeviceD3;
            caps->SystemWake = PowerSystemUnspecified;
            caps->DeviceWake = PowerDeviceUnspecified;
            status = STATUS_SUCCESS;
            break;
        }
        default:
            break;  // not ours: leave the status the sender put there
    }
    irp->IoStatus.Status = status;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS BusPower(PDEVICE_OBJECT, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    NTSTATUS status = irp->IoStatus.Status;
    if (stack->MinorFunction == IRP_MN_SET_POWER || stack->MinorFunction == IRP_MN_QUERY_POWER)
        status = STATUS_SUCCESS;
    else if (stack->MinorFunction == IRP_MN_WAIT_WAKE)
        status = STATUS_NOT_SUPPORTED;
    PoStartNextPowerIrp(irp);
    irp->IoStatus.Status = status;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS BusEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    driver->MajorFunction[IRP_MJ_PNP] = BusPnp;
    driver->MajorFunction[IRP_MJ_POWER] = BusPower;
    return STATUS_SUCCESS;
}

LoadedDriver* NewDriver(const char16_t* serviceName) {
    auto* d = new LoadedDriver{};
    d->name = std::u16string(u"\\Driver\\") + serviceName;
    d->registryPath = std::u16string(u"\\Registry\\Machine\\System\\CurrentControlSet\\Services\\") + serviceName;
    d->object.Type = IO_TYPE_DRIVER;
    d->object.Size = sizeof(DRIVER_OBJECT);
    d->object.DriverExtension = &d->extension;
    d->extension.DriverObject = &d->object;
    RtlInitUnicodeString(&d->object.DriverName, d->name.c_str());
    RtlInitUnicodeString(&d->extension.ServiceKeyName, d->name.c_str() + 8);
    for (PDRIVER_DISPATCH& f : d->object.MajorFunction) f = InvalidRequest;
    return d;
}

PDRIVER_OBJECT Bus() {
    std::lock_guard guard(lock);
    if (!bus) {
        bus = NewDriver(u"LumoraBus");
        kernel::DriverScope scope(&bus->object);
        BusEntry(&bus->object, nullptr);
    }
    return &bus->object;
}

LoadedDriver* Loaded(PDRIVER_OBJECT driver) {
    std::lock_guard guard(lock);
    auto it = drivers.find(driver);
    return it == drivers.end() ? nullptr : it->second;
}

NTSTATUS Send(PDEVICE_OBJECT pdo, UCHAR major, UCHAR minor, PIO_STACK_LOCATION parameters) {
    PDEVICE_OBJECT top = kernel::TopOfStack(pdo);
    KEVENT event;
    KeInitializeEvent(&event, NotificationEvent, FALSE);
    IO_STATUS_BLOCK iosb{};
    PIRP irp = kernel::AllocateIoManagerIrp(top, major, &event, &iosb, nullptr, KernelMode, nullptr);
    if (!irp) return STATUS_INSUFFICIENT_RESOURCES;
    irp->IoStatus.Status = major == IRP_MJ_PNP ? STATUS_NOT_SUPPORTED : STATUS_SUCCESS;
    PIO_STACK_LOCATION next = IoGetNextIrpStackLocation(irp);
    next->MinorFunction = minor;
    next->Parameters = parameters->Parameters;
    return kernel::SendAndWait(top, irp, &event, &iosb).Status;
}

}  // namespace

NTSTATUS LoadDriver(PDRIVER_INITIALIZE entry, const char16_t* serviceName, PDRIVER_OBJECT* driver) {
    *driver = nullptr;
    LoadedDriver* d = NewDriver(serviceName);
    {
        std::lock_guard guard(lock);
        drivers[&d->object] = d;
    }
    UNICODE_STRING registryPath;
    RtlInitUnicodeString(&registryPath, d->registryPath.c_str());
    uint64_t before = verifier::Sequence();
    NTSTATUS status;
    {
        kernel::DriverScope scope(&d->object);
        status = entry(&d->object, &registryPath);
    }
    if (KeGetCurrentIrql() != PASSIVE_LEVEL) verifier::Violation("DriverEntry returned at IRQL %d", KeGetCurrentIrql());
    if (!NT_SUCCESS(status)) {
        if (d->object.DeviceObject) verifier::Violation("DriverEntry failed and left device objects behind");
        verifier::CheckOwnerIdle(&d->object, before, "failed DriverEntry");
        std::lock_guard guard(lock);
        drivers.erase(&d->object);
        delete d;
        return status;
    }
    d->loadedAt = verifier::Sequence();
    *driver = &d->object;
    return status;
}

void UnloadDriver(PDRIVER_OBJECT driver) {
    LoadedDriver* d = Loaded(driver);
    if (!d) {
        verifier::Violation("UnloadDriver: %p is not a loaded driver", static_cast<void*>(driver));
        return;
    }
    if (driver->DriverUnload) {
        kernel::DriverScope scope(driver);
        driver->DriverUnload(driver);
    }
    if (driver->DeviceObject) verifier::Violation("driver unloaded with device objects still present");
    verifier::CheckOwnerIdle(driver, 0, "unload");
    std::lock_guard guard(lock);
    drivers.erase(driver);
    delete d;
}

NTSTATUS PlugDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT* pdo) {
    *pdo = nullptr;
    PDRIVER_OBJECT busDriver = Bus();
    ULONG number;
    {
        std::lock_guard guard(lock);
        number = nextPdoNumber++;
    }
    std::u16string name = u"\\Device\\";
    std::string digits = std::to_string(number);
    name += std::u16string(8 - std::min<size_t>(8, digits.size()), u'0');
    for (char c : digits) name += static_cast<char16_t>(c);
    UNICODE_STRING pdoName;
    RtlInitUnicodeString(&pdoName, name.c_str());
    NTSTATUS status;
    {
        kernel::DriverScope scope(busDriver);
        // The bus's own object: faults injected for the driver under test do not hit it.
        status = kernel::CreateDevice(busDriver, 0, &pdoName, FILE_DEVICE_UNKNOWN, FILE_AUTOGENERATED_DEVICE_NAME,
                                      FALSE, pdo, false);
    }
    if (!NT_SUCCESS(status)) return status;
    (*pdo)->Flags = ((*pdo)->Flags & ~DO_DEVICE_INITIALIZING) | DO_POWER_PAGABLE;
    if (!driver->DriverExtension->AddDevice) return STATUS_NOT_SUPPORTED;
    kernel::DriverScope scope(driver);
    return driver->DriverExtension->AddDevice(driver, *pdo);
}

void ReleasePdo(PDEVICE_OBJECT pdo) {
    if (pdo->AttachedDevice) {
        verifier::Violation("ReleasePdo: device %p is still attached above PDO %p",
                            static_cast<void*>(pdo->AttachedDevice), static_cast<void*>(pdo));
        return;
    }
    IoDeleteDevice(pdo);
}

PDEVICE_OBJECT TopOfStack(PDEVICE_OBJECT pdo) { return kernel::TopOfStack(pdo); }

NTSTATUS SendPnp(PDEVICE_OBJECT pdo, UCHAR minor, PDEVICE_CAPABILITIES capabilities) {
    PDRIVER_OBJECT driver = kernel::TopOfStack(pdo)->DriverObject;
    IO_STACK_LOCATION parameters{};
    parameters.Parameters.DeviceCapabilities.Capabilities = capabilities;
    NTSTATUS status = Send(pdo, IRP_MJ_PNP, minor, &parameters);
    if (minor == IRP_MN_REMOVE_DEVICE && !driver->DeviceObject)
        if (LoadedDriver* d = Loaded(driver)) verifier::CheckOwnerIdle(driver, d->loadedAt, "device removal");
    return status;
}

NTSTATUS SendPower(PDEVICE_OBJECT pdo, UCHAR minor, POWER_STATE_TYPE type, POWER_STATE state) {
    IO_STACK_LOCATION parameters{};
    parameters.Parameters.Power.Type = type;
    parameters.Parameters.Power.State = state;
    parameters.Parameters.Power.ShutdownType = PowerActionNone;
    return Send(pdo, IRP_MJ_POWER, minor, &parameters);
}

void ResetForTest() {
    kernel::ResetForTest();
    std::lock_guard guard(lock);
    for (auto& [object, d] : drivers) delete d;
    drivers.clear();
    delete bus;
    bus = nullptr;
    nextPdoNumber = 1;
}

}  // namespace pnp
