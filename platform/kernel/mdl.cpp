// Memory descriptor lists. In user mode a buffer's "system mapping" is its own address; what is modelled is
// the bookkeeping drivers rely on: flags, partial MDLs, mappings and their release.
#include <cstdlib>

#include "platform/kernel/internal.h"
#include "platform/verifier/verifier.h"

namespace {

constexpr ULONG kMaxMdlLength = 0x7FFFF000;  // roughly what one MDL can describe

PMDL NewMdl(PVOID address, ULONG length) {
    ULONG pages = ADDRESS_AND_SIZE_TO_SPAN_PAGES(address, length);
    size_t size = sizeof(MDL) + pages * sizeof(PFN_NUMBER);
    auto mdl = static_cast<PMDL>(calloc(1, size));
    if (!mdl) return nullptr;
    mdl->Size = static_cast<CSHORT>(size);
    mdl->StartVa = PAGE_ALIGN(address);
    mdl->ByteOffset = BYTE_OFFSET(address);
    mdl->ByteCount = length;
    return mdl;
}

// The "page frame numbers" of a user-mode buffer are its virtual page numbers.
void FillPages(PMDL mdl) {
    auto pages = reinterpret_cast<PPFN_NUMBER>(mdl + 1);
    ULONG count = ADDRESS_AND_SIZE_TO_SPAN_PAGES(MmGetMdlVirtualAddress(mdl), mdl->ByteCount);
    for (ULONG i = 0; i < count; ++i) pages[i] = (reinterpret_cast<ULONG_PTR>(mdl->StartVa) >> PAGE_SHIFT) + i;
}

ULONG Capacity(PMDL mdl) { return static_cast<ULONG>((mdl->Size - sizeof(MDL)) / sizeof(PFN_NUMBER)); }

}  // namespace

namespace kernel {

PMDL AllocateMdlUntracked(PVOID address, ULONG length) { return NewMdl(address, length); }

void FreeMdlUntracked(PMDL mdl) {
    if (mdl->MdlFlags & MDL_MAPPED_TO_SYSTEM_VA) MmUnmapLockedPages(mdl->MappedSystemVa, mdl);
    free(mdl);
}

}  // namespace kernel

