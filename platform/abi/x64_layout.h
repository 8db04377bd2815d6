// Expected x64 Windows sizes, member offsets and constant values of every kernel and USB record and
// constant the driver or the USB bus relies on. Our platform records and the kit's are both checked
// against these numbers, so a layout slip fails one build or the other.
#pragma once

#include <cstddef>
#include <cstdint>

namespace x64 {

// ---------------------------------------------------------------- kernel records

namespace io_status_block {
constexpr std::size_t size = 0x10, status = 0x00, pointer = 0x00, information = 0x08;
}

namespace unicode_string {
constexpr std::size_t size = 0x10, length = 0x00, maximum_length = 0x02, buffer = 0x08;
}

namespace mdl {
constexpr std::size_t size = 0x30, next = 0x00, size_field = 0x08, mdl_flags = 0x0A, process = 0x10,
                      mapped_system_va = 0x18, start_va = 0x20, byte_count = 0x28, byte_offset = 0x2C;
}

namespace irp {
constexpr std::size_t size = 0xD0, type = 0x00, size_field = 0x02, mdl_address = 0x08, flags = 0x10,
                      associated_irp = 0x18, system_buffer = 0x18, thread_list_entry = 0x20,
                      io_status = 0x30, requestor_mode = 0x40, pending_returned = 0x41,
                      stack_count = 0x42, current_location = 0x43, cancel = 0x44, cancel_irql = 0x45,
                      apc_environment = 0x46, allocation_flags = 0x47, user_iosb = 0x48,
                      user_event = 0x50, overlay = 0x58, cancel_routine = 0x68, user_buffer = 0x70,
                      tail = 0x78, tail_overlay_driver_context = 0x78, tail_overlay_thread = 0x98,
                      tail_overlay_list_entry = 0xA8, tail_overlay_current_stack_location = 0xB8,
                      tail_overlay_original_file_object = 0xC0;
}

namespace io_stack_location {
constexpr std::size_t size = 0x48, major_function = 0x00, minor_function = 0x01, flags = 0x02,
                      control = 0x03, parameters = 0x08,
                      // Parameters.DeviceIoControl: each member pointer-aligned on x64.
                      device_io_control_output_buffer_length = 0x08,
                      device_io_control_input_buffer_length = 0x10,
                      device_io_control_io_control_code = 0x18,
                      device_io_control_type3_input_buffer = 0x20,
                      others_argument1 = 0x08, others_argument2 = 0x10, others_argument3 = 0x18,
                      others_argument4 = 0x20,
                      // Parameters.DeviceCapabilities.Capabilities and Parameters.Power.*.
                      device_capabilities_capabilities = 0x08, power_system_context = 0x08,
                      power_type = 0x10, power_state = 0x18, power_shutdown_type = 0x20,
                      device_object = 0x28, file_object = 0x30, completion_routine = 0x38,
                      context = 0x40;
}

// The real object ends in a reserved pointer, which takes it to 0x150 bytes.
namespace device_object {
constexpr std::size_t size = 0x150, type = 0x00, size_field = 0x02, reference_count = 0x04,
                      driver_object = 0x08, next_device = 0x10, attached_device = 0x18,
                      current_irp = 0x20, timer = 0x28, flags = 0x30, characteristics = 0x34,
                      vpb = 0x38, device_extension = 0x40, device_type = 0x48, stack_size = 0x4C;
}

namespace driver_object {
constexpr std::size_t size = 0x150, type = 0x00, size_field = 0x02, device_object = 0x08, flags = 0x10,
                      driver_start = 0x18, driver_size = 0x20, driver_section = 0x28,
                      driver_extension = 0x30, driver_name = 0x38, hardware_database = 0x48,
                      fast_io_dispatch = 0x50, driver_init = 0x58, driver_start_io = 0x60,
                      driver_unload = 0x68, major_function = 0x70;
constexpr std::size_t major_function_count = 0x1C;
}

namespace driver_extension {
constexpr std::size_t driver_object = 0x00, add_device = 0x08, count = 0x10, service_key_name = 0x18;
}

namespace kevent {
constexpr std::size_t size = 0x18;
}

namespace device_capabilities {
constexpr std::size_t size = 0x40, size_field = 0x00, version = 0x02, flags = 0x04, address = 0x08,
                      ui_number = 0x0C, device_state = 0x10, system_wake = 0x2C, device_wake = 0x30,
                      d1_latency = 0x34, d2_latency = 0x38, d3_latency = 0x3C;
constexpr std::size_t device_state_count = 7;
}

// ---------------------------------------------------------------- USB records

namespace usb_common_descriptor {
constexpr std::size_t size = 2, b_length = 0, b_descriptor_type = 1;
}

namespace usb_device_descriptor {
constexpr std::size_t size = 18, b_length = 0, b_descriptor_type = 1, bcd_usb = 2, b_device_class = 4,
                      b_device_sub_class = 5, b_device_protocol = 6, b_max_packet_size0 = 7,
                      id_vendor = 8, id_product = 10, bcd_device = 12, i_manufacturer = 14,
                      i_product = 15, i_serial_number = 16, b_num_configurations = 17;
}

namespace usb_configuration_descriptor {
constexpr std::size_t size = 9, b_length = 0, b_descriptor_type = 1, w_total_length = 2,
                      b_num_interfaces = 4, b_configuration_value = 5, i_configuration = 6,
                      bm_attributes = 7, max_power = 8;
}

namespace usb_interface_descriptor {
constexpr std::size_t size = 9, b_length = 0, b_descriptor_type = 1, b_interface_number = 2,
                      b_alternate_setting = 3, b_num_endpoints = 4, b_interface_class = 5,
                      b_interface_sub_class = 6, b_interface_protocol = 7, i_interface = 8;
}

namespace usb_endpoint_descriptor {
constexpr std::size_t size = 7, b_length = 0, b_descriptor_type = 1, b_endpoint_address = 2,
                      bm_attributes = 3, w_max_packet_size = 4, b_interval = 6;
}

// Declared with one UTF-16 unit, so the record is 4 bytes though only 2 are header.
namespace usb_string_descriptor {
constexpr std::size_t size = 4, b_length = 0, b_descriptor_type = 1, b_string = 2;
}

namespace usbd_version_information {
constexpr std::size_t size = 8, usbdi_version = 0, supported_usb_version = 4;
}

namespace usbd_pipe_information {
constexpr std::size_t size = 24, maximum_packet_size = 0x00, endpoint_address = 0x02, interval = 0x03,
                      pipe_type = 0x04, pipe_handle = 0x08, maximum_transfer_size = 0x10,
                      pipe_flags = 0x14;
}

// Size is with the one declared pipe; n pipes take 24 + 24 * n bytes.
namespace usbd_interface_information {
constexpr std::size_t size = 48, length = 0x00, interface_number = 0x02, alternate_setting = 0x03,
                      class_ = 0x04, sub_class = 0x05, protocol = 0x06, reserved = 0x07,
                      interface_handle = 0x08, number_of_pipes = 0x10, pipes = 0x18;
constexpr std::size_t base = 24, per_pipe = 24;
}

namespace usbd_interface_list_entry {
constexpr std::size_t size = 16, interface_descriptor = 0x00, interface_ = 0x08;
}

namespace usbd_iso_packet_descriptor {
constexpr std::size_t size = 12, offset = 0, length = 4, status = 8;
}

namespace urb_header {
constexpr std::size_t size = 24, length = 0x00, function = 0x02, status = 0x04,
                      usbd_device_handle = 0x08, usbd_flags = 0x10;
}

namespace urb_hcd_area {
constexpr std::size_t size = 64;
}

namespace urb_select_interface {
constexpr std::size_t size = 80, configuration_handle = 0x18, interface_ = 0x20;
constexpr std::size_t base = 56, per_pipe = 24;
}

// Size is with one interface of one pipe; with no interface the URB is 88 bytes all the same.
namespace urb_select_configuration {
constexpr std::size_t size = 88, configuration_descriptor = 0x18, configuration_handle = 0x20,
                      interface_ = 0x28;
}

// 36 bytes under a USBDI version below 0x101, which lacks the trailing Reserved word.
namespace urb_pipe_request {
constexpr std::size_t size = 40, legacy_size = 36, pipe_handle = 0x18, reserved = 0x20;
}

namespace urb_frame_length_control {
constexpr std::size_t size = 24;
}

namespace urb_get_current_frame_number {
constexpr std::size_t size = 32, frame_number = 0x18;
}

// The members common to every transfer-shaped URB sit at the same offsets in all of them.
namespace urb_transfer {
constexpr std::size_t pipe_handle = 0x18, transfer_flags = 0x20, transfer_buffer_length = 0x24,
                      transfer_buffer = 0x28, transfer_buffer_mdl = 0x30, urb_link = 0x38, hca = 0x40;
}

namespace urb_control_transfer {
constexpr std::size_t size = 136, setup_packet = 0x80;
}

namespace urb_bulk_or_interrupt_transfer {
constexpr std::size_t size = 128;
}

// Size is with the one declared packet descriptor; n packets are sized 152 + 12 * n.
namespace urb_isoch_transfer {
constexpr std::size_t size = 152, start_frame = 0x80, number_of_packets = 0x84, error_count = 0x88,
                      iso_packet = 0x8C;
constexpr std::size_t base = 152, per_packet = 12;
}

namespace urb_control_descriptor_request {
constexpr std::size_t size = 136, index = 0x82, descriptor_type = 0x83, language_id = 0x84;
}

namespace urb_control_get_status_request {
constexpr std::size_t size = 136, index = 0x84;
}

namespace urb_control_feature_request {
constexpr std::size_t size = 136, feature_selector = 0x82, index = 0x84;
}

namespace urb_control_vendor_or_class_request {
constexpr std::size_t size = 136, request_type_reserved_bits = 0x80, request = 0x81, value = 0x82,
                      index = 0x84;
}

// The union is as large as its largest member, the isochronous transfer.
namespace urb {
constexpr std::size_t size = 152;
}

// ---------------------------------------------------------------- kernel constants

namespace irql {
constexpr std::uint8_t passive_level = 0, apc_level = 1, dispatch_level = 2;
}

namespace irp_mj {
constexpr std::uint8_t create = 0x00, close = 0x02, read = 0x03, write = 0x04, device_control = 0x0E,
                       internal_device_control = 0x0F, cleanup = 0x12, power = 0x16,
                       system_control = 0x17, pnp = 0x1B, maximum_function = 0x1B;
}

namespace irp_mn {
constexpr std::uint8_t start_device = 0x00, query_remove_device = 0x01, remove_device = 0x02,
                       cancel_remove_device = 0x03, stop_device = 0x04, query_stop_device = 0x05,
                       cancel_stop_device = 0x06, query_device_relations = 0x07,
                       query_interface = 0x08, query_capabilities = 0x09, query_id = 0x13,
                       query_pnp_device_state = 0x14, surprise_removal = 0x17;
constexpr std::uint8_t wait_wake = 0x00, power_sequence = 0x01, set_power = 0x02, query_power = 0x03;
}

namespace sl {
constexpr std::uint8_t pending_returned = 0x01, invoke_on_cancel = 0x20, invoke_on_success = 0x40,
                       invoke_on_error = 0x80;
}

namespace irp_flag {
constexpr std::uint32_t buffered_io = 0x10, deallocate_buffer = 0x20, input_operation = 0x40;
}

namespace do_flag {
constexpr std::uint32_t buffered_io = 0x04, exclusive = 0x08, direct_io = 0x10, map_io_buffer = 0x20,
                        device_initializing = 0x80, power_pagable = 0x2000, power_inrush = 0x4000;
}

namespace mdl_flag {
constexpr std::uint16_t mapped_to_system_va = 0x0001, pages_locked = 0x0002,
                        source_is_nonpaged_pool = 0x0004, allocated_fixed_size = 0x0008,
                        partial = 0x0010, partial_has_been_mapped = 0x0020, io_page_read = 0x0040,
                        write_operation = 0x0080, parent_mapped_system_va = 0x0100,
                        io_space = 0x0800;
}

namespace status {
constexpr std::uint32_t success = 0x00000000, wait_0 = 0x00000000, timeout = 0x00000102,
                        pending = 0x00000103, buffer_overflow = 0x80000005,
                        unsuccessful = 0xC0000001, not_implemented = 0xC0000002,
                        invalid_parameter = 0xC000000D, no_such_device = 0xC000000E,
                        invalid_device_request = 0xC0000010, more_processing_required = 0xC0000016,
                        no_memory = 0xC0000017, access_denied = 0xC0000022,
                        buffer_too_small = 0xC0000023, object_name_not_found = 0xC0000034,
                        object_name_collision = 0xC0000035, delete_pending = 0xC0000056,
                        insufficient_resources = 0xC000009A, device_not_connected = 0xC000009D,
                        io_timeout = 0xC00000B5, not_supported = 0xC00000BB,
                        cancelled = 0xC0000120, invalid_device_state = 0xC0000184;
}

namespace file_device {
constexpr std::uint32_t unknown = 0x22, usb = 0x22;
constexpr std::uint32_t secure_open = 0x100;  // a Characteristics bit
}

namespace method {
constexpr std::uint32_t buffered = 0, in_direct = 1, out_direct = 2, neither = 3;
}

namespace file_access {
constexpr std::uint32_t any = 0, read = 1, write = 2;
}

namespace pool_type {
constexpr std::uint32_t non_paged_pool = 0, paged_pool = 1;
}

namespace processor_mode {
constexpr std::uint8_t kernel_mode = 0, user_mode = 1;
}

namespace event_type {
constexpr std::uint32_t notification_event = 0, synchronization_event = 1;
}

namespace wait_reason {
constexpr std::uint32_t executive = 0;
}

namespace power {
constexpr std::uint32_t system_power_state = 0, device_power_state = 1;
constexpr std::uint32_t power_device_unspecified = 0, power_device_d0 = 1, power_device_d1 = 2,
                        power_device_d2 = 3, power_device_d3 = 4;
constexpr std::uint32_t power_system_unspecified = 0, power_system_working = 1,
                        power_system_sleeping1 = 2, power_system_sleeping2 = 3,
                        power_system_sleeping3 = 4, power_system_hibernate = 5,
                        power_system_shutdown = 6;
}

namespace io_priority {
constexpr std::uint8_t no_increment = 0;
}

// ---------------------------------------------------------------- USB constants

namespace urb_function {
constexpr std::uint16_t select_configuration = 0x0000, select_interface = 0x0001, abort_pipe = 0x0002,
                        take_frame_length_control = 0x0003, release_frame_length_control = 0x0004,
                        get_frame_length = 0x0005, set_frame_length = 0x0006,
                        get_current_frame_number = 0x0007, control_transfer = 0x0008,
                        bulk_or_interrupt_transfer = 0x0009, isoch_transfer = 0x000A,
                        get_descriptor_from_device = 0x000B, set_descriptor_to_device = 0x000C,
                        set_feature_to_device = 0x000D, set_feature_to_interface = 0x000E,
                        set_feature_to_endpoint = 0x000F, clear_feature_to_device = 0x0010,
                        clear_feature_to_interface = 0x0011, clear_feature_to_endpoint = 0x0012,
                        get_status_from_device = 0x0013, get_status_from_interface = 0x0014,
                        get_status_from_endpoint = 0x0015, vendor_device = 0x0017,
                        vendor_interface = 0x0018, vendor_endpoint = 0x0019, class_device = 0x001A,
                        class_interface = 0x001B, class_endpoint = 0x001C,
                        sync_reset_pipe_and_clear_stall = 0x001E, class_other = 0x001F,
                        vendor_other = 0x0020, get_status_from_other = 0x0021,
                        clear_feature_to_other = 0x0022, set_feature_to_other = 0x0023,
                        get_descriptor_from_endpoint = 0x0024, set_descriptor_to_endpoint = 0x0025,
                        get_configuration = 0x0026, get_interface = 0x0027,
                        get_descriptor_from_interface = 0x0028, set_descriptor_to_interface = 0x0029,
                        get_ms_feature_descriptor = 0x002A, sync_reset_pipe = 0x0030,
                        sync_clear_stall = 0x0031;
}

namespace usbd_transfer {
constexpr std::uint32_t direction_out = 0, direction_in = 1, short_transfer_ok = 2,
                        start_iso_transfer_asap = 4, default_pipe_transfer = 8;
}

namespace usbd_status {
constexpr std::uint32_t success = 0x00000000, pending = 0x40000000, crc = 0xC0000001, btstuff = 0xC0000002,
                        data_toggle_mismatch = 0xC0000003, stall_pid = 0xC0000004,
                        dev_not_responding = 0xC0000005, pid_check_failure = 0xC0000006,
                        unexpected_pid = 0xC0000007, data_overrun = 0xC0000008,
                        data_underrun = 0xC0000009, buffer_overrun = 0xC000000C,
                        buffer_underrun = 0xC000000D, not_accessed = 0xC000000F, fifo = 0xC0000010,
                        endpoint_halted = 0xC0000030,
                        invalid_urb_function = 0x80000200, invalid_parameter = 0x80000300,
                        error_busy = 0x80000400,
                        invalid_pipe_handle = 0x80000600, no_bandwidth = 0x80000700,
                        internal_hc_error = 0x80000800, error_short_transfer = 0x80000900,
                        bad_start_frame = 0xC0000A00, isoch_request_failed = 0xC0000B00,
                        frame_control_owned = 0xC0000C00, frame_control_not_owned = 0xC0000D00,
                        not_supported = 0xC0000E00, invalid_configuration_descriptor = 0xC0000F00,
                        insufficient_resources = 0xC0001000, set_config_failed = 0xC0002000,
                        buffer_too_small = 0xC0003000, interface_not_found = 0xC0004000,
                        invalid_pipe_flags = 0xC0005000, timeout = 0xC0006000,
                        device_gone = 0xC0007000, status_not_mapped = 0xC0008000,
                        canceled = 0xC0010000, iso_not_accessed_by_hw = 0xC0020000,
                        iso_td_error = 0xC0030000, iso_na_late_usbport = 0xC0040000,
                        iso_not_accessed_late = 0xC0050000;
}

namespace usbd_pipe_type {
constexpr std::uint32_t control = 0, isochronous = 1, bulk = 2, interrupt = 3;
}

namespace usb_descriptor_type {
constexpr std::uint8_t device = 1, configuration = 2, string = 3, interface_ = 4, endpoint = 5;
}

namespace usb_endpoint {
constexpr std::uint8_t direction_mask = 0x80, type_mask = 0x03, type_control = 0, type_isochronous = 1,
                       type_bulk = 2, type_interrupt = 3;
}

namespace usbd_port {
constexpr std::uint32_t enabled = 1, connected = 2;
}

namespace ioctl_internal_usb {
constexpr std::uint32_t submit_urb = 0x220003, reset_port = 0x220007, get_port_status = 0x220013;
}

}  // namespace x64
