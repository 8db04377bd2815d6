// Compiled by the cross compiler only: checks the kit's kernel and USB records and constants against
// the same table of numbers our platform records are checked against.
extern "C" {
#include <ntddk.h>
#include <usb.h>
#include <usbdlib.h>
#include <usbioctl.h>
}

#include <cstddef>

#include "platform/abi/x64_layout.h"

#define CHECK_SIZE(type, ns) static_assert(sizeof(type) == x64::ns::size, #type " size")
#define CHECK_AT(type, member, ns, field) \
  static_assert(offsetof(type, member) == x64::ns::field, #type "." #member " offset")
#define CHECK_VALUE(name, ns, field) \
  static_assert(static_cast<unsigned long long>(static_cast<std::uint32_t>(name)) == x64::ns::field, #name)

// ---------------------------------------------------------------- kernel records

CHECK_SIZE(IO_STATUS_BLOCK, io_status_block);
CHECK_AT(IO_STATUS_BLOCK, Status, io_status_block, status);
CHECK_AT(IO_STATUS_BLOCK, Pointer, io_status_block, pointer);
CHECK_AT(IO_STATUS_BLOCK, Information, io_status_block, information);

CHECK_SIZE(UNICODE_STRING, unicode_string);
CHECK_AT(UNICODE_STRING, Length, unicode_string, length);
CHECK_AT(UNICODE_STRING, MaximumLength, unicode_string, maximum_length);
CHECK_AT(UNICODE_STRING, Buffer, unicode_string, buffer);

CHECK_SIZE(MDL, mdl);
CHECK_AT(MDL, Next, mdl, next);
CHECK_AT(MDL, Size, mdl, size_field);
CHECK_AT(MDL, MdlFlags, mdl, mdl_flags);
CHECK_AT(MDL, Process, mdl, process);
CHECK_AT(MDL, MappedSystemVa, mdl, mapped_system_va);
CHECK_AT(MDL, StartVa, mdl, start_va);
CHECK_AT(MDL, ByteCount, mdl, byte_count);
CHECK_AT(MDL, ByteOffset, mdl, byte_offset);

CHECK_SIZE(IRP, irp);
CHECK_AT(IRP, Type, irp, type);
CHECK_AT(IRP, Size, irp, size_field);
CHECK_AT(IRP, MdlAddress, irp, mdl_address);
CHECK_AT(IRP, Flags, irp, flags);
CHECK_AT(IRP, AssociatedIrp, irp, associated_irp);
CHECK_AT(IRP, AssociatedIrp.SystemBuffer, irp, system_buffer);
CHECK_AT(IRP, ThreadListEntry, irp, thread_list_entry);
CHECK_AT(IRP, IoStatus, irp, io_status);
CHECK_AT(IRP, RequestorMode, irp, requestor_mode);
CHECK_AT(IRP, PendingReturned, irp, pending_returned);
CHECK_AT(IRP, StackCount, irp, stack_count);
CHECK_AT(IRP, CurrentLocation, irp, current_location);
CHECK_AT(IRP, Cancel, irp, cancel);
CHECK_AT(IRP, CancelIrql, irp, cancel_irql);
CHECK_AT(IRP, ApcEnvironment, irp, apc_environment);
CHECK_AT(IRP, AllocationFlags, irp, allocation_flags);
CHECK_AT(IRP, UserIosb, irp, user_iosb);
CHECK_AT(IRP, UserEvent, irp, user_event);
CHECK_AT(IRP, Overlay, irp, overlay);
CHECK_AT(IRP, CancelRoutine, irp, cancel_routine);
CHECK_AT(IRP, UserBuffer, irp, user_buffer);
CHECK_AT(IRP, Tail, irp, tail);
CHECK_AT(IRP, Tail.Overlay.DriverContext, irp, tail_overlay_driver_context);
CHECK_AT(IRP, Tail.Overlay.Thread, irp, tail_overlay_thread);
CHECK_AT(IRP, Tail.Overlay.ListEntry, irp, tail_overlay_list_entry);
CHECK_AT(IRP, Tail.Overlay.CurrentStackLocation, irp, tail_overlay_current_stack_location);
CHECK_AT(IRP, Tail.Overlay.OriginalFileObject, irp, tail_overlay_original_file_object);

CHECK_SIZE(IO_STACK_LOCATION, io_stack_location);
CHECK_AT(IO_STACK_LOCATION, MajorFunction, io_stack_location, major_function);
CHECK_AT(IO_STACK_LOCATION, MinorFunction, io_stack_location, minor_function);
CHECK_AT(IO_STACK_LOCATION, Flags, io_stack_location, flags);
CHECK_AT(IO_STACK_LOCATION, Control, io_stack_location, control);
CHECK_AT(IO_STACK_LOCATION, Parameters, io_stack_location, parameters);
CHECK_AT(IO_STACK_LOCATION, Parameters.DeviceIoControl.OutputBufferLength, io_stack_location,
         device_io_control_output_buffer_length);
CHECK_AT(IO_STACK_LOCATION, Parameters.DeviceIoControl.InputBufferLength, io_stack_location,
         device_io_control_input_buffer_length);
CHECK_AT(IO_STACK_LOCATION, Parameters.DeviceIoControl.IoControlCode, io_stack_location,
         device_io_control_io_control_code);
CHECK_AT(IO_STACK_LOCATION, Parameters.DeviceIoControl.Type3InputBuffer, io_stack_location,
         device_io_control_type3_input_buffer);
CHECK_AT(IO_STACK_LOCATION, Parameters.Others.Argument1, io_stack_location, others_argument1);
CHECK_AT(IO_STACK_LOCATION, Parameters.Others.Argument2, io_stack_location, others_argument2);
CHECK_AT(IO_STACK_LOCATION, Parameters.Others.Argument3, io_stack_location, others_argument3);
CHECK_AT(IO_STACK_LOCATION, Parameters.Others.Argument4, io_stack_location, others_argument4);
CHECK_AT(IO_STACK_LOCATION, Parameters.DeviceCapabilities.Capabilities, io_stack_location,
         device_capabilities_capabilities);
CHECK_AT(IO_STACK_LOCATION, Parameters.Power.SystemContext, io_stack_location, power_system_context);
CHECK_AT(IO_STACK_LOCATION, Parameters.Power.Type, io_stack_location, power_type);
CHECK_AT(IO_STACK_LOCATION, Parameters.Power.State, io_stack_location, power_state);
CHECK_AT(IO_STACK_LOCATION, Parameters.Power.ShutdownType, io_stack_location, power_shutdown_type);
CHECK_AT(IO_STACK_LOCATION, DeviceObject, io_stack_location, device_object);
CHECK_AT(IO_STACK_LOCATION, FileObject, io_stack_location, file_object);
CHECK_AT(IO_STACK_LOCATION, CompletionRoutine, io_stack_location, completion_routine);
CHECK_AT(IO_STACK_LOCATION, Context, io_stack_location, context);

// The kit's object lacks the trailing reserved pointer, so its size is not compared.
CHECK_AT(DEVICE_OBJECT, Type, device_object, type);
CHECK_AT(DEVICE_OBJECT, Size, device_object, size_field);
CHECK_AT(DEVICE_OBJECT, ReferenceCount, device_object, reference_count);
CHECK_AT(DEVICE_OBJECT, DriverObject, device_object, driver_object);
CHECK_AT(DEVICE_OBJECT, NextDevice, device_object, next_device);
CHECK_AT(DEVICE_OBJECT, AttachedDevice, device_object, attached_device);
CHECK_AT(DEVICE_OBJECT, CurrentIrp, device_object, current_irp);
CHECK_AT(DEVICE_OBJECT, Timer, device_object, timer);
CHECK_AT(DEVICE_OBJECT, Flags, device_object, flags);
CHECK_AT(DEVICE_OBJECT, Characteristics, device_object, characteristics);
CHECK_AT(DEVICE_OBJECT, Vpb, device_object, vpb);
CHECK_AT(DEVICE_OBJECT, DeviceExtension, device_object, device_extension);
CHECK_AT(DEVICE_OBJECT, DeviceType, device_object, device_type);
CHECK_AT(DEVICE_OBJECT, StackSize, device_object, stack_size);

CHECK_SIZE(DRIVER_OBJECT, driver_object);
CHECK_AT(DRIVER_OBJECT, Type, driver_object, type);
CHECK_AT(DRIVER_OBJECT, Size, driver_object, size_field);
CHECK_AT(DRIVER_OBJECT, DeviceObject, driver_object, device_object);
CHECK_AT(DRIVER_OBJECT, Flags, driver_object, flags);
CHECK_AT(DRIVER_OBJECT, DriverStart, driver_object, driver_start);
CHECK_AT(DRIVER_OBJECT, DriverSize, driver_object, driver_size);
CHECK_AT(DRIVER_OBJECT, DriverSection, driver_object, driver_section);
CHECK_AT(DRIVER_OBJECT, DriverExtension, driver_object, driver_extension);
CHECK_AT(DRIVER_OBJECT, DriverName, driver_object, driver_name);
CHECK_AT(DRIVER_OBJECT, HardwareDatabase, driver_object, hardware_database);
CHECK_AT(DRIVER_OBJECT, FastIoDispatch, driver_object, fast_io_dispatch);
CHECK_AT(DRIVER_OBJECT, DriverInit, driver_object, driver_init);
CHECK_AT(DRIVER_OBJECT, DriverStartIo, driver_object, driver_start_io);
CHECK_AT(DRIVER_OBJECT, DriverUnload, driver_object, driver_unload);
CHECK_AT(DRIVER_OBJECT, MajorFunction, driver_object, major_function);
static_assert(sizeof(DRIVER_OBJECT::MajorFunction) / sizeof(PDRIVER_DISPATCH) ==
              x64::driver_object::major_function_count);

CHECK_AT(DRIVER_EXTENSION, DriverObject, driver_extension, driver_object);
CHECK_AT(DRIVER_EXTENSION, AddDevice, driver_extension, add_device);
CHECK_AT(DRIVER_EXTENSION, Count, driver_extension, count);
CHECK_AT(DRIVER_EXTENSION, ServiceKeyName, driver_extension, service_key_name);

CHECK_SIZE(KEVENT, kevent);

// The DeviceD1..WakeFromD3 bits before Address are bit-fields, so offsetof cannot reach them.
CHECK_SIZE(DEVICE_CAPABILITIES, device_capabilities);
CHECK_AT(DEVICE_CAPABILITIES, Size, device_capabilities, size_field);
CHECK_AT(DEVICE_CAPABILITIES, Version, device_capabilities, version);
CHECK_AT(DEVICE_CAPABILITIES, Address, device_capabilities, address);
CHECK_AT(DEVICE_CAPABILITIES, UINumber, device_capabilities, ui_number);
CHECK_AT(DEVICE_CAPABILITIES, DeviceState, device_capabilities, device_state);
CHECK_AT(DEVICE_CAPABILITIES, SystemWake, device_capabilities, system_wake);
CHECK_AT(DEVICE_CAPABILITIES, DeviceWake, device_capabilities, device_wake);
CHECK_AT(DEVICE_CAPABILITIES, D1Latency, device_capabilities, d1_latency);
CHECK_AT(DEVICE_CAPABILITIES, D2Latency, device_capabilities, d2_latency);
CHECK_AT(DEVICE_CAPABILITIES, D3Latency, device_capabilities, d3_latency);
static_assert(sizeof(DEVICE_CAPABILITIES::DeviceState) / sizeof(DEVICE_POWER_STATE) ==
              x64::device_capabilities::device_state_count);

// ---------------------------------------------------------------- USB records

CHECK_SIZE(USB_COMMON_DESCRIPTOR, usb_common_descriptor);
CHECK_AT(USB_COMMON_DESCRIPTOR, bLength, usb_common_descriptor, b_length);
CHECK_AT(USB_COMMON_DESCRIPTOR, bDescriptorType, usb_common_descriptor, b_descriptor_type);

CHECK_SIZE(USB_DEVICE_DESCRIPTOR, usb_device_descriptor);
CHECK_AT(USB_DEVICE_DESCRIPTOR, bLength, usb_device_descriptor, b_length);
CHECK_AT(USB_DEVICE_DESCRIPTOR, bDescriptorType, usb_device_descriptor, b_descriptor_type);
CHECK_AT(USB_DEVICE_DESCRIPTOR, bcdUSB, usb_device_descriptor, bcd_usb);
CHECK_AT(USB_DEVICE_DESCRIPTOR, bDeviceClass, usb_device_descriptor, b_device_class);
CHECK_AT(USB_DEVICE_DESCRIPTOR, bDeviceSubClass, usb_device_descriptor, b_device_sub_class);
CHECK_AT(USB_DEVICE_DESCRIPTOR, bDeviceProtocol, usb_device_descriptor, b_device_protocol);
CHECK_AT(USB_DEVICE_DESCRIPTOR, bMaxPacketSize0, usb_device_descriptor, b_max_packet_size0);
CHECK_AT(USB_DEVICE_DESCRIPTOR, idVendor, usb_device_descriptor, id_vendor);
CHECK_AT(USB_DEVICE_DESCRIPTOR, idProduct, usb_device_descriptor, id_product);
CHECK_AT(USB_DEVICE_DESCRIPTOR, bcdDevice, usb_device_descriptor, bcd_device);
CHECK_AT(USB_DEVICE_DESCRIPTOR, iManufacturer, usb_device_descriptor, i_manufacturer);
CHECK_AT(USB_DEVICE_DESCRIPTOR, iProduct, usb_device_descriptor, i_product);
CHECK_AT(USB_DEVICE_DESCRIPTOR, iSerialNumber, usb_device_descriptor, i_serial_number);
CHECK_AT(USB_DEVICE_DESCRIPTOR, bNumConfigurations, usb_device_descriptor, b_num_configurations);

CHECK_SIZE(USB_CONFIGURATION_DESCRIPTOR, usb_configuration_descriptor);
CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, bLength, usb_configuration_descriptor, b_length);
CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, bDescriptorType, usb_configuration_descriptor, b_descriptor_type);
CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, wTotalLength, usb_configuration_descriptor, w_total_length);
CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, bNumInterfaces, usb_configuration_descriptor, b_num_interfaces);
CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, bConfigurationValue, usb_configuration_descriptor,
         b_configuration_value);
CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, iConfiguration, usb_configuration_descriptor, i_configuration);
CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, bmAttributes, usb_configuration_descriptor, bm_attributes);
CHECK_AT(USB_CONFIGURATION_DESCRIPTOR, MaxPower, usb_configuration_descriptor, max_power);

CHECK_SIZE(USB_INTERFACE_DESCRIPTOR, usb_interface_descriptor);
CHECK_AT(USB_INTERFACE_DESCRIPTOR, bLength, usb_interface_descriptor, b_length);
CHECK_AT(USB_INTERFACE_DESCRIPTOR, bDescriptorType, usb_interface_descriptor, b_descriptor_type);
CHECK_AT(USB_INTERFACE_DESCRIPTOR, bInterfaceNumber, usb_interface_descriptor, b_interface_number);
CHECK_AT(USB_INTERFACE_DESCRIPTOR, bAlternateSetting, usb_interface_descriptor, b_alternate_setting);
CHECK_AT(USB_INTERFACE_DESCRIPTOR, bNumEndpoints, usb_interface_descriptor, b_num_endpoints);
CHECK_AT(USB_INTERFACE_DESCRIPTOR, bInterfaceClass, usb_interface_descriptor, b_interface_class);
CHECK_AT(USB_INTERFACE_DESCRIPTOR, bInterfaceSubClass, usb_interface_descriptor, b_interface_sub_class);
CHECK_AT(USB_INTERFACE_DESCRIPTOR, bInterfaceProtocol, usb_interface_descriptor, b_interface_protocol);
CHECK_AT(USB_INTERFACE_DESCRIPTOR, iInterface, usb_interface_descriptor, i_interface);

