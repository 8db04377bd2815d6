// The I/O manager: IRP allocation, IofCallDriver, the completion climb, cancel, and requests it owns.
//
// Every IRP the platform hands out has a record (state, owner, per-location bookkeeping) under one lock.
// Driver code never runs with that lock held. Freed IRPs stay in a quarantine for a while, so a driver
// touching one after completion is reported instead of reading freed memory.
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "platform/kernel/internal.h"
#include "platform/verifier/verifier.h"

namespace kernel {
namespace {

enum class State { Idle, InFlight, Completing, Freed };

// What the verifier learns about one stack location: what its dispatch routine returned and whether
// the location was marked pending when the completion climbed through it; whichever comes second checks.
struct Location {
    bool returned = false;
    bool returnedPending = false;
    NTSTATUS returnedStatus = 0;
    bool climbed = false;
    bool marked = false;
};

struct IrpRecord {
    State state = State::Idle;
    IrpOwner owner = IrpOwner::Driver;
    bool external = false;     // initialised by IoInitializeIrp in the caller's memory
    uint64_t generation = 0;   // bumped by each completion, free and reuse
    std::vector<Location> locations;
    // Requests the I/O manager built:
    bool deviceControl = false;
    ULONG method = METHOD_BUFFERED;
    ULONG outputLength = 0;
    PVOID systemBuffer = nullptr;
};

constexpr size_t kQuarantine = 256;

std::mutex lock;
std::map<PIRP, IrpRecord> records;
std::deque<PIRP> quarantine;

IrpRecord* Find(PIRP irp) {
    auto it = records.find(irp);
    return it == records.end() ? nullptr : &it->second;
}

void InitializeIrp(PIRP irp, USHORT packetSize, CCHAR stackSize) {
    __builtin_memset(irp, 0, packetSize);
    irp->Type = IO_TYPE_IRP;
    irp->Size = packetSize;
    irp->StackCount = stackSize;
    irp->CurrentLocation = static_cast<CHAR>(stackSize + 1);
    InitializeListHead(&irp->ThreadListEntry);
    irp->Tail.Overlay.CurrentStackLocation = reinterpret_cast<PIO_STACK_LOCATION>(irp + 1) + stackSize;
}

// Caller holds lock.
void CompareLocation(PIRP irp, const Location& l, int index) {
    if (l.returnedPending && !l.marked)
        verifier::Violation("IRP %p: dispatch at stack location %d returned STATUS_PENDING without IoMarkIrpPending",
                            static_cast<void*>(irp), index);
    else if (!l.returnedPending && l.marked)
        verifier::Violation("IRP %p: stack location %d marked pending but its dispatch returned 0x%08X",
                            static_cast<void*>(irp), index, static_cast<unsigned>(l.returnedStatus));
}

// Caller holds lock. Memory stays until it leaves the quarantine.
void Retire(PIRP irp, IrpRecord& r) {
    r.state = State::Freed;
    ++r.generation;
    quarantine.push_back(irp);
    if (quarantine.size() > kQuarantine) {
        PIRP oldest = quarantine.front();
        quarantine.pop_front();
        IrpRecord* old = Find(oldest);
        if (old && !old->external) free(oldest);
        records.erase(oldest);
    }
}

PIRP NewIrp(CCHAR stackSize, IrpOwner owner, const void* site) {
    USHORT size = IoSizeOfIrp(stackSize);
    auto irp = static_cast<PIRP>(malloc(size));
    if (!irp) return nullptr;
    InitializeIrp(irp, size, stackSize);
    std::lock_guard guard(lock);
    IrpRecord& r = records[irp];
    r = IrpRecord{};
    r.owner = owner;
    r.locations.resize(stackSize + 2);
    if (owner == IrpOwner::Driver) verifier::Track(verifier::Kind::Irp, irp, size, 0, site, CurrentDriver());
    return irp;
}

// Finishes a request of the I/O manager once its completion climbed past the top: copy-back, status block,
// buffers, the IRP itself, then the issuer's event.
void FinishIoManagerIrp(PIRP irp) {
    IrpRecord snapshot;
    {
        std::lock_guard guard(lock);
        IrpRecord* r = Find(irp);
        snapshot = *r;
    }
    NTSTATUS status = irp->IoStatus.Status;
    ULONG_PTR information = irp->IoStatus.Information;
    if (snapshot.deviceControl && !NT_ERROR(status) && information > snapshot.outputLength) {
        verifier::Violation("IRP %p completed with Information %zu, larger than its %u-byte output buffer",
                            static_cast<void*>(irp), static_cast<size_t>(information), snapshot.outputLength);
        information = snapshot.outputLength;
    }
    if (NT_ERROR(status)) information = 0;
    if (snapshot.deviceControl && snapshot.method == METHOD_BUFFERED && information && irp->UserBuffer)
        __builtin_memcpy(irp->UserBuffer, snapshot.systemBuffer, information);
    free(snapshot.systemBuffer);
    for (PMDL mdl = irp->MdlAddress; mdl;) {
        PMDL next = mdl->Next;
        FreeMdlUntracked(mdl);
        mdl = next;
    }
    irp->MdlAddress = nullptr;
    PKEVENT event = irp->UserEvent;
    if (irp->UserIosb) {
        irp->UserIosb->Status = status;
        irp->UserIosb->Information = information;
    }
    if (verifier::IsTracked(verifier::Kind::Irp, irp)) verifier::Untrack(verifier::Kind::Irp, irp, "IofCompleteRequest");
    {
        std::lock_guard guard(lock);
        if (IrpRecord* r = Find(irp)) {
            r->systemBuffer = nullptr;  // freed above
            Retire(irp, *r);
        }
    }
    if (event) KeSetEvent(event, IO_NO_INCREMENT, FALSE);
}

bool RoutineApplies(PIRP irp, UCHAR control) {
    NTSTATUS status = irp->IoStatus.Status;
    return (NT_SUCCESS(status) && (control & SL_INVOKE_ON_SUCCESS)) ||
           (!NT_SUCCESS(status) && (control & SL_INVOKE_ON_ERROR)) ||
           (__atomic_load_n(&irp->Cancel, __ATOMIC_ACQUIRE) && (control & SL_INVOKE_ON_CANCEL));
}

}  // namespace

PIRP AllocateIoManagerIrp(PDEVICE_OBJECT device, UCHAR major, PKEVENT event, PIO_STATUS_BLOCK iosb,
                          const IoControlBuffers* control, KPROCESSOR_MODE mode, PFILE_OBJECT file) {
    PIRP irp = NewIrp(device->StackSize, IrpOwner::IoManager, nullptr);
    if (!irp) return nullptr;
    irp->RequestorMode = mode;
    irp->UserIosb = iosb;
    irp->UserEvent = event;
    irp->Tail.Overlay.OriginalFileObject = file;
    irp->IoStatus.Status = STATUS_SUCCESS;
    PIO_STACK_LOCATION next = irp->Tail.Overlay.CurrentStackLocation - 1;
    next->MajorFunction = major;
    next->FileObject = file;
    if (!control) return irp;

    ULONG method = METHOD_FROM_CTL_CODE(control->code);
    next->Parameters.DeviceIoControl.IoControlCode = control->code;
    next->Parameters.DeviceIoControl.InputBufferLength = control->inputLength;
    next->Parameters.DeviceIoControl.OutputBufferLength = control->outputLength;
    PVOID systemBuffer = nullptr;
    ULONG systemLength = 0;
    if (method == METHOD_BUFFERED) {
        systemLength = control->inputLength > control->outputLength ? control->inputLength : control->outputLength;
        irp->UserBuffer = control->output;
        irp->Flags = IRP_BUFFERED_IO | IRP_DEALLOCATE_BUFFER | (control->outputLength ? IRP_INPUT_OPERATION : 0);
    } else if (method == METHOD_NEITHER) {
        next->Parameters.DeviceIoControl.Type3InputBuffer = control->input;
        irp->UserBuffer = control->output;
    } else {
        systemLength = control->inputLength;
        if (control->outputLength) {
            irp->MdlAddress = AllocateMdlUntracked(control->output, control->outputLength);
            MmProbeAndLockPages(irp->MdlAddress, mode, method == METHOD_OUT_DIRECT ? IoWriteAccess : IoReadAccess);
        }
    }
    if (systemLength) {
        systemBuffer = calloc(1, systemLength);  // exactly sized
        if (control->inputLength) __builtin_memcpy(systemBuffer, control->input, control->inputLength);
        irp->AssociatedIrp.SystemBuffer = systemBuffer;
    }
    std::lock_guard guard(lock);
    IrpRecord& r = *Find(irp);
    r.deviceControl = true;
    r.method = method;
    r.outputLength = control->outputLength;
    r.systemBuffer = systemBuffer;
    return irp;
}

IO_STATUS_BLOCK SendAndWait(PDEVICE_OBJECT device, PIRP irp, PKEVENT event, PIO_STATUS_BLOCK iosb) {
    NTSTATUS status = IofCallDriver(device, irp);
    if (status == STATUS_PENDING) {
        KeWaitForSingleObject(event, Executive, KernelMode, FALSE, nullptr);
        return *iosb;
    }
    // Completed before returning, so the event is set, unless the dispatch broke the rules (already reported).
    LARGE_INTEGER test{};
    if (KeWaitForSingleObject(event, Executive, KernelMode, FALSE, &test) == STATUS_SUCCESS) return *iosb;
    IO_STATUS_BLOCK result{};
    result.Status = status;
    return result;
}

void ResetIo() {
    std::lock_guard guard(lock);
    for (auto& [irp, r] : records) {
        if (r.external) continue;
        free(r.systemBuffer);
        if (r.state != State::Freed) {
            for (PMDL mdl = irp->MdlAddress; mdl && r.owner == IrpOwner::IoManager;) {
                PMDL next = mdl->Next;
                free(mdl);
                mdl = next;
            }
        }
        free(irp);
    }
    records.clear();
    quarantine.clear();
}

}  // namespace kernel

