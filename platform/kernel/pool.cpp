// Pool allocation (exactly sized heap blocks, so the address sanitizer sees overruns) and string helpers.
#include <cstdlib>

#include "platform/kernel/internal.h"
#include "platform/verifier/verifier.h"

namespace {

constexpr ULONG kUntaggedTag = 0x656E6F4E;  // 'None', what the untagged routine charges

PVOID Allocate(POOL_TYPE type, SIZE_T size, ULONG tag, const void* site) {
    KIRQL irql = KeGetCurrentIrql();
    if (irql > DISPATCH_LEVEL || (type == PagedPool && irql > APC_LEVEL))
        verifier::Violation("ExAllocatePool of %s pool at IRQL %d", type == PagedPool ? "paged" : "non-paged", irql);
    if (verifier::ShouldFail(verifier::Fault::Pool)) return nullptr;
    void* block = malloc(size ? size : 1);
    if (block) verifier::Track(verifier::Kind::Pool, block, size, tag, site, kernel::CurrentDriver());
    return block;
}

void Free(PVOID block) {
    if (KeGetCurrentIrql() > DISPATCH_LEVEL) verifier::Violation("ExFreePool at IRQL %d", KeGetCurrentIrql());
    if (verifier::Untrack(verifier::Kind::Pool, block, "ExFreePool")) free(block);
}

}  // namespace

extern "C" {

PVOID ExAllocatePool(POOL_TYPE PoolType, SIZE_T NumberOfBytes) {
    return Allocate(PoolType, NumberOfBytes, kUntaggedTag, __builtin_return_address(0));
}

PVOID ExAllocatePoolWithTag(POOL_TYPE PoolType, SIZE_T NumberOfBytes, ULONG Tag) {
    return Allocate(PoolType, NumberOfBytes, Tag, __builtin_return_address(0));
}

VOID ExFreePool(PVOID P) { Free(P); }

VOID ExFreePoolWithTag(PVOID P, ULONG Tag) {
    (void)Tag;
    Free(P);
}

VOID RtlInitUnicodeString(PUNICODE_STRING DestinationString, PCWSTR SourceString) {
    size_t length = 0;
    if (SourceString)
        while (SourceString[length]) ++length;
    DestinationString->Buffer = const_cast<PWCH>(SourceString);
    DestinationString->Length = static_cast<USHORT>(length * sizeof(WCHAR));
    DestinationString->MaximumLength = SourceString ? static_cast<USHORT>((length + 1) * sizeof(WCHAR)) : 0;
}

}  // extern "C"