CHECK_SIZE(USB_ENDPOINT_DESCRIPTOR, usb_endpoint_descriptor);
CHECK_AT(USB_ENDPOINT_DESCRIPTOR, bLength, usb_endpoint_descriptor, b_length);
CHECK_AT(USB_ENDPOINT_DESCRIPTOR, bDescriptorType, usb_endpoint_descriptor, b_descriptor_type);
CHECK_AT(USB_ENDPOINT_DESCRIPTOR, bEndpointAddress, usb_endpoint_descriptor, b_endpoint_address);
CHECK_AT(USB_ENDPOINT_DESCRIPTOR, bmAttributes, usb_endpoint_descriptor, bm_attributes);
CHECK_AT(USB_ENDPOINT_DESCRIPTOR, wMaxPacketSize, usb_endpoint_descriptor, w_max_packet_size);
CHECK_AT(USB_ENDPOINT_DESCRIPTOR, bInterval, usb_endpoint_descriptor, b_interval);

CHECK_SIZE(USB_STRING_DESCRIPTOR, usb_string_descriptor);
CHECK_AT(USB_STRING_DESCRIPTOR, bLength, usb_string_descriptor, b_length);
CHECK_AT(USB_STRING_DESCRIPTOR, bDescriptorType, usb_string_descriptor, b_descriptor_type);
CHECK_AT(USB_STRING_DESCRIPTOR, bString, usb_string_descriptor, b_string);

CHECK_SIZE(USBD_VERSION_INFORMATION, usbd_version_information);
CHECK_AT(USBD_VERSION_INFORMATION, USBDI_Version, usbd_version_information, usbdi_version);
CHECK_AT(USBD_VERSION_INFORMATION, Supported_USB_Version, usbd_version_information, supported_usb_version);

CHECK_SIZE(USBD_PIPE_INFORMATION, usbd_pipe_information);
CHECK_AT(USBD_PIPE_INFORMATION, MaximumPacketSize, usbd_pipe_information, maximum_packet_size);
CHECK_AT(USBD_PIPE_INFORMATION, EndpointAddress, usbd_pipe_information, endpoint_address);
CHECK_AT(USBD_PIPE_INFORMATION, Interval, usbd_pipe_information, interval);
CHECK_AT(USBD_PIPE_INFORMATION, PipeType, usbd_pipe_information, pipe_type);
CHECK_AT(USBD_PIPE_INFORMATION, PipeHandle, usbd_pipe_information, pipe_handle);
CHECK_AT(USBD_PIPE_INFORMATION, MaximumTransferSize, usbd_pipe_information, maximum_transfer_size);
CHECK_AT(USBD_PIPE_INFORMATION, PipeFlags, usbd_pipe_information, pipe_flags);

CHECK_SIZE(USBD_INTERFACE_INFORMATION, usbd_interface_information);
CHECK_AT(USBD_INTERFACE_INFORMATION, Length, usbd_interface_information, length);
CHECK_AT(USBD_INTERFACE_INFORMATION, InterfaceNumber, usbd_interface_information, interface_number);
CHECK_AT(USBD_INTERFACE_INFORMATION, AlternateSetting, usbd_interface_information, alternate_setting);
CHECK_AT(USBD_INTERFACE_INFORMATION, Class, usbd_interface_information, class_);
CHECK_AT(USBD_INTERFACE_INFORMATION, SubClass, usbd_interface_information, sub_class);
CHECK_AT(USBD_INTERFACE_INFORMATION, Protocol, usbd_interface_information, protocol);
CHECK_AT(USBD_INTERFACE_INFORMATION, Reserved, usbd_interface_information, reserved);
CHECK_AT(USBD_INTERFACE_INFORMATION, InterfaceHandle, usbd_interface_information, interface_handle);
CHECK_AT(USBD_INTERFACE_INFORMATION, NumberOfPipes, usbd_interface_information, number_of_pipes);
CHECK_AT(USBD_INTERFACE_INFORMATION, Pipes, usbd_interface_information, pipes);
static_assert(GET_USBD_INTERFACE_SIZE(1) == x64::usbd_interface_information::base +
                                                x64::usbd_interface_information::per_pipe);
