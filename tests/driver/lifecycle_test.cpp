// Driver entry, device creation and naming, index reuse, open and close.
#include <string>

#include "driver/control/dispatch.h"
#include "driver/lifecycle/lifecycle.h"
#include "platform/pnp/pnp.h"
#include "tests/support/driver_test.h"

namespace {

std::u16string LinkNameOf(PDEVICE_OBJECT device) { return std::u16string(ExtensionOf(device)->LinkName); }

std::u16string ExpectedLinkName(uint32_t index) {
    return std::u16string(u"\\DosDevices\\Lumora58Tzvex-") + static_cast<char16_t>(0x30 + index);
}

TEST_F(DriverTest, EntryRegistersTheDriversRoutinesOnly) {
    EXPECT_EQ(driver_->MajorFunction[IRP_MJ_CREATE], &DispatchCreate);
    EXPECT_EQ(driver_->MajorFunction[IRP_MJ_CLOSE], &DispatchClose);
    EXPECT_EQ(driver_->MajorFunction[IRP_MJ_DEVICE_CONTROL], &DispatchDeviceControl);
    EXPECT_EQ(driver_->MajorFunction[IRP_MJ_PNP], &DispatchPnp);
    EXPECT_EQ(driver_->MajorFunction[IRP_MJ_POWER], &DispatchPower);
    EXPECT_EQ(driver_->DriverUnload, &DriverUnload);
    EXPECT_EQ(driver_->DriverExtension->AddDevice, &AddDevice);
    // No read or write entry: those stay as the platform set them.
    EXPECT_NE(driver_->MajorFunction[IRP_MJ_READ], driver_->MajorFunction[IRP_MJ_DEVICE_CONTROL]);
    EXPECT_NE(driver_->MajorFunction[IRP_MJ_WRITE], driver_->MajorFunction[IRP_MJ_DEVICE_CONTROL]);
}

// 32 cameras at once get the indexes 0..31 in order, each device attached with an open gate and
// reachable through its link; the 33rd is refused with the failure of index 31.
TEST_F(DriverTest, ThirtyTwoCamerasGetIndexesAndTheThirtyThirdIsRefused) {
    for (uint32_t index = 0; index < MaxInstances; ++index) {
        PDEVICE_OBJECT pdo = nullptr;
        ASSERT_EQ(Plug(&pdo), STATUS_SUCCESS) << "index " << index;
        PDEVICE_OBJECT device = pnp::TopOfStack(pdo);
        ASSERT_NE(device, pdo);
        DeviceExtension* extension = ExtensionOf(device);
        EXPECT_EQ(LinkNameOf(device), ExpectedLinkName(index));
        EXPECT_EQ(extension->LowerDeviceObject, pdo);
        EXPECT_EQ(extension->OutstandingIo, 1);
        EXPECT_TRUE(extension->LinkCreated);
        EXPECT_FALSE(extension->Started);
        EXPECT_EQ(device->DeviceType, static_cast<DEVICE_TYPE>(FILE_DEVICE_UNKNOWN));
        EXPECT_EQ(device->Flags & (DO_DEVICE_INITIALIZING | DO_DIRECT_IO | DO_POWER_PAGABLE),
                  static_cast<ULONG>(DO_DIRECT_IO | DO_POWER_PAGABLE));

        MarkStarted(device);
        user::OpenResult open = user::CreateFile(PathOf(index));
        ASSERT_EQ(open.status, STATUS_SUCCESS) << PathOf(index);
        EXPECT_EQ(user::CloseHandle(open.handle), STATUS_SUCCESS);
    }
    EXPECT_EQ(LinkNameOf(pnp::TopOfStack(pdos_[10])).back(), u':');
    EXPECT_EQ(LinkNameOf(pnp::TopOfStack(pdos_[31])).back(), u'O');

    PDEVICE_OBJECT pdo = nullptr;
    EXPECT_EQ(Plug(&pdo), STATUS_OBJECT_NAME_COLLISION);
    EXPECT_EQ(pnp::TopOfStack(pdo), pdo);
}

TEST_F(DriverTest, TheFirstFreeIndexIsTakenAgain) {
    PlugCamera();
    PlugCamera();
    PlugCamera();
    PDEVICE_OBJECT firstPdo = pdos_[0];
    PDEVICE_OBJECT secondPdo = pdos_[1];
    Unplug(secondPdo);
    Unplug(firstPdo);
    EXPECT_EQ(LinkNameOf(PlugCamera()), ExpectedLinkName(0));
    EXPECT_EQ(LinkNameOf(PlugCamera()), ExpectedLinkName(1));
    EXPECT_EQ(LinkNameOf(PlugCamera()), ExpectedLinkName(3));
}

// A link name taken by someone else makes that index fail as a whole: its device object goes too,
// so the device name is free again once the link is.
TEST_F(DriverTest, AnIndexWhoseLinkIsTakenIsSkippedWithoutAnOrphanDevice) {
    UNICODE_STRING squatter;
    UNICODE_STRING target;
    RtlInitUnicodeString(&squatter, u"\\DosDevices\\Lumora58Tzvex-0");
    RtlInitUnicodeString(&target, u"\\Device\\Elsewhere");
    ASSERT_EQ(IoCreateSymbolicLink(&squatter, &target), STATUS_SUCCESS);

    EXPECT_EQ(LinkNameOf(PlugCamera()), ExpectedLinkName(1));
    ASSERT_EQ(IoDeleteSymbolicLink(&squatter), STATUS_SUCCESS);
    EXPECT_EQ(LinkNameOf(PlugCamera()), ExpectedLinkName(0));
}

TEST_F(DriverTest, OpensAreRefusedBeforeStartAndAdmittedAfter) {
    PDEVICE_OBJECT device = PlugCamera();
    user::OpenResult refused = user::CreateFile(PathOf(0));
    EXPECT_EQ(refused.status, STATUS_UNSUCCESSFUL);
    EXPECT_EQ(refused.handle, nullptr);

    MarkStarted(device);
    user::OpenResult first = user::CreateFile(PathOf(0));
    user::OpenResult second = user::CreateFile(PathOf(0));
    ASSERT_EQ(first.status, STATUS_SUCCESS);
    ASSERT_EQ(second.status, STATUS_SUCCESS);
    EXPECT_EQ(user::CloseHandle(first.handle), STATUS_SUCCESS);
    // Close makes no test: it succeeds also on a device that no longer counts as started.
    ExtensionOf(device)->Started = FALSE;
    EXPECT_EQ(user::CloseHandle(second.handle), STATUS_SUCCESS);
}

// Until start, stop and removal land, plug-and-play and power requests reach the bus driver unchanged
// and come back with its answer.
TEST_F(DriverTest, PnpAndPowerRequestsGoBelowUnchanged) {
    PlugCamera();
    PDEVICE_OBJECT pdo = pdos_[0];
    EXPECT_EQ(pnp::SendPnp(pdo, IRP_MN_QUERY_PNP_DEVICE_STATE), STATUS_NOT_SUPPORTED);
    DEVICE_CAPABILITIES capabilities = {};
    capabilities.Size = sizeof(capabilities);
    capabilities.Version = 1;
    EXPECT_EQ(pnp::SendPnp(pdo, IRP_MN_QUERY_CAPABILITIES, &capabilities), STATUS_SUCCESS);
    EXPECT_EQ(capabilities.Removable, 1u);

    POWER_STATE d0 = {};
    d0.DeviceState = PowerDeviceD0;
    EXPECT_EQ(pnp::SendPower(pdo, IRP_MN_SET_POWER, DevicePowerState, d0), STATUS_SUCCESS);
    EXPECT_EQ(pnp::SendPower(pdo, IRP_MN_WAIT_WAKE, DevicePowerState, d0), STATUS_NOT_SUPPORTED);
    EXPECT_EQ(ExtensionOf(pnp::TopOfStack(pdo))->OutstandingIo, 1);
}

// A stack that takes no attachment (here a bus device the platform does not know) leaves nothing
// behind: no device object, no link, and the index is free for the next camera.
TEST_F(DriverTest, AttachRefusedDeletesTheDeviceAndItsLink) {
    DEVICE_OBJECT unknownBusDevice = {};
    EXPECT_EQ(AddDevice(driver_, &unknownBusDevice), STATUS_NO_SUCH_DEVICE);
    EXPECT_EQ(driver_->DeviceObject, nullptr);
    EXPECT_EQ(user::CreateFile(PathOf(0)).status, STATUS_OBJECT_NAME_NOT_FOUND);

    PDEVICE_OBJECT device = PlugCamera();
    EXPECT_EQ(LinkNameOf(device), ExpectedLinkName(0));
}

}  // namespace
