// Loading, device arrival on the platform's bus, and the bus's answers to plug-and-play and power.
#include "platform/pnp/pnp.h"
#include "platform/verifier/verifier.h"
#include "tests/kernel/test_driver.h"
#include "tests/support/kernel_test.h"

namespace {

PDEVICE_OBJECT addedPdo;
PDEVICE_OBJECT addedFdo;
bool failEntry;
bool unloaded;

NTSTATUS Forward(PDEVICE_OBJECT device, PIRP irp) {
    PDEVICE_OBJECT lower = *static_cast<PDEVICE_OBJECT*>(device->DeviceExtension);
    bool remove = IoGetCurrentIrpStackLocation(irp)->MajorFunction == IRP_MJ_PNP &&
                  IoGetCurrentIrpStackLocation(irp)->MinorFunction == IRP_MN_REMOVE_DEVICE;
    IoSkipCurrentIrpStackLocation(irp);
    NTSTATUS status = IoCallDriver(lower, irp);
    if (remove) {
        IoDetachDevice(lower);
        IoDeleteDevice(device);
    }
    return status;
}

NTSTATUS AddDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT pdo) {
    addedPdo = pdo;
    NTSTATUS status = IoCreateDevice(driver, sizeof(PDEVICE_OBJECT), nullptr, FILE_DEVICE_UNKNOWN, 0, FALSE, &addedFdo);
    if (!NT_SUCCESS(status)) return status;
    *static_cast<PDEVICE_OBJECT*>(addedFdo->DeviceExtension) = IoAttachDeviceToDeviceStack(addedFdo, pdo);
    addedFdo->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

VOID Unload(PDRIVER_OBJECT) { unloaded = true; }

NTSTATUS Entry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    if (failEntry) return STATUS_INSUFFICIENT_RESOURCES;
    EXPECT_GT(registryPath->Length, 0);
    for (PDRIVER_DISPATCH& f : driver->MajorFunction) f = Forward;
    driver->DriverExtension->AddDevice = AddDevice;
    driver->DriverUnload = Unload;
    return STATUS_SUCCESS;
}

class PnpTest : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        addedPdo = addedFdo = nullptr;
        failEntry = unloaded = false;
    }
};

TEST_F(PnpTest, FailedEntryLeavesNothingLoaded) {
    failEntry = true;
    PDRIVER_OBJECT driver = reinterpret_cast<PDRIVER_OBJECT>(1);
    EXPECT_EQ(pnp::LoadDriver(Entry, u"Failing", &driver), STATUS_INSUFFICIENT_RESOURCES);
    EXPECT_EQ(driver, nullptr);
}

TEST_F(PnpTest, PlugCallsAddDeviceWithANewPdoAndTheStackAnswersPnpAndPower) {
    PDRIVER_OBJECT driver;
    ASSERT_EQ(pnp::LoadDriver(Entry, u"Stacked", &driver), STATUS_SUCCESS);
    PDEVICE_OBJECT pdo;
    ASSERT_EQ(pnp::PlugDevice(driver, &pdo), STATUS_SUCCESS);
    EXPECT_EQ(addedPdo, pdo);
    EXPECT_FALSE(pdo->Flags & DO_DEVICE_INITIALIZING);
    EXPECT_EQ(pnp::TopOfStack(pdo), addedFdo);

    EXPECT_EQ(pnp::SendPnp(pdo, IRP_MN_START_DEVICE), STATUS_SUCCESS);
    DEVICE_CAPABILITIES caps{};
    caps.Size = sizeof caps;
    caps.Version = 1;
    EXPECT_EQ(pnp::SendPnp(pdo, IRP_MN_QUERY_CAPABILITIES, &caps), STATUS_SUCCESS);
    EXPECT_EQ(caps.DeviceState[PowerSystemWorking], PowerDeviceD0);
    EXPECT_EQ(caps.DeviceState[PowerSystemHibernate], PowerDeviceD3);
    EXPECT_EQ(pnp::SendPnp(pdo, IRP_MN_QUERY_ID), STATUS_NOT_SUPPORTED);  // the bus leaves it alone
    POWER_STATE d3;
    d3.DeviceState = PowerDeviceD3;
    EXPECT_EQ(pnp::SendPower(pdo, IRP_MN_SET_POWER, DevicePowerState, d3), STATUS_SUCCESS);

    EXPECT_EQ(pnp::SendPnp(pdo, IRP_MN_REMOVE_DEVICE), STATUS_SUCCESS);
    EXPECT_EQ(pnp::TopOfStack(pdo), pdo);
    pnp::ReleasePdo(pdo);
    pnp::UnloadDriver(driver);
    EXPECT_TRUE(unloaded);
}

}  // namespace