static_assert(GET_USBD_INTERFACE_SIZE(5) == x64::usbd_interface_information::base +
                                                5 * x64::usbd_interface_information::per_pipe);

CHECK_SIZE(USBD_INTERFACE_LIST_ENTRY, usbd_interface_list_entry);
CHECK_AT(USBD_INTERFACE_LIST_ENTRY, InterfaceDescriptor, usbd_interface_list_entry, interface_descriptor);
CHECK_AT(USBD_INTERFACE_LIST_ENTRY, Interface, usbd_interface_list_entry, interface_);

CHECK_SIZE(USBD_ISO_PACKET_DESCRIPTOR, usbd_iso_packet_descriptor);
CHECK_AT(USBD_ISO_PACKET_DESCRIPTOR, Offset, usbd_iso_packet_descriptor, offset);
CHECK_AT(USBD_ISO_PACKET_DESCRIPTOR, Length, usbd_iso_packet_descriptor, length);
CHECK_AT(USBD_ISO_PACKET_DESCRIPTOR, Status, usbd_iso_packet_descriptor, status);

CHECK_SIZE(struct _URB_HEADER, urb_header);
CHECK_AT(struct _URB_HEADER, Length, urb_header, length);
CHECK_AT(struct _URB_HEADER, Function, urb_header, function);
CHECK_AT(struct _URB_HEADER, Status, urb_header, status);
CHECK_AT(struct _URB_HEADER, UsbdDeviceHandle, urb_header, usbd_device_handle);
CHECK_AT(struct _URB_HEADER, UsbdFlags, urb_header, usbd_flags);

CHECK_SIZE(struct _URB_HCD_AREA, urb_hcd_area);

CHECK_SIZE(struct _URB_SELECT_INTERFACE, urb_select_interface);
CHECK_AT(struct _URB_SELECT_INTERFACE, ConfigurationHandle, urb_select_interface, configuration_handle);
CHECK_AT(struct _URB_SELECT_INTERFACE, Interface, urb_select_interface, interface_);
static_assert(GET_SELECT_INTERFACE_REQUEST_SIZE(1) ==
              x64::urb_select_interface::base + x64::urb_select_interface::per_pipe);
static_assert(GET_SELECT_INTERFACE_REQUEST_SIZE(4) ==
              x64::urb_select_interface::base + 4 * x64::urb_select_interface::per_pipe);

CHECK_SIZE(struct _URB_SELECT_CONFIGURATION, urb_select_configuration);
CHECK_AT(struct _URB_SELECT_CONFIGURATION, ConfigurationDescriptor, urb_select_configuration,
         configuration_descriptor);
CHECK_AT(struct _URB_SELECT_CONFIGURATION, ConfigurationHandle, urb_select_configuration,
         configuration_handle);
CHECK_AT(struct _URB_SELECT_CONFIGURATION, Interface, urb_select_configuration, interface_);

CHECK_SIZE(struct _URB_PIPE_REQUEST, urb_pipe_request);
CHECK_AT(struct _URB_PIPE_REQUEST, PipeHandle, urb_pipe_request, pipe_handle);
CHECK_AT(struct _URB_PIPE_REQUEST, Reserved, urb_pipe_request, reserved);
static_assert(x64::urb_pipe_request::legacy_size == x64::urb_pipe_request::reserved + 4);

CHECK_SIZE(struct _URB_FRAME_LENGTH_CONTROL, urb_frame_length_control);

CHECK_SIZE(struct _URB_GET_CURRENT_FRAME_NUMBER, urb_get_current_frame_number);
CHECK_AT(struct _URB_GET_CURRENT_FRAME_NUMBER, FrameNumber, urb_get_current_frame_number, frame_number);

#define CHECK_TRANSFER(type)                                                   \
  CHECK_AT(type, PipeHandle, urb_transfer, pipe_handle);                       \
  CHECK_AT(type, TransferFlags, urb_transfer, transfer_flags);                 \
  CHECK_AT(type, TransferBufferLength, urb_transfer, transfer_buffer_length);  \
  CHECK_AT(type, TransferBuffer, urb_transfer, transfer_buffer);               \
  CHECK_AT(type, TransferBufferMDL, urb_transfer, transfer_buffer_mdl);        \
  CHECK_AT(type, UrbLink, urb_transfer, urb_link);                             \
  CHECK_AT(type, hca, urb_transfer, hca)

// Requests whose first words are reserved still keep length, buffer and link where transfers do.
#define CHECK_REQUEST(type)                                                    \
  CHECK_AT(type, TransferBufferLength, urb_transfer, transfer_buffer_length);  \
  CHECK_AT(type, TransferBuffer, urb_transfer, transfer_buffer);               \
  CHECK_AT(type, TransferBufferMDL, urb_transfer, transfer_buffer_mdl);        \
  CHECK_AT(type, UrbLink, urb_transfer, urb_link);                             \
  CHECK_AT(type, hca, urb_transfer, hca)

CHECK_SIZE(struct _URB_CONTROL_TRANSFER, urb_control_transfer);
CHECK_TRANSFER(struct _URB_CONTROL_TRANSFER);
CHECK_AT(struct _URB_CONTROL_TRANSFER, SetupPacket, urb_control_transfer, setup_packet);

CHECK_SIZE(struct _URB_BULK_OR_INTERRUPT_TRANSFER, urb_bulk_or_interrupt_transfer);
CHECK_TRANSFER(struct _URB_BULK_OR_INTERRUPT_TRANSFER);

CHECK_SIZE(struct _URB_ISOCH_TRANSFER, urb_isoch_transfer);
CHECK_TRANSFER(struct _URB_ISOCH_TRANSFER);
CHECK_AT(struct _URB_ISOCH_TRANSFER, StartFrame, urb_isoch_transfer, start_frame);
CHECK_AT(struct _URB_ISOCH_TRANSFER, NumberOfPackets, urb_isoch_transfer, number_of_packets);
CHECK_AT(struct _URB_ISOCH_TRANSFER, ErrorCount, urb_isoch_transfer, error_count);
CHECK_AT(struct _URB_ISOCH_TRANSFER, IsoPacket, urb_isoch_transfer, iso_packet);
static_assert(GET_ISO_URB_SIZE(1) == x64::urb_isoch_transfer::base + x64::urb_isoch_transfer::per_packet);
static_assert(GET_ISO_URB_SIZE(32) ==
              x64::urb_isoch_transfer::base + 32 * x64::urb_isoch_transfer::per_packet);

