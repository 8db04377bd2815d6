// What the platform's kernel pieces share among themselves (and with pnp/user/usb): never seen by the driver.
#pragma once

#include "platform/kernel/wdm.h"

namespace kernel {

// The driver whose code this thread is running, so allocations are charged to it.
PDRIVER_OBJECT CurrentDriver();

class DriverScope {
public:
    explicit DriverScope(PDRIVER_OBJECT driver);
    ~DriverScope();
    DriverScope(const DriverScope&) = delete;
    DriverScope& operator=(const DriverScope&) = delete;

private:
    PDRIVER_OBJECT previous_;
};

// Spin locks this thread holds (the verifier's view).
int HeldSpinLocks();
// Reports a violation when this thread holds a spin lock while calling routine.
void CheckNoSpinLockHeld(const char* routine);
// Sets the calling thread's IRQL without any check (bus threads, test set-up).
void SetCurrentIrql(KIRQL irql);

// Who issued a request: decides what happens once its completion has climbed past the top location.
enum class IrpOwner { Driver, IoManager };

struct IoControlBuffers {
    ULONG code;
    PVOID input;
    ULONG inputLength;
    PVOID output;
    ULONG outputLength;
};

// An IRP for the device's stack with its next location set up, allocated without fault injection
// (the I/O manager's own); buffers set up by transfer method when control is given.
PIRP AllocateIoManagerIrp(PDEVICE_OBJECT device, UCHAR major, PKEVENT event, PIO_STATUS_BLOCK iosb,
                          const IoControlBuffers* control, KPROCESSOR_MODE mode, PFILE_OBJECT file);

// Sends an I/O-manager IRP to device at PASSIVE_LEVEL and waits for it; returns the final status block.
IO_STATUS_BLOCK SendAndWait(PDEVICE_OBJECT device, PIRP irp, PKEVENT event, PIO_STATUS_BLOCK iosb);

// MDLs the I/O manager builds for its own requests (not charged to any driver, never fault-injected).
PMDL AllocateMdlUntracked(PVOID address, ULONG length);
void FreeMdlUntracked(PMDL mdl);

// IoCreateDevice; faultable says whether pool fault injection applies (not for the platform's own devices).
NTSTATUS CreateDevice(PDRIVER_OBJECT DriverObject, ULONG DeviceExtensionSize, PUNICODE_STRING DeviceName,
                      DEVICE_TYPE DeviceType, ULONG DeviceCharacteristics, BOOLEAN Exclusive,
                      PDEVICE_OBJECT* DeviceObject, bool faultable);

// Object namespace: resolves symbolic links (\DosDevices\X is \??\X) to the named device.
PDEVICE_OBJECT LookupDevice(const char16_t* name);
PDEVICE_OBJECT TopOfStack(PDEVICE_OBJECT device);

// Platform state between tests.
void ResetIo();
void ResetObjects();
void ResetThreadState();
void ResetForTest();

}  // namespace kernel
