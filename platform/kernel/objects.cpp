// Device objects, device stacks and the object namespace of device names and symbolic links.
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/kernel/internal.h"
#include "platform/verifier/verifier.h"

namespace kernel {
namespace {

struct DeviceRecord {
    std::u16string name;           // empty when unnamed
    PDEVICE_OBJECT lower = nullptr;  // the device this one is attached to
};

// Guards the namespace, the device records and the stack links (AttachedDevice) of every device.
std::mutex lock;
std::map<std::u16string, PDEVICE_OBJECT> devices;  // by upper-cased name
std::map<std::u16string, std::u16string> links;    // upper-cased link name -> target name
std::map<PDEVICE_OBJECT, DeviceRecord> records;

std::u16string Canonical(const char16_t* text, size_t length) {
    std::u16string name(text, length);
    for (char16_t& c : name)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    const std::u16string dosDevices = u"\\DOSDEVICES\\";
    if (name.compare(0, dosDevices.size(), dosDevices) == 0) name = u"\\??\\" + name.substr(dosDevices.size());
    return name;
}

std::u16string Canonical(const UNICODE_STRING* s) { return Canonical(s->Buffer, s->Length / sizeof(WCHAR)); }

PDEVICE_OBJECT Top(PDEVICE_OBJECT device) {
    while (device->AttachedDevice) device = device->AttachedDevice;
    return device;
}

}  // namespace

PDEVICE_OBJECT LookupDevice(const char16_t* name) {
    size_t length = 0;
    while (name[length]) ++length;
    std::u16string key = Canonical(name, length);
    std::lock_guard guard(lock);
    for (int depth = 0; depth < 8; ++depth) {
        auto device = devices.find(key);
        if (device != devices.end()) return device->second;
        auto link = links.find(key);
        if (link == links.end()) return nullptr;
        key = Canonical(link->second.data(), link->second.size());
    }
    return nullptr;
}

PDEVICE_OBJECT TopOfStack(PDEVICE_OBJECT device) {
    std::lock_guard guard(lock);
    return Top(device);
}

void ResetObjects() {
    std::lock_guard guard(lock);
    for (auto& [device, record] : records) free(device);
    records.clear();
    devices.clear();
    links.clear();
}

void ResetForTest() {
    ResetThreadState();
    ResetIo();
    ResetObjects();
    verifier::Reset();
}

}  // namespace kernel

namespace kernel {

NTSTATUS CreateDevice(PDRIVER_OBJECT DriverObject, ULONG DeviceExtensionSize, PUNICODE_STRING DeviceName,
                      DEVICE_TYPE DeviceType, ULONG DeviceCharacteristics, BOOLEAN Exclusive,
                      PDEVICE_OBJECT* DeviceObject, bool faultable) {
    *DeviceObject = nullptr;
    if (KeGetCurrentIrql() != PASSIVE_LEVEL) verifier::Violation("IoCreateDevice at IRQL %d", KeGetCurrentIrql());
    std::u16string name = DeviceName ? kernel::Canonical(DeviceName) : std::u16string();
    if (DeviceName && (name.empty() || name[0] != u'\\')) return STATUS_OBJECT_NAME_INVALID;
    if (faultable && verifier::ShouldFail(verifier::Fault::Pool)) return STATUS_INSUFFICIENT_RESOURCES;
    size_t extension = (DeviceExtensionSize + 15) & ~size_t{15};
    size_t size = sizeof(DEVICE_OBJECT) + extension;
    {
        std::lock_guard guard(kernel::lock);
        if (!name.empty() && (kernel::devices.count(name) || kernel::links.count(name)))
            return STATUS_OBJECT_NAME_COLLISION;
        auto device = static_cast<PDEVICE_OBJECT>(calloc(1, size));
        if (!device) return STATUS_INSUFFICIENT_RESOURCES;
        device->Type = IO_TYPE_DEVICE;
        device->Size = static_cast<USHORT>(sizeof(DEVICE_OBJECT) + DeviceExtensionSize);
        device->DriverObject = DriverObject;
        device->Flags = DO_DEVICE_INITIALIZING | (Exclusive ? DO_EXCLUSIVE : 0) | (DeviceName ? DO_DEVICE_HAS_NAME : 0);
        device->Characteristics = DeviceCharacteristics;
        device->DeviceExtension = DeviceExtensionSize ? device + 1 : nullptr;
        device->DeviceType = DeviceType;
        device->StackSize = 1;
        device->SectorSize = 0;
        kernel::records[device].name = name;
        if (!name.empty()) kernel::devices[name] = device;
        device->NextDevice = DriverObject->DeviceObject;
        DriverObject->DeviceObject = device;
        *DeviceObject = device;
    }
    KeInitializeEvent(&(*DeviceObject)->DeviceLock, SynchronizationEvent, TRUE);
    return STATUS_SUCCESS;
}

}  // namespace kernel