CHECK_SIZE(struct _URB_CONTROL_DESCRIPTOR_REQUEST, urb_control_descriptor_request);
CHECK_REQUEST(struct _URB_CONTROL_DESCRIPTOR_REQUEST);
CHECK_AT(struct _URB_CONTROL_DESCRIPTOR_REQUEST, Index, urb_control_descriptor_request, index);
CHECK_AT(struct _URB_CONTROL_DESCRIPTOR_REQUEST, DescriptorType, urb_control_descriptor_request,
         descriptor_type);
CHECK_AT(struct _URB_CONTROL_DESCRIPTOR_REQUEST, LanguageId, urb_control_descriptor_request, language_id);

CHECK_SIZE(struct _URB_CONTROL_GET_STATUS_REQUEST, urb_control_get_status_request);
CHECK_REQUEST(struct _URB_CONTROL_GET_STATUS_REQUEST);
CHECK_AT(struct _URB_CONTROL_GET_STATUS_REQUEST, Index, urb_control_get_status_request, index);

// A feature request moves no data: only the link and the selector/index words matter.
CHECK_SIZE(struct _URB_CONTROL_FEATURE_REQUEST, urb_control_feature_request);
CHECK_AT(struct _URB_CONTROL_FEATURE_REQUEST, UrbLink, urb_transfer, urb_link);
CHECK_AT(struct _URB_CONTROL_FEATURE_REQUEST, hca, urb_transfer, hca);
CHECK_AT(struct _URB_CONTROL_FEATURE_REQUEST, FeatureSelector, urb_control_feature_request,
         feature_selector);
CHECK_AT(struct _URB_CONTROL_FEATURE_REQUEST, Index, urb_control_feature_request, index);

CHECK_SIZE(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, urb_control_vendor_or_class_request);
CHECK_REQUEST(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST);
CHECK_AT(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, TransferFlags, urb_transfer, transfer_flags);
CHECK_AT(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, RequestTypeReservedBits,
         urb_control_vendor_or_class_request, request_type_reserved_bits);
CHECK_AT(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, Request, urb_control_vendor_or_class_request, request);
CHECK_AT(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, Value, urb_control_vendor_or_class_request, value);
CHECK_AT(struct _URB_CONTROL_VENDOR_OR_CLASS_REQUEST, Index, urb_control_vendor_or_class_request, index);

CHECK_SIZE(URB, urb);

// ---------------------------------------------------------------- kernel constants

CHECK_VALUE(PASSIVE_LEVEL, irql, passive_level);
CHECK_VALUE(APC_LEVEL, irql, apc_level);
CHECK_VALUE(DISPATCH_LEVEL, irql, dispatch_level);

CHECK_VALUE(IRP_MJ_CREATE, irp_mj, create);
CHECK_VALUE(IRP_MJ_CLOSE, irp_mj, close);
CHECK_VALUE(IRP_MJ_READ, irp_mj, read);
CHECK_VALUE(IRP_MJ_WRITE, irp_mj, write);
CHECK_VALUE(IRP_MJ_DEVICE_CONTROL, irp_mj, device_control);
CHECK_VALUE(IRP_MJ_INTERNAL_DEVICE_CONTROL, irp_mj, internal_device_control);
CHECK_VALUE(IRP_MJ_CLEANUP, irp_mj, cleanup);
CHECK_VALUE(IRP_MJ_POWER, irp_mj, power);
CHECK_VALUE(IRP_MJ_SYSTEM_CONTROL, irp_mj, system_control);
CHECK_VALUE(IRP_MJ_PNP, irp_mj, pnp);
CHECK_VALUE(IRP_MJ_MAXIMUM_FUNCTION, irp_mj, maximum_function);

CHECK_VALUE(IRP_MN_START_DEVICE, irp_mn, start_device);
CHECK_VALUE(IRP_MN_QUERY_REMOVE_DEVICE, irp_mn, query_remove_device);
CHECK_VALUE(IRP_MN_REMOVE_DEVICE, irp_mn, remove_device);
CHECK_VALUE(IRP_MN_CANCEL_REMOVE_DEVICE, irp_mn, cancel_remove_device);
CHECK_VALUE(IRP_MN_STOP_DEVICE, irp_mn, stop_device);
CHECK_VALUE(IRP_MN_QUERY_STOP_DEVICE, irp_mn, query_stop_device);
CHECK_VALUE(IRP_MN_CANCEL_STOP_DEVICE, irp_mn, cancel_stop_device);
CHECK_VALUE(IRP_MN_QUERY_DEVICE_RELATIONS, irp_mn, query_device_relations);
CHECK_VALUE(IRP_MN_QUERY_INTERFACE, irp_mn, query_interface);
CHECK_VALUE(IRP_MN_QUERY_CAPABILITIES, irp_mn, query_capabilities);
CHECK_VALUE(IRP_MN_QUERY_ID, irp_mn, query_id);
CHECK_VALUE(IRP_MN_QUERY_PNP_DEVICE_STATE, irp_mn, query_pnp_device_state);
CHECK_VALUE(IRP_MN_SURPRISE_REMOVAL, irp_mn, surprise_removal);
CHECK_VALUE(IRP_MN_WAIT_WAKE, irp_mn, wait_wake);
CHECK_VALUE(IRP_MN_POWER_SEQUENCE, irp_mn, power_sequence);
CHECK_VALUE(IRP_MN_SET_POWER, irp_mn, set_power);
CHECK_VALUE(IRP_MN_QUERY_POWER, irp_mn, query_power);

CHECK_VALUE(SL_PENDING_RETURNED, sl, pending_returned);
CHECK_VALUE(SL_INVOKE_ON_CANCEL, sl, invoke_on_cancel);
CHECK_VALUE(SL_INVOKE_ON_SUCCESS, sl, invoke_on_success);
CHECK_VALUE(SL_INVOKE_ON_ERROR, sl, invoke_on_error);

CHECK_VALUE(IRP_BUFFERED_IO, irp_flag, buffered_io);
CHECK_VALUE(IRP_DEALLOCATE_BUFFER, irp_flag, deallocate_buffer);
CHECK_VALUE(IRP_INPUT_OPERATION, irp_flag, input_operation);

