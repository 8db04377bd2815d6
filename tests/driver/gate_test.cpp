// The I/O gate: admission, refusal once removal began, and the drain that releases removal.
#include "tests/support/driver_test.h"

namespace {

bool Signalled(DeviceExtension* extension) { return KeReadStateEvent(&extension->RemoveEvent) != 0; }

// Removal's own steps on the gate: its admission, the closed gate, its two decrements.
void BeginRemoval(PDEVICE_OBJECT device) {
    ASSERT_TRUE(IoIncrement(device));
    ExtensionOf(device)->RemovePending = TRUE;
    IoDecrement(device);
    IoDecrement(device);
}

TEST_F(DriverTest, RemovalWithNothingInsideIsReleasedAtOnce) {
    PDEVICE_OBJECT device = PlugCamera();
    DeviceExtension* extension = ExtensionOf(device);
    BeginRemoval(device);
    EXPECT_EQ(extension->OutstandingIo, 0);
    EXPECT_TRUE(Signalled(extension));
}

TEST_F(DriverTest, RemovalWaitsForTheRequestInside) {
    PDEVICE_OBJECT device = PlugCamera();
    DeviceExtension* extension = ExtensionOf(device);
    ASSERT_TRUE(IoIncrement(device));
    BeginRemoval(device);
    EXPECT_EQ(extension->OutstandingIo, 1);
    LARGE_INTEGER now = {};
    EXPECT_EQ(KeWaitForSingleObject(&extension->RemoveEvent, Executive, KernelMode, FALSE, &now), STATUS_TIMEOUT);
    IoDecrement(device);
    EXPECT_EQ(extension->OutstandingIo, 0);
    EXPECT_EQ(KeWaitForSingleObject(&extension->RemoveEvent, Executive, KernelMode, FALSE, &now), STATUS_SUCCESS);
}

TEST_F(DriverTest, RefusedRequestLeavesTheCountAndMaySignal) {
    PDEVICE_OBJECT device = PlugCamera();
    DeviceExtension* extension = ExtensionOf(device);
    ASSERT_TRUE(IoIncrement(device));
    BeginRemoval(device);

    EXPECT_FALSE(IoIncrement(device));
    EXPECT_EQ(extension->OutstandingIo, 1);
    EXPECT_FALSE(Signalled(extension));

    IoDecrement(device);
    ASSERT_TRUE(Signalled(extension));
    // A late request that backs out of an empty driver is itself the last one out.
    KeClearEvent(&extension->RemoveEvent);
    EXPECT_FALSE(IoIncrement(device));
    EXPECT_EQ(extension->OutstandingIo, 0);
    EXPECT_TRUE(Signalled(extension));
}

}  // namespace
