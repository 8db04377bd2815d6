// MDLs: what allocation, non-paged building, partial MDLs and mapping set up, and what freeing releases.
#include <vector>

#include "platform/verifier/verifier.h"
#include "tests/support/kernel_test.h"

namespace {

class MdlTest : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        buffer_ = static_cast<PUCHAR>(ExAllocatePoolWithTag(NonPagedPool, kLength, 0x4D647374 /* tsdM */));
        ASSERT_NE(buffer_, nullptr);
    }
    void TearDown() override {
        ExFreePool(buffer_);
        KernelTest::TearDown();
    }
    static constexpr ULONG kLength = 3 * PAGE_SIZE + 100;
    PUCHAR buffer_ = nullptr;
};

TEST_F(MdlTest, AllocationDescribesTheBufferAndIsChainedToTheIrp) {
    PIRP irp = IoAllocateIrp(1, FALSE);
    PMDL first = IoAllocateMdl(buffer_ + 10, 200, FALSE, FALSE, irp);
    PMDL second = IoAllocateMdl(buffer_, 50, TRUE, FALSE, irp);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(MmGetMdlVirtualAddress(first), buffer_ + 10);
    EXPECT_EQ(MmGetMdlByteCount(first), 200u);
    EXPECT_EQ(first->StartVa, PAGE_ALIGN(buffer_ + 10));
    EXPECT_EQ(first->MdlFlags, 0);
    EXPECT_EQ(irp->MdlAddress, first);
    EXPECT_EQ(first->Next, second);
    IoFreeMdl(second);
    IoFreeMdl(first);
    IoFreeIrp(irp);
}

TEST_F(MdlTest, NonPagedBuildSetsTheFlagAndTheSystemAddress) {
    PMDL mdl = IoAllocateMdl(buffer_, kLength, FALSE, FALSE, nullptr);
    MmBuildMdlForNonPagedPool(mdl);
    EXPECT_TRUE(mdl->MdlFlags & MDL_SOURCE_IS_NONPAGED_POOL);
    EXPECT_EQ(mdl->MappedSystemVa, buffer_);
    EXPECT_EQ(MmGetSystemAddressForMdlSafe(mdl, NormalPagePriority), buffer_);
    EXPECT_EQ(verifier::OutstandingCount(verifier::Kind::Mapping), 0u);  // no mapping needed
    IoFreeMdl(mdl);
}

TEST_F(MdlTest, PartialMdlIsMarkedAndCarriesTheNonPagedMapping) {
    PMDL source = IoAllocateMdl(buffer_, kLength, FALSE, FALSE, nullptr);
    MmBuildMdlForNonPagedPool(source);
    PMDL partial = IoAllocateMdl(buffer_, kLength, FALSE, FALSE, nullptr);
    IoBuildPartialMdl(source, partial, buffer_ + PAGE_SIZE + 7, 500);
    EXPECT_EQ(partial->MdlFlags, MDL_PARTIAL | MDL_SOURCE_IS_NONPAGED_POOL);
    EXPECT_EQ(MmGetMdlVirtualAddress(partial), buffer_ + PAGE_SIZE + 7);
    EXPECT_EQ(MmGetMdlByteCount(partial), 500u);
    EXPECT_EQ(MmGetSystemAddressForMdlSafe(partial, NormalPagePriority), buffer_ + PAGE_SIZE + 7);
    IoBuildPartialMdl(source, partial, buffer_ + 100, 0);  // zero length: the rest of the source
    EXPECT_EQ(MmGetMdlByteCount(partial), kLength - 100);
    IoFreeMdl(partial);
    IoFreeMdl(source);
}

TEST_F(MdlTest, PartialOfALockedBufferIsMappedOnDemandAndUnmappedByFree) {
    PMDL source = IoAllocateMdl(buffer_, kLength, FALSE, FALSE, nullptr);
    MmProbeAndLockPages(source, KernelMode, IoWriteAccess);
    PMDL partial = IoAllocateMdl(buffer_, PAGE_SIZE, FALSE, FALSE, nullptr);
    IoBuildPartialMdl(source, partial, buffer_ + 64, 128);
    EXPECT_EQ(partial->MdlFlags, MDL_PARTIAL);
    PVOID mapped = MmGetSystemAddressForMdlSafe(partial, NormalPagePriority);
    EXPECT_EQ(mapped, buffer_ + 64);
    EXPECT_EQ(partial->MdlFlags, MDL_PARTIAL | MDL_MAPPED_TO_SYSTEM_VA | MDL_PARTIAL_HAS_BEEN_MAPPED);
    EXPECT_EQ(verifier::OutstandingCount(verifier::Kind::Mapping), 1u);
    IoFreeMdl(partial);
    EXPECT_EQ(verifier::OutstandingCount(verifier::Kind::Mapping), 0u);
    MmUnlockPages(source);
    IoFreeMdl(source);
}

TEST_F(MdlTest, MapAndUnmapLockedPages) {
    PMDL mdl = IoAllocateMdl(buffer_ + 1, 10, FALSE, FALSE, nullptr);
    MmProbeAndLockPages(mdl, KernelMode, IoReadAccess);
    EXPECT_EQ(MmMapLockedPages(mdl, KernelMode), buffer_ + 1);
    EXPECT_TRUE(mdl->MdlFlags & MDL_MAPPED_TO_SYSTEM_VA);
    EXPECT_EQ(mdl->MappedSystemVa, buffer_ + 1);
    MmUnmapLockedPages(buffer_ + 1, mdl);
    EXPECT_FALSE(mdl->MdlFlags & MDL_MAPPED_TO_SYSTEM_VA);
    MmUnlockPages(mdl);
    IoFreeMdl(mdl);
}

TEST_F(MdlTest, PartialRangeMustLieInsideTheSource) {
    PMDL source = IoAllocateMdl(buffer_ + 100, 1000, FALSE, FALSE, nullptr);
    MmBuildMdlForNonPagedPool(source);
    PMDL partial = IoAllocateMdl(buffer_, kLength, FALSE, FALSE, nullptr);
    struct Case {
        ULONG offset;  // from buffer_
        ULONG length;
        const char* violation;  // nullptr: accepted
    } cases[] = {
        {100, 1000, nullptr}, {1099, 1, nullptr}, {99, 10, "outside source"}, {200, 901, "run past"},
        {1101, 0, "outside source"},
    };
    for (const Case& c : cases) {
        IoBuildPartialMdl(source, partial, buffer_ + c.offset, c.length);
        if (c.violation)
            ExpectViolation(c.violation);
        else
            ExpectNoViolation();
    }
    IoFreeMdl(partial);
    IoFreeMdl(source);
}

}  // namespace