CHECK_VALUE(DO_BUFFERED_IO, do_flag, buffered_io);
CHECK_VALUE(DO_EXCLUSIVE, do_flag, exclusive);
CHECK_VALUE(DO_DIRECT_IO, do_flag, direct_io);
CHECK_VALUE(DO_MAP_IO_BUFFER, do_flag, map_io_buffer);
CHECK_VALUE(DO_DEVICE_INITIALIZING, do_flag, device_initializing);
CHECK_VALUE(DO_POWER_PAGABLE, do_flag, power_pagable);
CHECK_VALUE(DO_POWER_INRUSH, do_flag, power_inrush);

CHECK_VALUE(MDL_MAPPED_TO_SYSTEM_VA, mdl_flag, mapped_to_system_va);
CHECK_VALUE(MDL_PAGES_LOCKED, mdl_flag, pages_locked);
CHECK_VALUE(MDL_SOURCE_IS_NONPAGED_POOL, mdl_flag, source_is_nonpaged_pool);
CHECK_VALUE(MDL_ALLOCATED_FIXED_SIZE, mdl_flag, allocated_fixed_size);
CHECK_VALUE(MDL_PARTIAL, mdl_flag, partial);
CHECK_VALUE(MDL_PARTIAL_HAS_BEEN_MAPPED, mdl_flag, partial_has_been_mapped);
CHECK_VALUE(MDL_IO_PAGE_READ, mdl_flag, io_page_read);
CHECK_VALUE(MDL_WRITE_OPERATION, mdl_flag, write_operation);
CHECK_VALUE(MDL_PARENT_MAPPED_SYSTEM_VA, mdl_flag, parent_mapped_system_va);
CHECK_VALUE(MDL_IO_SPACE, mdl_flag, io_space);

CHECK_VALUE(STATUS_SUCCESS, status, success);
CHECK_VALUE(STATUS_WAIT_0, status, wait_0);
CHECK_VALUE(STATUS_TIMEOUT, status, timeout);
CHECK_VALUE(STATUS_PENDING, status, pending);
CHECK_VALUE(STATUS_BUFFER_OVERFLOW, status, buffer_overflow);
CHECK_VALUE(STATUS_UNSUCCESSFUL, status, unsuccessful);
CHECK_VALUE(STATUS_NOT_IMPLEMENTED, status, not_implemented);
CHECK_VALUE(STATUS_INVALID_PARAMETER, status, invalid_parameter);
CHECK_VALUE(STATUS_NO_SUCH_DEVICE, status, no_such_device);
CHECK_VALUE(STATUS_INVALID_DEVICE_REQUEST, status, invalid_device_request);
CHECK_VALUE(STATUS_MORE_PROCESSING_REQUIRED, status, more_processing_required);
CHECK_VALUE(STATUS_NO_MEMORY, status, no_memory);
CHECK_VALUE(STATUS_ACCESS_DENIED, status, access_denied);
CHECK_VALUE(STATUS_BUFFER_TOO_SMALL, status, buffer_too_small);
CHECK_VALUE(STATUS_OBJECT_NAME_NOT_FOUND, status, object_name_not_found);
CHECK_VALUE(STATUS_OBJECT_NAME_COLLISION, status, object_name_collision);
CHECK_VALUE(STATUS_DELETE_PENDING, status, delete_pending);
CHECK_VALUE(STATUS_INSUFFICIENT_RESOURCES, status, insufficient_resources);
CHECK_VALUE(STATUS_DEVICE_NOT_CONNECTED, status, device_not_connected);
CHECK_VALUE(STATUS_IO_TIMEOUT, status, io_timeout);
CHECK_VALUE(STATUS_NOT_SUPPORTED, status, not_supported);
CHECK_VALUE(STATUS_CANCELLED, status, cancelled);
CHECK_VALUE(STATUS_INVALID_DEVICE_STATE, status, invalid_device_state);

CHECK_VALUE(FILE_DEVICE_UNKNOWN, file_device, unknown);
CHECK_VALUE(FILE_DEVICE_USB, file_device, usb);
CHECK_VALUE(FILE_DEVICE_SECURE_OPEN, file_device, secure_open);
CHECK_VALUE(METHOD_BUFFERED, method, buffered);
CHECK_VALUE(METHOD_IN_DIRECT, method, in_direct);
CHECK_VALUE(METHOD_OUT_DIRECT, method, out_direct);
CHECK_VALUE(METHOD_NEITHER, method, neither);
CHECK_VALUE(FILE_ANY_ACCESS, file_access, any);
CHECK_VALUE(FILE_READ_ACCESS, file_access, read);
CHECK_VALUE(FILE_WRITE_ACCESS, file_access, write);

CHECK_VALUE(NonPagedPool, pool_type, non_paged_pool);
CHECK_VALUE(PagedPool, pool_type, paged_pool);
CHECK_VALUE(KernelMode, processor_mode, kernel_mode);
CHECK_VALUE(UserMode, processor_mode, user_mode);
CHECK_VALUE(NotificationEvent, event_type, notification_event);
CHECK_VALUE(SynchronizationEvent, event_type, synchronization_event);
CHECK_VALUE(Executive, wait_reason, executive);
CHECK_VALUE(IO_NO_INCREMENT, io_priority, no_increment);

CHECK_VALUE(SystemPowerState, power, system_power_state);
CHECK_VALUE(DevicePowerState, power, device_power_state);
CHECK_VALUE(PowerDeviceUnspecified, power, power_device_unspecified);
CHECK_VALUE(PowerDeviceD0, power, power_device_d0);
CHECK_VALUE(PowerDeviceD1, power, power_device_d1);
CHECK_VALUE(PowerDeviceD2, power, power_device_d2);
CHECK_VALUE(PowerDeviceD3, power, power_device_d3);
CHECK_VALUE(PowerSystemUnspecified, power, power_system_unspecified);
CHECK_VALUE(PowerSystemWorking, power, power_system_working);
CHECK_VALUE(PowerSystemSleeping1, power, power_system_sleeping1);
CHECK_VALUE(PowerSystemSleeping2, power, power_system_sleeping2);
CHECK_VALUE(PowerSystemSleeping3, power, power_system_sleeping3);
CHECK_VALUE(PowerSystemHibernate, power, power_system_hibernate);
CHECK_VALUE(PowerSystemShutdown, power, power_system_shutdown);

// ---------------------------------------------------------------- USB constants