extern "C" {

PMDL IoAllocateMdl(PVOID VirtualAddress, ULONG Length, BOOLEAN SecondaryBuffer, BOOLEAN ChargeQuota, PIRP Irp) {
    (void)ChargeQuota;
    if (KeGetCurrentIrql() > DISPATCH_LEVEL) verifier::Violation("IoAllocateMdl at IRQL %d", KeGetCurrentIrql());
    if (Length > kMaxMdlLength) return nullptr;
    if (verifier::ShouldFail(verifier::Fault::Mdl)) return nullptr;
    PMDL mdl = NewMdl(VirtualAddress, Length);
    if (!mdl) return nullptr;
    verifier::Track(verifier::Kind::Mdl, mdl, mdl->Size, 0, __builtin_return_address(0), kernel::CurrentDriver());
    if (Irp) {
        if (!SecondaryBuffer) {
            Irp->MdlAddress = mdl;
        } else {
            PMDL* tail = &Irp->MdlAddress;
            while (*tail) tail = &(*tail)->Next;
            *tail = mdl;
        }
    }
    return mdl;
}

VOID IoFreeMdl(PMDL Mdl) {
    if (!verifier::IsTracked(verifier::Kind::Mdl, Mdl)) {
        verifier::Untrack(verifier::Kind::Mdl, Mdl, "IoFreeMdl");  // reports it
        return;
    }
    if (Mdl->MdlFlags & MDL_PARTIAL_HAS_BEEN_MAPPED) {
        MmUnmapLockedPages(Mdl->MappedSystemVa, Mdl);
    } else if ((Mdl->MdlFlags & MDL_MAPPED_TO_SYSTEM_VA) && !(Mdl->MdlFlags & MDL_SOURCE_IS_NONPAGED_POOL)) {
        verifier::Violation("IoFreeMdl: MDL %p freed while still mapped", static_cast<void*>(Mdl));
        MmUnmapLockedPages(Mdl->MappedSystemVa, Mdl);
    }
    verifier::Untrack(verifier::Kind::Mdl, Mdl, "IoFreeMdl");
    free(Mdl);
}

VOID IoBuildPartialMdl(PMDL SourceMdl, PMDL TargetMdl, PVOID VirtualAddress, ULONG Length) {
    auto source = static_cast<PUCHAR>(MmGetMdlVirtualAddress(SourceMdl));
    auto start = static_cast<PUCHAR>(VirtualAddress);
    if (start < source || start > source + SourceMdl->ByteCount) {
        verifier::Violation("IoBuildPartialMdl: address %p outside source MDL %p", VirtualAddress,
                            static_cast<void*>(SourceMdl));
        return;
    }
    ULONG offset = static_cast<ULONG>(start - source);
    if (Length == 0) Length = SourceMdl->ByteCount - offset;
    if (Length > SourceMdl->ByteCount - offset) {
        verifier::Violation("IoBuildPartialMdl: %u bytes at offset %u run past the %u-byte source MDL", Length,
                            offset, SourceMdl->ByteCount);
        return;
    }
    if (ADDRESS_AND_SIZE_TO_SPAN_PAGES(VirtualAddress, Length) > Capacity(TargetMdl)) {
        verifier::Violation("IoBuildPartialMdl: target MDL %p too small for %u bytes", static_cast<void*>(TargetMdl),
                            Length);
        return;
    }
    if (TargetMdl->MdlFlags & MDL_PARTIAL_HAS_BEEN_MAPPED) {
        verifier::Violation("IoBuildPartialMdl: target MDL %p still mapped from its last use",
                            static_cast<void*>(TargetMdl));
        MmUnmapLockedPages(TargetMdl->MappedSystemVa, TargetMdl);
    }
    TargetMdl->Process = SourceMdl->Process;
    TargetMdl->StartVa = PAGE_ALIGN(VirtualAddress);
    TargetMdl->ByteOffset = BYTE_OFFSET(VirtualAddress);
    TargetMdl->ByteCount = Length;
    TargetMdl->MdlFlags = static_cast<CSHORT>(MDL_PARTIAL | (SourceMdl->MdlFlags & MDL_SOURCE_IS_NONPAGED_POOL));
    TargetMdl->MappedSystemVa = (SourceMdl->MdlFlags & MDL_SOURCE_IS_NONPAGED_POOL)
                                    ? static_cast<PUCHAR>(SourceMdl->MappedSystemVa) + offset
                                    : nullptr;
    FillPages(TargetMdl);
}

VOID MmBuildMdlForNonPagedPool(PMDL MemoryDescriptorList) {
    MemoryDescriptorList->MappedSystemVa = MmGetMdlVirtualAddress(MemoryDescriptorList);
    MemoryDescriptorList->MdlFlags |= MDL_SOURCE_IS_NONPAGED_POOL;
    FillPages(MemoryDescriptorList);
}

VOID MmProbeAndLockPages(PMDL MemoryDescriptorList, KPROCESSOR_MODE AccessMode, LOCK_OPERATION Operation) {
    (void)AccessMode;
    MemoryDescriptorList->MdlFlags |= MDL_PAGES_LOCKED;
    if (Operation != IoReadAccess) MemoryDescriptorList->MdlFlags |= MDL_WRITE_OPERATION;
    FillPages(MemoryDescriptorList);
}

VOID MmUnlockPages(PMDL MemoryDescriptorList) {
    MemoryDescriptorList->MdlFlags &= static_cast<CSHORT>(~(MDL_PAGES_LOCKED | MDL_WRITE_OPERATION));
}

PVOID MmMapLockedPagesSpecifyCache(PMDL MemoryDescriptorList, KPROCESSOR_MODE AccessMode,
                                   MEMORY_CACHING_TYPE CacheType, PVOID RequestedAddress, ULONG BugCheckOnFailure,
                                   ULONG Priority) {
    (void)AccessMode;
    (void)CacheType;
    (void)RequestedAddress;
    (void)BugCheckOnFailure;
    (void)Priority;
    PMDL mdl = MemoryDescriptorList;
    if (mdl->MdlFlags & MDL_MAPPED_TO_SYSTEM_VA) {
        verifier::Violation("MmMapLockedPages: MDL %p is already mapped", static_cast<void*>(mdl));
        return mdl->MappedSystemVa;
    }
    if (!(mdl->MdlFlags & (MDL_PAGES_LOCKED | MDL_PARTIAL | MDL_SOURCE_IS_NONPAGED_POOL)))
        verifier::Violation("MmMapLockedPages: MDL %p describes pages that are not locked", static_cast<void*>(mdl));
    mdl->MappedSystemVa = MmGetMdlVirtualAddress(mdl);
    mdl->MdlFlags |= MDL_MAPPED_TO_SYSTEM_VA;
    if (mdl->MdlFlags & MDL_PARTIAL) mdl->MdlFlags |= MDL_PARTIAL_HAS_BEEN_MAPPED;
    verifier::Track(verifier::Kind::Mapping, mdl, mdl->ByteCount, 0, __builtin_return_address(0),
                    kernel::CurrentDriver());
    return mdl->MappedSystemVa;
}

PVOID MmMapLockedPages(PMDL MemoryDescriptorList, KPROCESSOR_MODE AccessMode) {
    return MmMapLockedPagesSpecifyCache(MemoryDescriptorList, AccessMode, MmCached, nullptr, TRUE,
                                        NormalPagePriority);
}

VOID MmUnmapLockedPages(PVOID BaseAddress, PMDL MemoryDescriptorList) {
    PMDL mdl = MemoryDescriptorList;
    if (!(mdl->MdlFlags & MDL_MAPPED_TO_SYSTEM_VA) || BaseAddress != mdl->MappedSystemVa) {
        verifier::Violation("MmUnmapLockedPages: %p is not the mapping of MDL %p", BaseAddress,
                            static_cast<void*>(mdl));
        return;
    }
    verifier::Untrack(verifier::Kind::Mapping, mdl, "MmUnmapLockedPages");
    mdl->MdlFlags &= static_cast<CSHORT>(~(MDL_MAPPED_TO_SYSTEM_VA | MDL_PARTIAL_HAS_BEEN_MAPPED));
    mdl->MappedSystemVa = nullptr;
}

}  // extern "C"
