// Device objects, their names and links, and device stacks.
#include "platform/kernel/internal.h"
#include "tests/kernel/test_driver.h"
#include "tests/support/kernel_test.h"

namespace {

class ObjectsTest : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        driver_ = test::LoadDriver(test::CompleteSuccess);
        RtlInitUnicodeString(&name_, u"\\Device\\Widget0");
    }
    PDRIVER_OBJECT driver_ = nullptr;
    UNICODE_STRING name_;
};

TEST_F(ObjectsTest, CreatedDeviceHasAZeroedExtensionAndIsInTheDriversList) {
    PDEVICE_OBJECT device;
    ASSERT_EQ(IoCreateDevice(driver_, 40, &name_, FILE_DEVICE_UNKNOWN, FILE_DEVICE_SECURE_OPEN, FALSE, &device),
              STATUS_SUCCESS);
    auto* extension = static_cast<PUCHAR>(device->DeviceExtension);
    ASSERT_NE(extension, nullptr);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(extension[i], 0);
    EXPECT_EQ(device->DriverObject, driver_);
    EXPECT_EQ(driver_->DeviceObject, device);
    EXPECT_EQ(device->StackSize, 1);
    EXPECT_TRUE(device->Flags & DO_DEVICE_INITIALIZING);
    EXPECT_EQ(device->DeviceType, ULONG{FILE_DEVICE_UNKNOWN});
    EXPECT_EQ(device->Characteristics, ULONG{FILE_DEVICE_SECURE_OPEN});
    IoDeleteDevice(device);
    EXPECT_EQ(driver_->DeviceObject, nullptr);
}

TEST_F(ObjectsTest, NameCollidesUntilTheDeviceIsDeleted) {
    PDEVICE_OBJECT first, second;
    ASSERT_EQ(IoCreateDevice(driver_, 0, &name_, FILE_DEVICE_UNKNOWN, 0, FALSE, &first), STATUS_SUCCESS);
    UNICODE_STRING otherCase;
    RtlInitUnicodeString(&otherCase, u"\\device\\WIDGET0");
    EXPECT_EQ(IoCreateDevice(driver_, 0, &otherCase, FILE_DEVICE_UNKNOWN, 0, FALSE, &second),
              STATUS_OBJECT_NAME_COLLISION);
    EXPECT_EQ(second, nullptr);
    IoDeleteDevice(first);
    ASSERT_EQ(IoCreateDevice(driver_, 0, &name_, FILE_DEVICE_UNKNOWN, 0, FALSE, &second), STATUS_SUCCESS);
    IoDeleteDevice(second);
}

TEST_F(ObjectsTest, DosDevicesLinkIsTheSameNameAsQuestionMarks) {
    PDEVICE_OBJECT device = test::CreateDevice(driver_, u"\\Device\\Widget0");
    UNICODE_STRING dos, question;
    RtlInitUnicodeString(&dos, u"\\DosDevices\\Widget");
    RtlInitUnicodeString(&question, u"\\??\\Widget");
    ASSERT_EQ(IoCreateSymbolicLink(&dos, &name_), STATUS_SUCCESS);
    EXPECT_EQ(IoCreateSymbolicLink(&question, &name_), STATUS_OBJECT_NAME_COLLISION);
    EXPECT_EQ(kernel::LookupDevice(u"\\??\\Widget"), device);
    EXPECT_EQ(IoDeleteSymbolicLink(&question), STATUS_SUCCESS);
    EXPECT_EQ(kernel::LookupDevice(u"\\DosDevices\\Widget"), nullptr);
    EXPECT_EQ(IoDeleteSymbolicLink(&dos), STATUS_OBJECT_NAME_NOT_FOUND);
    IoDeleteDevice(device);
}

TEST_F(ObjectsTest, AttachingBuildsTheStack) {
    PDEVICE_OBJECT bottom = test::CreateDevice(driver_);
    PDEVICE_OBJECT middle = test::CreateDevice(driver_);
    PDEVICE_OBJECT top = test::CreateDevice(driver_);
    EXPECT_EQ(IoAttachDeviceToDeviceStack(middle, bottom), bottom);
    EXPECT_EQ(IoAttachDeviceToDeviceStack(top, bottom), middle);  // goes on top of whatever is there
    EXPECT_EQ(bottom->AttachedDevice, middle);
    EXPECT_EQ(middle->AttachedDevice, top);
    EXPECT_EQ(middle->StackSize, 2);
    EXPECT_EQ(top->StackSize, 3);
    EXPECT_EQ(kernel::TopOfStack(bottom), top);
    PDEVICE_OBJECT referenced = IoGetAttachedDeviceReference(bottom);
    EXPECT_EQ(referenced, top);
    ObDereferenceObject(referenced);
    IoDetachDevice(middle);
    EXPECT_EQ(middle->AttachedDevice, nullptr);
    IoDetachDevice(bottom);
    for (PDEVICE_OBJECT d : {top, middle, bottom}) IoDeleteDevice(d);
}

}  // namespace