using kernel::IrpRecord;
using kernel::State;

extern "C" {

VOID LumoraNoteIrpAccess(PIRP Irp) {
    std::lock_guard guard(kernel::lock);
    IrpRecord* r = kernel::Find(Irp);
    if (r && r->state == State::Freed)
        verifier::Violation("IRP %p touched after its completion freed it", static_cast<void*>(Irp));
}

PIRP IoAllocateIrp(CCHAR StackSize, BOOLEAN ChargeQuota) {
    (void)ChargeQuota;
    if (KeGetCurrentIrql() > DISPATCH_LEVEL) verifier::Violation("IoAllocateIrp at IRQL %d", KeGetCurrentIrql());
    if (StackSize < 1) {
        verifier::Violation("IoAllocateIrp with a stack size of %d", StackSize);
        return nullptr;
    }
    if (verifier::ShouldFail(verifier::Fault::Irp)) return nullptr;
    return kernel::NewIrp(StackSize, kernel::IrpOwner::Driver, __builtin_return_address(0));
}

VOID IoInitializeIrp(PIRP Irp, USHORT PacketSize, CCHAR StackSize) {
    std::lock_guard guard(kernel::lock);
    IrpRecord* r = kernel::Find(Irp);
    if (r && (r->state == State::InFlight || r->state == State::Completing)) {
        verifier::Violation("IoInitializeIrp on IRP %p while it is in flight", static_cast<void*>(Irp));
        return;
    }
    if (PacketSize < IoSizeOfIrp(StackSize)) {
        verifier::Violation("IoInitializeIrp: %u bytes do not hold %d stack locations", PacketSize, StackSize);
        return;
    }
    kernel::InitializeIrp(Irp, PacketSize, StackSize);
    if (!r) {
        r = &kernel::records[Irp];
        r->external = true;
    }
    r->state = State::Idle;
    r->locations.assign(StackSize + 2, {});
}

VOID IoFreeIrp(PIRP Irp) {
    std::lock_guard guard(kernel::lock);
    IrpRecord* r = kernel::Find(Irp);
    if (!r || r->external || r->owner != kernel::IrpOwner::Driver) {
        verifier::Violation(r && r->state == State::Freed ? "IoFreeIrp: IRP %p freed twice"
                                                          : "IoFreeIrp: %p is not an IRP from IoAllocateIrp",
                            static_cast<void*>(Irp));
        return;
    }
    if (r->state == State::Freed) {
        verifier::Violation("IoFreeIrp: IRP %p freed twice", static_cast<void*>(Irp));
        return;
    }
    if (r->state == State::InFlight || (r->state == State::Completing && Irp->CurrentLocation <= Irp->StackCount)) {
        verifier::Violation("IoFreeIrp: IRP %p freed while in flight", static_cast<void*>(Irp));
        return;
    }
    verifier::Untrack(verifier::Kind::Irp, Irp, "IoFreeIrp");
    kernel::Retire(Irp, *r);
}

VOID IoReuseIrp(PIRP Irp, NTSTATUS Iostatus) {
    std::lock_guard guard(kernel::lock);
    IrpRecord* r = kernel::Find(Irp);
    if (r && (r->state == State::Freed || r->state == State::InFlight ||
              (r->state == State::Completing && Irp->CurrentLocation <= Irp->StackCount))) {
        verifier::Violation("IoReuseIrp on IRP %p that is %s", static_cast<void*>(Irp),
                            r->state == State::Freed ? "freed" : "in flight");
        return;
    }
    UCHAR allocationFlags = Irp->AllocationFlags;
    kernel::InitializeIrp(Irp, Irp->Size, Irp->StackCount);
    Irp->AllocationFlags = allocationFlags;
    Irp->IoStatus.Status = Iostatus;
    if (r) {
        r->state = State::Idle;
        ++r->generation;
        r->locations.assign(Irp->StackCount + 2, {});
    }
}

NTSTATUS IofCallDriver(PDEVICE_OBJECT DeviceObject, PIRP Irp) {
    KIRQL irql = KeGetCurrentIrql();
    if (irql > DISPATCH_LEVEL) verifier::Violation("IofCallDriver at IRQL %d", irql);
    kernel::CheckNoSpinLockHeld("IofCallDriver");
    {
        std::lock_guard guard(kernel::lock);
        IrpRecord* r = kernel::Find(Irp);
        if (r && r->state == State::Freed) {
            verifier::Violation("IofCallDriver: IRP %p touched after its completion freed it", static_cast<void*>(Irp));
            return STATUS_INVALID_PARAMETER;
        }
        if (Irp->CurrentLocation <= 1) {
            verifier::Violation("IofCallDriver: IRP %p has no stack location left for device %p",
                                static_cast<void*>(Irp), static_cast<void*>(DeviceObject));
            return STATUS_INVALID_PARAMETER;
        }
        IoSetNextIrpStackLocation(Irp);
        if (r) {
            r->state = State::InFlight;
            r->locations[Irp->CurrentLocation] = {};
        }
    }
    int index = Irp->CurrentLocation;
    PIO_STACK_LOCATION location = Irp->Tail.Overlay.CurrentStackLocation;
    location->DeviceObject = DeviceObject;
    PDRIVER_OBJECT driver = DeviceObject->DriverObject;
    NTSTATUS status;
    {
        kernel::DriverScope scope(driver);
        status = driver->MajorFunction[location->MajorFunction](DeviceObject, Irp);
    }
    if (KeGetCurrentIrql() != irql)
        verifier::Violation("dispatch routine of major function 0x%02X returned at IRQL %d, entered at %d",
                            location->MajorFunction, KeGetCurrentIrql(), irql);

    std::lock_guard guard(kernel::lock);
    if (IrpRecord* r = kernel::Find(Irp)) {
        kernel::Location& l = r->locations[index];
        l.returned = true;
        l.returnedPending = status == STATUS_PENDING;
        l.returnedStatus = status;
        if (l.climbed)
            kernel::CompareLocation(Irp, l, index);
        else if (!l.returnedPending)
            verifier::Violation("IRP %p: dispatch returned 0x%08X without completing it or returning STATUS_PENDING",
                                static_cast<void*>(Irp), static_cast<unsigned>(status));
    }
    return status;
}

NTSTATUS PoCallDriver(PDEVICE_OBJECT DeviceObject, PIRP Irp) { return IofCallDriver(DeviceObject, Irp); }

VOID PoStartNextPowerIrp(PIRP Irp) { (void)Irp; }

POWER_STATE PoSetPowerState(PDEVICE_OBJECT DeviceObject, POWER_STATE_TYPE Type, POWER_STATE State) {
    (void)DeviceObject;
    (void)Type;
    return State;
}

VOID IofCompleteRequest(PIRP Irp, CCHAR PriorityBoost) {
    (void)PriorityBoost;
    KIRQL irql = KeGetCurrentIrql();
    if (irql > DISPATCH_LEVEL) verifier::Violation("IofCompleteRequest at IRQL %d, above DISPATCH_LEVEL", irql);
    uint64_t generation = 0;
    bool tracked = false;
    {
        std::lock_guard guard(kernel::lock);
        IrpRecord* r = kernel::Find(Irp);
        if (r) {
            if (r->state == State::Freed) {
                verifier::Violation("IofCompleteRequest: IRP %p completed again after its completion freed it",
                                    static_cast<void*>(Irp));
                return;
            }
            if (r->state == State::Idle) {
                verifier::Violation("IofCompleteRequest: IRP %p completed twice (it is not in flight)",
                                    static_cast<void*>(Irp));
                return;
            }
            r->state = State::Completing;
            generation = ++r->generation;
            tracked = true;
        }
    }
    if (Irp->IoStatus.Status == STATUS_PENDING)
        verifier::Violation("IofCompleteRequest: IRP %p completed with STATUS_PENDING", static_cast<void*>(Irp));
    if (__atomic_load_n(&Irp->CancelRoutine, __ATOMIC_ACQUIRE))
        verifier::Violation("IofCompleteRequest: IRP %p completed with its cancel routine still set",
                            static_cast<void*>(Irp));

    while (Irp->CurrentLocation <= Irp->StackCount) {
        PIO_STACK_LOCATION location = Irp->Tail.Overlay.CurrentStackLocation;
        int index = Irp->CurrentLocation;
        UCHAR control = location->Control;
        PIO_COMPLETION_ROUTINE routine = location->CompletionRoutine;
        PVOID context = location->Context;
        Irp->PendingReturned = (control & SL_PENDING_RETURNED) ? TRUE : FALSE;
        if (tracked) {
            std::lock_guard guard(kernel::lock);
            kernel::Location& l = kernel::Find(Irp)->locations[index];
            l.climbed = true;
            l.marked = Irp->PendingReturned;
            if (l.returned) kernel::CompareLocation(Irp, l, index);
        }
        location->MinorFunction = 0;
        location->Flags = 0;
        location->Control = 0;
        location->Parameters.Others = {};
        location->FileObject = nullptr;
        location->CompletionRoutine = nullptr;
        location->Context = nullptr;
        IoSkipCurrentIrpStackLocation(Irp);

        if (routine && kernel::RoutineApplies(Irp, control)) {
            PDEVICE_OBJECT above = Irp->CurrentLocation > Irp->StackCount
                                       ? nullptr
                                       : Irp->Tail.Overlay.CurrentStackLocation->DeviceObject;
            NTSTATUS status;
            {
                kernel::DriverScope scope(above ? above->DriverObject : kernel::CurrentDriver());
                status = routine(above, Irp, context);
            }
            if (!tracked) {
                if (status == STATUS_MORE_PROCESSING_REQUIRED) return;
                continue;
            }
            std::lock_guard guard(kernel::lock);
            IrpRecord* r = kernel::Find(Irp);
            if (r->generation != generation) {
                // Completed again, reused or freed while the routine ran: fine only if it then stopped the climb.
                if (status != STATUS_MORE_PROCESSING_REQUIRED)
                    verifier::Violation("IRP %p completed twice: a completion routine completed or freed it and "
                                        "returned 0x%08X", static_cast<void*>(Irp), static_cast<unsigned>(status));
                return;
            }
            if (status == STATUS_MORE_PROCESSING_REQUIRED) {
                r->state = Irp->CurrentLocation > Irp->StackCount ? State::Idle : State::InFlight;
                return;
            }
        } else if (Irp->PendingReturned && Irp->CurrentLocation <= Irp->StackCount) {
            IoMarkIrpPending(Irp);
        }
    }

    if (!tracked) return;
    kernel::IrpOwner owner;
    {
        std::lock_guard guard(kernel::lock);
        IrpRecord* r = kernel::Find(Irp);
        owner = r->owner;
        if (owner == kernel::IrpOwner::Driver) {
            r->state = State::Idle;
            verifier::Violation("IRP %p from IoAllocateIrp completed past its top location: its completion routine "
                                "must return STATUS_MORE_PROCESSING_REQUIRED", static_cast<void*>(Irp));
        }
    }
    if (owner == kernel::IrpOwner::IoManager) kernel::FinishIoManagerIrp(Irp);
}

PIRP IoBuildDeviceIoControlRequest(ULONG IoControlCode, PDEVICE_OBJECT DeviceObject, PVOID InputBuffer,
                                   ULONG InputBufferLength, PVOID OutputBuffer, ULONG OutputBufferLength,
                                   BOOLEAN InternalDeviceIoControl, PKEVENT Event, PIO_STATUS_BLOCK IoStatusBlock) {
    if (KeGetCurrentIrql() > PASSIVE_LEVEL)
        verifier::Violation("IoBuildDeviceIoControlRequest at IRQL %d", KeGetCurrentIrql());
    if (verifier::ShouldFail(verifier::Fault::Request)) return nullptr;
    kernel::IoControlBuffers control{IoControlCode, InputBuffer, InputBufferLength, OutputBuffer, OutputBufferLength};
    PIRP irp = kernel::AllocateIoManagerIrp(
        DeviceObject, InternalDeviceIoControl ? IRP_MJ_INTERNAL_DEVICE_CONTROL : IRP_MJ_DEVICE_CONTROL, Event,
        IoStatusBlock, &control, KernelMode, nullptr);
    // Charged to the caller until the I/O manager finishes it, so an IRP built and never sent is a leak.
    if (irp) verifier::Track(verifier::Kind::Irp, irp, irp->Size, 0, __builtin_return_address(0),
                             kernel::CurrentDriver());
    return irp;
}

BOOLEAN IoCancelIrp(PIRP Irp) {
    kernel::CheckNoSpinLockHeld("IoCancelIrp");
    if (KeGetCurrentIrql() > DISPATCH_LEVEL) verifier::Violation("IoCancelIrp at IRQL %d", KeGetCurrentIrql());
    LumoraNoteIrpAccess(Irp);
    KIRQL irql;
    IoAcquireCancelSpinLock(&irql);
    __atomic_store_n(&Irp->Cancel, TRUE, __ATOMIC_RELEASE);
    PDRIVER_CANCEL routine = IoSetCancelRoutine(Irp, nullptr);
    if (!routine) {
        IoReleaseCancelSpinLock(irql);
        return FALSE;
    }
    Irp->CancelIrql = irql;
    PDEVICE_OBJECT device = Irp->Tail.Overlay.CurrentStackLocation->DeviceObject;
    {
        kernel::DriverScope scope(device ? device->DriverObject : kernel::CurrentDriver());
        routine(device, Irp);
    }
    if (kernel::HeldSpinLocks() > 0) {
        verifier::Violation("cancel routine of IRP %p returned without releasing the cancel spin lock",
                            static_cast<void*>(Irp));
        IoReleaseCancelSpinLock(irql);
    }
    return TRUE;
}

}  // extern "C"