CHECK_VALUE(URB_FUNCTION_SELECT_CONFIGURATION, urb_function, select_configuration);
CHECK_VALUE(URB_FUNCTION_SELECT_INTERFACE, urb_function, select_interface);
CHECK_VALUE(URB_FUNCTION_ABORT_PIPE, urb_function, abort_pipe);
CHECK_VALUE(URB_FUNCTION_TAKE_FRAME_LENGTH_CONTROL, urb_function, take_frame_length_control);
CHECK_VALUE(URB_FUNCTION_RELEASE_FRAME_LENGTH_CONTROL, urb_function, release_frame_length_control);
CHECK_VALUE(URB_FUNCTION_GET_FRAME_LENGTH, urb_function, get_frame_length);
CHECK_VALUE(URB_FUNCTION_SET_FRAME_LENGTH, urb_function, set_frame_length);
CHECK_VALUE(URB_FUNCTION_GET_CURRENT_FRAME_NUMBER, urb_function, get_current_frame_number);
CHECK_VALUE(URB_FUNCTION_CONTROL_TRANSFER, urb_function, control_transfer);
CHECK_VALUE(URB_FUNCTION_BULK_OR_INTERRUPT_TRANSFER, urb_function, bulk_or_interrupt_transfer);
CHECK_VALUE(URB_FUNCTION_ISOCH_TRANSFER, urb_function, isoch_transfer);
CHECK_VALUE(URB_FUNCTION_GET_DESCRIPTOR_FROM_DEVICE, urb_function, get_descriptor_from_device);
CHECK_VALUE(URB_FUNCTION_SET_DESCRIPTOR_TO_DEVICE, urb_function, set_descriptor_to_device);
CHECK_VALUE(URB_FUNCTION_SET_FEATURE_TO_DEVICE, urb_function, set_feature_to_device);
CHECK_VALUE(URB_FUNCTION_SET_FEATURE_TO_INTERFACE, urb_function, set_feature_to_interface);
CHECK_VALUE(URB_FUNCTION_SET_FEATURE_TO_ENDPOINT, urb_function, set_feature_to_endpoint);
CHECK_VALUE(URB_FUNCTION_CLEAR_FEATURE_TO_DEVICE, urb_function, clear_feature_to_device);
CHECK_VALUE(URB_FUNCTION_CLEAR_FEATURE_TO_INTERFACE, urb_function, clear_feature_to_interface);
CHECK_VALUE(URB_FUNCTION_CLEAR_FEATURE_TO_ENDPOINT, urb_function, clear_feature_to_endpoint);
CHECK_VALUE(URB_FUNCTION_GET_STATUS_FROM_DEVICE, urb_function, get_status_from_device);
CHECK_VALUE(URB_FUNCTION_GET_STATUS_FROM_INTERFACE, urb_function, get_status_from_interface);
CHECK_VALUE(URB_FUNCTION_GET_STATUS_FROM_ENDPOINT, urb_function, get_status_from_endpoint);
CHECK_VALUE(URB_FUNCTION_VENDOR_DEVICE, urb_function, vendor_device);
CHECK_VALUE(URB_FUNCTION_VENDOR_INTERFACE, urb_function, vendor_interface);
CHECK_VALUE(URB_FUNCTION_VENDOR_ENDPOINT, urb_function, vendor_endpoint);
CHECK_VALUE(URB_FUNCTION_CLASS_DEVICE, urb_function, class_device);
CHECK_VALUE(URB_FUNCTION_CLASS_INTERFACE, urb_function, class_interface);
CHECK_VALUE(URB_FUNCTION_CLASS_ENDPOINT, urb_function, class_endpoint);
CHECK_VALUE(URB_FUNCTION_SYNC_RESET_PIPE_AND_CLEAR_STALL, urb_function, sync_reset_pipe_and_clear_stall);
CHECK_VALUE(URB_FUNCTION_CLASS_OTHER, urb_function, class_other);
CHECK_VALUE(URB_FUNCTION_VENDOR_OTHER, urb_function, vendor_other);
CHECK_VALUE(URB_FUNCTION_GET_STATUS_FROM_OTHER, urb_function, get_status_from_other);
CHECK_VALUE(URB_FUNCTION_CLEAR_FEATURE_TO_OTHER, urb_function, clear_feature_to_other);
CHECK_VALUE(URB_FUNCTION_SET_FEATURE_TO_OTHER, urb_function, set_feature_to_other);
CHECK_VALUE(URB_FUNCTION_GET_DESCRIPTOR_FROM_ENDPOINT, urb_function, get_descriptor_from_endpoint);
CHECK_VALUE(URB_FUNCTION_SET_DESCRIPTOR_TO_ENDPOINT, urb_function, set_descriptor_to_endpoint);
CHECK_VALUE(URB_FUNCTION_GET_CONFIGURATION, urb_function, get_configuration);
CHECK_VALUE(URB_FUNCTION_GET_INTERFACE, urb_function, get_interface);
CHECK_VALUE(URB_FUNCTION_GET_DESCRIPTOR_FROM_INTERFACE, urb_function, get_descriptor_from_interface);
CHECK_VALUE(URB_FUNCTION_SET_DESCRIPTOR_TO_INTERFACE, urb_function, set_descriptor_to_interface);
CHECK_VALUE(URB_FUNCTION_GET_MS_FEATURE_DESCRIPTOR, urb_function, get_ms_feature_descriptor);
CHECK_VALUE(URB_FUNCTION_SYNC_RESET_PIPE, urb_function, sync_reset_pipe);
CHECK_VALUE(URB_FUNCTION_SYNC_CLEAR_STALL, urb_function, sync_clear_stall);

CHECK_VALUE(USBD_TRANSFER_DIRECTION_OUT, usbd_transfer, direction_out);
CHECK_VALUE(USBD_TRANSFER_DIRECTION_IN, usbd_transfer, direction_in);
CHECK_VALUE(USBD_SHORT_TRANSFER_OK, usbd_transfer, short_transfer_ok);
CHECK_VALUE(USBD_START_ISO_TRANSFER_ASAP, usbd_transfer, start_iso_transfer_asap);
CHECK_VALUE(USBD_DEFAULT_PIPE_TRANSFER, usbd_transfer, default_pipe_transfer);