extern "C" {

NTSTATUS IoCreateDevice(PDRIVER_OBJECT DriverObject, ULONG DeviceExtensionSize, PUNICODE_STRING DeviceName,
                        DEVICE_TYPE DeviceType, ULONG DeviceCharacteristics, BOOLEAN Exclusive,
                        PDEVICE_OBJECT* DeviceObject) {
    return kernel::CreateDevice(DriverObject, DeviceExtensionSize, DeviceName, DeviceType, DeviceCharacteristics,
                                Exclusive, DeviceObject, true);
}

VOID IoDeleteDevice(PDEVICE_OBJECT DeviceObject) {
    if (KeGetCurrentIrql() != PASSIVE_LEVEL) verifier::Violation("IoDeleteDevice at IRQL %d", KeGetCurrentIrql());
    std::lock_guard guard(kernel::lock);
    auto record = kernel::records.find(DeviceObject);
    if (record == kernel::records.end()) {
        verifier::Violation("IoDeleteDevice: %p is not a device object", static_cast<void*>(DeviceObject));
        return;
    }
    if (record->second.lower)
        verifier::Violation("IoDeleteDevice: device %p is still attached to device %p (IoDetachDevice first)",
                            static_cast<void*>(DeviceObject), static_cast<void*>(record->second.lower));
    if (DeviceObject->AttachedDevice)
        verifier::Violation("IoDeleteDevice: device %p still has device %p attached above it",
                            static_cast<void*>(DeviceObject), static_cast<void*>(DeviceObject->AttachedDevice));
    if (!record->second.name.empty()) kernel::devices.erase(record->second.name);
    PDEVICE_OBJECT* link = &DeviceObject->DriverObject->DeviceObject;
    while (*link && *link != DeviceObject) link = &(*link)->NextDevice;
    if (*link) *link = DeviceObject->NextDevice;
    kernel::records.erase(record);
    free(DeviceObject);
}

NTSTATUS IoCreateSymbolicLink(PUNICODE_STRING SymbolicLinkName, PUNICODE_STRING DeviceName) {
    std::u16string link = kernel::Canonical(SymbolicLinkName);
    std::lock_guard guard(kernel::lock);
    if (kernel::links.count(link) || kernel::devices.count(link)) return STATUS_OBJECT_NAME_COLLISION;
    kernel::links[link] = std::u16string(DeviceName->Buffer, DeviceName->Length / sizeof(WCHAR));
    return STATUS_SUCCESS;
}

NTSTATUS IoDeleteSymbolicLink(PUNICODE_STRING SymbolicLinkName) {
    std::lock_guard guard(kernel::lock);
    return kernel::links.erase(kernel::Canonical(SymbolicLinkName)) ? STATUS_SUCCESS : STATUS_OBJECT_NAME_NOT_FOUND;
}

PDEVICE_OBJECT IoAttachDeviceToDeviceStack(PDEVICE_OBJECT SourceDevice, PDEVICE_OBJECT TargetDevice) {
    std::lock_guard guard(kernel::lock);
    auto source = kernel::records.find(SourceDevice);
    if (source == kernel::records.end() || !kernel::records.count(TargetDevice)) return nullptr;
    PDEVICE_OBJECT top = kernel::Top(TargetDevice);
    top->AttachedDevice = SourceDevice;
    SourceDevice->StackSize = static_cast<CCHAR>(top->StackSize + 1);
    SourceDevice->AlignmentRequirement = top->AlignmentRequirement;
    source->second.lower = top;
    return top;
}

VOID IoDetachDevice(PDEVICE_OBJECT TargetDevice) {
    std::lock_guard guard(kernel::lock);
    PDEVICE_OBJECT upper = TargetDevice->AttachedDevice;
    if (!upper) {
        verifier::Violation("IoDetachDevice: nothing is attached to device %p", static_cast<void*>(TargetDevice));
        return;
    }
    TargetDevice->AttachedDevice = nullptr;
    auto record = kernel::records.find(upper);
    if (record != kernel::records.end()) record->second.lower = nullptr;
}

PDEVICE_OBJECT IoGetAttachedDeviceReference(PDEVICE_OBJECT DeviceObject) {
    std::lock_guard guard(kernel::lock);
    PDEVICE_OBJECT top = kernel::Top(DeviceObject);
    InterlockedIncrement(&top->ReferenceCount);
    return top;
}

VOID ObfDereferenceObject(PVOID Object) {
    // Only device objects are referenced on this platform; deletion does not wait for references.
    InterlockedDecrement(&static_cast<PDEVICE_OBJECT>(Object)->ReferenceCount);
}

}  // extern "C"
