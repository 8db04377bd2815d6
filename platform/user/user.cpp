// The application's side of the I/O manager: opening a device by its link, control requests, closing.
#include "platform/user/user.h"

#include <cstdlib>
#include <mutex>
#include <set>
#include <string>

#include "platform/kernel/internal.h"

namespace user {

struct FileObjectRecord {
    FILE_OBJECT file;
};

namespace {

std::mutex lock;
std::set<Handle> handles;

bool Valid(Handle handle) {
    std::lock_guard guard(lock);
    return handles.count(handle) == 1;
}

// Sends one I/O-manager request for the file, as the application's thread, and waits for it.
IO_STATUS_BLOCK Send(Handle handle, UCHAR major, const kernel::IoControlBuffers* control) {
    kernel::SetCurrentIrql(PASSIVE_LEVEL);
    PDEVICE_OBJECT top = kernel::TopOfStack(handle->file.DeviceObject);
    KEVENT event;
    KeInitializeEvent(&event, NotificationEvent, FALSE);
    IO_STATUS_BLOCK iosb{};
    PIRP irp = kernel::AllocateIoManagerIrp(top, major, &event, &iosb, control, UserMode, &handle->file);
    if (!irp) {
        iosb.Status = STATUS_INSUFFICIENT_RESOURCES;
        return iosb;
    }
    return kernel::SendAndWait(top, irp, &event, &iosb);
}

}  // namespace

OpenResult CreateFile(std::string_view path) {
    const std::string_view prefix = "\\\\.\\";
    if (path.substr(0, prefix.size()) != prefix || path.size() == prefix.size())
        return {nullptr, STATUS_OBJECT_NAME_INVALID, Win32ErrorFromStatus(STATUS_OBJECT_NAME_INVALID)};
    std::u16string name = u"\\??\\";
    for (char c : path.substr(prefix.size())) name += static_cast<char16_t>(static_cast<unsigned char>(c));
    PDEVICE_OBJECT device = kernel::LookupDevice(name.c_str());
    if (!device) return {nullptr, STATUS_OBJECT_NAME_NOT_FOUND, Win32ErrorFromStatus(STATUS_OBJECT_NAME_NOT_FOUND)};

    auto* record = new FileObjectRecord{};
    record->file.Type = IO_TYPE_FILE;
    record->file.Size = sizeof(FILE_OBJECT);
    record->file.DeviceObject = device;
    KeInitializeEvent(&record->file.Lock, SynchronizationEvent, FALSE);
    KeInitializeEvent(&record->file.Event, NotificationEvent, FALSE);
    InitializeListHead(&record->file.IrpList);
    NTSTATUS status = Send(record, IRP_MJ_CREATE, nullptr).Status;
    if (!NT_SUCCESS(status)) {
        delete record;
        return {nullptr, status, Win32ErrorFromStatus(status)};
    }
    std::lock_guard guard(lock);
    handles.insert(record);
    return {record, status, 0};
}

IoResult DeviceIoControl(Handle handle, uint32_t code, const void* input, uint32_t inputLength, void* output,
                         uint32_t outputLength) {
    if (!Valid(handle)) return {STATUS_INVALID_HANDLE, Win32ErrorFromStatus(STATUS_INVALID_HANDLE), 0};
    // What probing the caller's buffers would find.
    if ((!input && inputLength) || (!output && outputLength))
        return {STATUS_ACCESS_VIOLATION, Win32ErrorFromStatus(STATUS_ACCESS_VIOLATION), 0};
    kernel::IoControlBuffers control{code, const_cast<void*>(input), inputLength, output, outputLength};
    IO_STATUS_BLOCK iosb = Send(handle, IRP_MJ_DEVICE_CONTROL, &control);
    uint32_t error = NT_SUCCESS(iosb.Status) ? 0 : Win32ErrorFromStatus(iosb.Status);
    return {iosb.Status, error, static_cast<uint32_t>(iosb.Information)};
}

int32_t CloseHandle(Handle handle) {
    {
        std::lock_guard guard(lock);
        if (handles.erase(handle) == 0) return STATUS_INVALID_HANDLE;
    }
    Send(handle, IRP_MJ_CLEANUP, nullptr);
    NTSTATUS status = Send(handle, IRP_MJ_CLOSE, nullptr).Status;
    delete handle;
    return status;
}

uint32_t Win32ErrorFromStatus(int32_t status) {
    struct Entry {
        NTSTATUS status;
        uint32_t error;
    };
    static constexpr Entry table[] = {
        {STATUS_SUCCESS, 0},
        {STATUS_TIMEOUT, 1460},                   // ERROR_TIMEOUT
        {STATUS_PENDING, 997},                    // ERROR_IO_PENDING
        {STATUS_BUFFER_OVERFLOW, 234},            // ERROR_MORE_DATA
        {STATUS_DEVICE_BUSY, 170},                // ERROR_BUSY
        {STATUS_NO_MORE_ENTRIES, 259},            // ERROR_NO_MORE_ITEMS
        {STATUS_UNSUCCESSFUL, 31},                // ERROR_GEN_FAILURE
        {STATUS_NOT_IMPLEMENTED, 1},              // ERROR_INVALID_FUNCTION
        {STATUS_ACCESS_VIOLATION, 998},           // ERROR_NOACCESS
        {STATUS_INVALID_HANDLE, 6},               // ERROR_INVALID_HANDLE
        {STATUS_INVALID_PARAMETER, 87},           // ERROR_INVALID_PARAMETER
        {STATUS_NO_SUCH_DEVICE, 2},               // ERROR_FILE_NOT_FOUND
        {STATUS_INVALID_DEVICE_REQUEST, 1},       // ERROR_INVALID_FUNCTION
        {STATUS_MORE_PROCESSING_REQUIRED, 234},   // ERROR_MORE_DATA
        {STATUS_NO_MEMORY, 8},                    // ERROR_NOT_ENOUGH_MEMORY
        {STATUS_ACCESS_DENIED, 5},                // ERROR_ACCESS_DENIED
        {STATUS_BUFFER_TOO_SMALL, 122},           // ERROR_INSUFFICIENT_BUFFER
        {STATUS_OBJECT_NAME_INVALID, 123},        // ERROR_INVALID_NAME
        {STATUS_OBJECT_NAME_NOT_FOUND, 2},        // ERROR_FILE_NOT_FOUND
        {STATUS_OBJECT_NAME_COLLISION, 183},      // ERROR_ALREADY_EXISTS
        {STATUS_DATA_ERROR, 23},                  // ERROR_CRC
        {STATUS_DELETE_PENDING, 303},             // ERROR_DELETE_PENDING
        {STATUS_INTEGER_OVERFLOW, 534},           // ERROR_ARITHMETIC_OVERFLOW
        {STATUS_INSUFFICIENT_RESOURCES, 1450},    // ERROR_NO_SYSTEM_RESOURCES
        {STATUS_DEVICE_DATA_ERROR, 23},           // ERROR_CRC
        {STATUS_DEVICE_NOT_CONNECTED, 1167},      // ERROR_DEVICE_NOT_CONNECTED
        {STATUS_DEVICE_NOT_READY, 21},            // ERROR_NOT_READY
        {STATUS_IO_TIMEOUT, 121},                 // ERROR_SEM_TIMEOUT
        {STATUS_NOT_SUPPORTED, 50},               // ERROR_NOT_SUPPORTED
        {STATUS_DEVICE_DOES_NOT_EXIST, 55},       // ERROR_DEV_NOT_EXIST
        {STATUS_CANCELLED, 995},                  // ERROR_OPERATION_ABORTED
        {STATUS_INVALID_DEVICE_STATE, 22},        // ERROR_BAD_COMMAND
        {STATUS_IO_DEVICE_ERROR, 1117},           // ERROR_IO_DEVICE
        {STATUS_INVALID_BUFFER_SIZE, 1784},       // ERROR_INVALID_USER_BUFFER
        {STATUS_DEVICE_REMOVED, 1617},            // ERROR_DEVICE_REMOVED
    };
    for (const Entry& e : table)
        if (e.status == status) return e.error;
    return 317;  // ERROR_MR_MID_NOT_FOUND: what the real mapping gives a code it does not know
}

}  // namespace user