CHECK_VALUE(USBD_STATUS_SUCCESS, usbd_status, success);
CHECK_VALUE(USBD_STATUS_PENDING, usbd_status, pending);
CHECK_VALUE(USBD_STATUS_CRC, usbd_status, crc);
CHECK_VALUE(USBD_STATUS_BTSTUFF, usbd_status, btstuff);
CHECK_VALUE(USBD_STATUS_DATA_TOGGLE_MISMATCH, usbd_status, data_toggle_mismatch);
CHECK_VALUE(USBD_STATUS_STALL_PID, usbd_status, stall_pid);
CHECK_VALUE(USBD_STATUS_DEV_NOT_RESPONDING, usbd_status, dev_not_responding);
CHECK_VALUE(USBD_STATUS_PID_CHECK_FAILURE, usbd_status, pid_check_failure);
CHECK_VALUE(USBD_STATUS_UNEXPECTED_PID, usbd_status, unexpected_pid);
CHECK_VALUE(USBD_STATUS_DATA_OVERRUN, usbd_status, data_overrun);
CHECK_VALUE(USBD_STATUS_DATA_UNDERRUN, usbd_status, data_underrun);
CHECK_VALUE(USBD_STATUS_BUFFER_OVERRUN, usbd_status, buffer_overrun);
CHECK_VALUE(USBD_STATUS_BUFFER_UNDERRUN, usbd_status, buffer_underrun);
CHECK_VALUE(USBD_STATUS_NOT_ACCESSED, usbd_status, not_accessed);
CHECK_VALUE(USBD_STATUS_FIFO, usbd_status, fifo);
CHECK_VALUE(USBD_STATUS_ENDPOINT_HALTED, usbd_status, endpoint_halted);
CHECK_VALUE(USBD_STATUS_INVALID_URB_FUNCTION, usbd_status, invalid_urb_function);
CHECK_VALUE(USBD_STATUS_INVALID_PARAMETER, usbd_status, invalid_parameter);
CHECK_VALUE(USBD_STATUS_ERROR_BUSY, usbd_status, error_busy);
CHECK_VALUE(USBD_STATUS_INVALID_PIPE_HANDLE, usbd_status, invalid_pipe_handle);
CHECK_VALUE(USBD_STATUS_NO_BANDWIDTH, usbd_status, no_bandwidth);
CHECK_VALUE(USBD_STATUS_INTERNAL_HC_ERROR, usbd_status, internal_hc_error);
CHECK_VALUE(USBD_STATUS_ERROR_SHORT_TRANSFER, usbd_status, error_short_transfer);
CHECK_VALUE(USBD_STATUS_BAD_START_FRAME, usbd_status, bad_start_frame);
CHECK_VALUE(USBD_STATUS_ISOCH_REQUEST_FAILED, usbd_status, isoch_request_failed);
CHECK_VALUE(USBD_STATUS_FRAME_CONTROL_OWNED, usbd_status, frame_control_owned);
CHECK_VALUE(USBD_STATUS_FRAME_CONTROL_NOT_OWNED, usbd_status, frame_control_not_owned);
CHECK_VALUE(USBD_STATUS_NOT_SUPPORTED, usbd_status, not_supported);
CHECK_VALUE(USBD_STATUS_INAVLID_CONFIGURATION_DESCRIPTOR, usbd_status, invalid_configuration_descriptor);
CHECK_VALUE(USBD_STATUS_INSUFFICIENT_RESOURCES, usbd_status, insufficient_resources);
CHECK_VALUE(USBD_STATUS_SET_CONFIG_FAILED, usbd_status, set_config_failed);
CHECK_VALUE(USBD_STATUS_BUFFER_TOO_SMALL, usbd_status, buffer_too_small);
CHECK_VALUE(USBD_STATUS_INTERFACE_NOT_FOUND, usbd_status, interface_not_found);
CHECK_VALUE(USBD_STATUS_INAVLID_PIPE_FLAGS, usbd_status, invalid_pipe_flags);
CHECK_VALUE(USBD_STATUS_TIMEOUT, usbd_status, timeout);
CHECK_VALUE(USBD_STATUS_DEVICE_GONE, usbd_status, device_gone);
CHECK_VALUE(USBD_STATUS_STATUS_NOT_MAPPED, usbd_status, status_not_mapped);
CHECK_VALUE(USBD_STATUS_CANCELED, usbd_status, canceled);
CHECK_VALUE(USBD_STATUS_ISO_NOT_ACCESSED_BY_HW, usbd_status, iso_not_accessed_by_hw);
CHECK_VALUE(USBD_STATUS_ISO_TD_ERROR, usbd_status, iso_td_error);
CHECK_VALUE(USBD_STATUS_ISO_NA_LATE_USBPORT, usbd_status, iso_na_late_usbport);
CHECK_VALUE(USBD_STATUS_ISO_NOT_ACCESSED_LATE, usbd_status, iso_not_accessed_late);

CHECK_VALUE(UsbdPipeTypeControl, usbd_pipe_type, control);
CHECK_VALUE(UsbdPipeTypeIsochronous, usbd_pipe_type, isochronous);
CHECK_VALUE(UsbdPipeTypeBulk, usbd_pipe_type, bulk);
CHECK_VALUE(UsbdPipeTypeInterrupt, usbd_pipe_type, interrupt);

CHECK_VALUE(USB_DEVICE_DESCRIPTOR_TYPE, usb_descriptor_type, device);
CHECK_VALUE(USB_CONFIGURATION_DESCRIPTOR_TYPE, usb_descriptor_type, configuration);
CHECK_VALUE(USB_STRING_DESCRIPTOR_TYPE, usb_descriptor_type, string);
CHECK_VALUE(USB_INTERFACE_DESCRIPTOR_TYPE, usb_descriptor_type, interface_);
CHECK_VALUE(USB_ENDPOINT_DESCRIPTOR_TYPE, usb_descriptor_type, endpoint);

CHECK_VALUE(USB_ENDPOINT_DIRECTION_MASK, usb_endpoint, direction_mask);
CHECK_VALUE(USB_ENDPOINT_TYPE_MASK, usb_endpoint, type_mask);
CHECK_VALUE(USB_ENDPOINT_TYPE_CONTROL, usb_endpoint, type_control);
CHECK_VALUE(USB_ENDPOINT_TYPE_ISOCHRONOUS, usb_endpoint, type_isochronous);
CHECK_VALUE(USB_ENDPOINT_TYPE_BULK, usb_endpoint, type_bulk);
CHECK_VALUE(USB_ENDPOINT_TYPE_INTERRUPT, usb_endpoint, type_interrupt);

CHECK_VALUE(USBD_PORT_ENABLED, usbd_port, enabled);
CHECK_VALUE(USBD_PORT_CONNECTED, usbd_port, connected);

CHECK_VALUE(IOCTL_INTERNAL_USB_SUBMIT_URB, ioctl_internal_usb, submit_urb);
CHECK_VALUE(IOCTL_INTERNAL_USB_RESET_PORT, ioctl_internal_usb, reset_port);
CHECK_VALUE(IOCTL_INTERNAL_USB_GET_PORT_STATUS, ioctl_internal_usb, get_port_status);
