// Our kernel records and constants against the table of real x64 numbers: a slip fails the build.
#include "platform/abi/x64_layout.h"
#include "platform/kernel/wdm.h"

#define SIZE(T, ns) static_assert(sizeof(T) == x64::ns::size, #T " size")
#define AT(T, member, ns, field) static_assert(offsetof(T, member) == x64::ns::field, #T "." #member)
#define VALUE(name, ns, field) static_assert(static_cast<uint64_t>(name) == static_cast<uint64_t>(x64::ns::field), #name)
#define STATUS(name, field) static_assert(static_cast<uint32_t>(name) == x64::status::field, #name)

SIZE(IO_STATUS_BLOCK, io_status_block);
AT(IO_STATUS_BLOCK, Status, io_status_block, status);
AT(IO_STATUS_BLOCK, Pointer, io_status_block, pointer);
AT(IO_STATUS_BLOCK, Information, io_status_block, information);

SIZE(UNICODE_STRING, unicode_string);
AT(UNICODE_STRING, Length, unicode_string, length);
AT(UNICODE_STRING, MaximumLength, unicode_string, maximum_length);
AT(UNICODE_STRING, Buffer, unicode_string, buffer);

SIZE(MDL, mdl);
AT(MDL, Next, mdl, next);
AT(MDL, Size, mdl, size_field);
AT(MDL, MdlFlags, mdl, mdl_flags);
AT(MDL, Process, mdl, process);
AT(MDL, MappedSystemVa, mdl, mapped_system_va);
AT(MDL, StartVa, mdl, start_va);
AT(MDL, ByteCount, mdl, byte_count);
AT(MDL, ByteOffset, mdl, byte_offset);

SIZE(IRP, irp);
AT(IRP, Type, irp, type);
AT(IRP, Size, irp, size_field);
AT(IRP, MdlAddress, irp, mdl_address);
AT(IRP, Flags, irp, flags);
AT(IRP, AssociatedIrp, irp, associated_irp);
AT(IRP, AssociatedIrp.SystemBuffer, irp, system_buffer);
AT(IRP, ThreadListEntry, irp, thread_list_entry);
AT(IRP, IoStatus, irp, io_status);
AT(IRP, RequestorMode, irp, requestor_mode);
AT(IRP, PendingReturned, irp, pending_returned);
AT(IRP, StackCount, irp, stack_count);
AT(IRP, CurrentLocation, irp, current_location);
AT(IRP, Cancel, irp, cancel);
AT(IRP, CancelIrql, irp, cancel_irql);
AT(IRP, ApcEnvironment, irp, apc_environment);
AT(IRP, AllocationFlags, irp, allocation_flags);
AT(IRP, UserIosb, irp, user_iosb);
AT(IRP, UserEvent, irp, user_event);
AT(IRP, Overlay, irp, overlay);
AT(IRP, CancelRoutine, irp, cancel_routine);
AT(IRP, UserBuffer, irp, user_buffer);
AT(IRP, Tail, irp, tail);
AT(IRP, Tail.Overlay.DriverContext, irp, tail_overlay_driver_context);
AT(IRP, Tail.Overlay.Thread, irp, tail_overlay_thread);
AT(IRP, Tail.Overlay.ListEntry, irp, tail_overlay_list_entry);
AT(IRP, Tail.Overlay.CurrentStackLocation, irp, tail_overlay_current_stack_location);
AT(IRP, Tail.Overlay.OriginalFileObject, irp, tail_overlay_original_file_object);

SIZE(IO_STACK_LOCATION, io_stack_location);
AT(IO_STACK_LOCATION, MajorFunction, io_stack_location, major_function);
AT(IO_STACK_LOCATION, MinorFunction, io_stack_location, minor_function);
AT(IO_STACK_LOCATION, Flags, io_stack_location, flags);
AT(IO_STACK_LOCATION, Control, io_stack_location, control);
AT(IO_STACK_LOCATION, Parameters, io_stack_location, parameters);
AT(IO_STACK_LOCATION, Parameters.DeviceIoControl.OutputBufferLength, io_stack_location,
   device_io_control_output_buffer_length);
AT(IO_STACK_LOCATION, Parameters.DeviceIoControl.InputBufferLength, io_stack_location,
   device_io_control_input_buffer_length);
AT(IO_STACK_LOCATION, Parameters.DeviceIoControl.IoControlCode, io_stack_location,
   device_io_control_io_control_code);
AT(IO_STACK_LOCATION, Parameters.DeviceIoControl.Type3InputBuffer, io_stack_location,
   device_io_control_type3_input_buffer);
AT(IO_STACK_LOCATION, Parameters.Others.Argument1, io_stack_location, others_argument1);
AT(IO_STACK_LOCATION, Parameters.Others.Argument2, io_stack_location, others_argument2);
AT(IO_STACK_LOCATION, Parameters.Others.Argument3, io_stack_location, others_argument3);
AT(IO_STACK_LOCATION, Parameters.Others.Argument4, io_stack_location, others_argument4);
AT(IO_STACK_LOCATION, Parameters.DeviceCapabilities.Capabilities, io_stack_location,
   device_capabilities_capabilities);
AT(IO_STACK_LOCATION, Parameters.Power.SystemContext, io_stack_location, power_system_context);
AT(IO_STACK_LOCATION, Parameters.Power.Type, io_stack_location, power_type);
AT(IO_STACK_LOCATION, Parameters.Power.State, io_stack_location, power_state);
AT(IO_STACK_LOCATION, Parameters.Power.ShutdownType, io_stack_location, power_shutdown_type);
AT(IO_STACK_LOCATION, DeviceObject, io_stack_location, device_object);
AT(IO_STACK_LOCATION, FileObject, io_stack_location, file_object);
AT(IO_STACK_LOCATION, CompletionRoutine, io_stack_location, completion_routine);
AT(IO_STACK_LOCATION, Context, io_stack_location, context);

SIZE(DEVICE_OBJECT, device_object);
AT(DEVICE_OBJECT, Type, device_object, type);
AT(DEVICE_OBJECT, Size, device_object, size_field);
AT(DEVICE_OBJECT, ReferenceCount, device_object, reference_count);
AT(DEVICE_OBJECT, DriverObject, device_object, driver_object);
AT(DEVICE_OBJECT, NextDevice, device_object, next_device);
AT(DEVICE_OBJECT, AttachedDevice, device_object, attached_device);
AT(DEVICE_OBJECT, CurrentIrp, device_object, current_irp);
AT(DEVICE_OBJECT, Timer, device_object, timer);
AT(DEVICE_OBJECT, Flags, device_object, flags);
AT(DEVICE_OBJECT, Characteristics, device_object, characteristics);
AT(DEVICE_OBJECT, Vpb, device_object, vpb);
AT(DEVICE_OBJECT, DeviceExtension, device_object, device_extension);
AT(DEVICE_OBJECT, DeviceType, device_object, device_type);
AT(DEVICE_OBJECT, StackSize, device_object, stack_size);

SIZE(DRIVER_OBJECT, driver_object);
AT(DRIVER_OBJECT, Type, driver_object, type);
AT(DRIVER_OBJECT, Size, driver_object, size_field);
AT(DRIVER_OBJECT, DeviceObject, driver_object, device_object);
AT(DRIVER_OBJECT, Flags, driver_object, flags);
AT(DRIVER_OBJECT, DriverStart, driver_object, driver_start);
AT(DRIVER_OBJECT, DriverSize, driver_object, driver_size);
AT(DRIVER_OBJECT, DriverSection, driver_object, driver_section);
AT(DRIVER_OBJECT, DriverExtension, driver_object, driver_extension);
AT(DRIVER_OBJECT, DriverName, driver_object, driver_name);
AT(DRIVER_OBJECT, HardwareDatabase, driver_object, hardware_database);
AT(DRIVER_OBJECT, FastIoDispatch, driver_object, fast_io_dispatch);
AT(DRIVER_OBJECT, DriverInit, driver_object, driver_init);
AT(DRIVER_OBJECT, DriverStartIo, driver_object, driver_start_io);
AT(DRIVER_OBJECT, DriverUnload, driver_object, driver_unload);
AT(DRIVER_OBJECT, MajorFunction, driver_object, major_function);
static_assert(sizeof(DRIVER_OBJECT::MajorFunction) / sizeof(PDRIVER_DISPATCH) ==
              x64::driver_object::major_function_count);

AT(DRIVER_EXTENSION, DriverObject, driver_extension, driver_object);
AT(DRIVER_EXTENSION, AddDevice, driver_extension, add_device);
AT(DRIVER_EXTENSION, Count, driver_extension, count);
AT(DRIVER_EXTENSION, ServiceKeyName, driver_extension, service_key_name);

SIZE(KEVENT, kevent);

SIZE(DEVICE_CAPABILITIES, device_capabilities);
AT(DEVICE_CAPABILITIES, Size, device_capabilities, size_field);
AT(DEVICE_CAPABILITIES, Version, device_capabilities, version);
AT(DEVICE_CAPABILITIES, Address, device_capabilities, address);
AT(DEVICE_CAPABILITIES, UINumber, device_capabilities, ui_number);
AT(DEVICE_CAPABILITIES, DeviceState, device_capabilities, device_state);
AT(DEVICE_CAPABILITIES, SystemWake, device_capabilities, system_wake);
AT(DEVICE_CAPABILITIES, DeviceWake, device_capabilities, device_wake);
AT(DEVICE_CAPABILITIES, D1Latency, device_capabilities, d1_latency);
AT(DEVICE_CAPABILITIES, D2Latency, device_capabilities, d2_latency);
AT(DEVICE_CAPABILITIES, D3Latency, device_capabilities, d3_latency);
static_assert(sizeof(DEVICE_CAPABILITIES::DeviceState) / sizeof(DEVICE_POWER_STATE) ==
              x64::device_capabilities::device_state_count);

VALUE(PASSIVE_LEVEL, irql, passive_level);
VALUE(APC_LEVEL, irql, apc_level);
VALUE(DISPATCH_LEVEL, irql, dispatch_level);

VALUE(IRP_MJ_CREATE, irp_mj, create);
VALUE(IRP_MJ_CLOSE, irp_mj, close);
VALUE(IRP_MJ_READ, irp_mj, read);
VALUE(IRP_MJ_WRITE, irp_mj, write);
VALUE(IRP_MJ_DEVICE_CONTROL, irp_mj, device_control);
VALUE(IRP_MJ_INTERNAL_DEVICE_CONTROL, irp_mj, internal_device_control);
VALUE(IRP_MJ_CLEANUP, irp_mj, cleanup);
VALUE(IRP_MJ_POWER, irp_mj, power);
VALUE(IRP_MJ_SYSTEM_CONTROL, irp_mj, system_control);
VALUE(IRP_MJ_PNP, irp_mj, pnp);
VALUE(IRP_MJ_MAXIMUM_FUNCTION, irp_mj, maximum_function);

VALUE(IRP_MN_START_DEVICE, irp_mn, start_device);
VALUE(IRP_MN_QUERY_REMOVE_DEVICE, irp_mn, query_remove_device);
VALUE(IRP_MN_REMOVE_DEVICE, irp_mn, remove_device);
VALUE(IRP_MN_CANCEL_REMOVE_DEVICE, irp_mn, cancel_remove_device);
VALUE(IRP_MN_STOP_DEVICE, irp_mn, stop_device);
VALUE(IRP_MN_QUERY_STOP_DEVICE, irp_mn, query_stop_device);
VALUE(IRP_MN_CANCEL_STOP_DEVICE, irp_mn, cancel_stop_device);
VALUE(IRP_MN_QUERY_DEVICE_RELATIONS, irp_mn, query_device_relations);
VALUE(IRP_MN_QUERY_INTERFACE, irp_mn, query_interface);
VALUE(IRP_MN_QUERY_CAPABILITIES, irp_mn, query_capabilities);
VALUE(IRP_MN_QUERY_ID, irp_mn, query_id);
VALUE(IRP_MN_QUERY_PNP_DEVICE_STATE, irp_mn, query_pnp_device_state);
VALUE(IRP_MN_SURPRISE_REMOVAL, irp_mn, surprise_removal);
VALUE(IRP_MN_WAIT_WAKE, irp_mn, wait_wake);
VALUE(IRP_MN_POWER_SEQUENCE, irp_mn, power_sequence);
VALUE(IRP_MN_SET_POWER, irp_mn, set_power);
VALUE(IRP_MN_QUERY_POWER, irp_mn, query_power);

VALUE(SL_PENDING_RETURNED, sl, pending_returned);
VALUE(SL_INVOKE_ON_CANCEL, sl, invoke_on_cancel);
VALUE(SL_INVOKE_ON_SUCCESS, sl, invoke_on_success);
VALUE(SL_INVOKE_ON_ERROR, sl, invoke_on_error);

VALUE(IRP_BUFFERED_IO, irp_flag, buffered_io);
VALUE(IRP_DEALLOCATE_BUFFER, irp_flag, deallocate_buffer);
VALUE(IRP_INPUT_OPERATION, irp_flag, input_operation);

VALUE(DO_BUFFERED_IO, do_flag, buffered_io);
VALUE(DO_EXCLUSIVE, do_flag, exclusive);
VALUE(DO_DIRECT_IO, do_flag, direct_io);
VALUE(DO_MAP_IO_BUFFER, do_flag, map_io_buffer);
VALUE(DO_DEVICE_INITIALIZING, do_flag, device_initializing);
VALUE(DO_POWER_PAGABLE, do_flag, power_pagable);
VALUE(DO_POWER_INRUSH, do_flag, power_inrush);

VALUE(MDL_MAPPED_TO_SYSTEM_VA, mdl_flag, mapped_to_system_va);
VALUE(MDL_PAGES_LOCKED, mdl_flag, pages_locked);
VALUE(MDL_SOURCE_IS_NONPAGED_POOL, mdl_flag, source_is_nonpaged_pool);
VALUE(MDL_ALLOCATED_FIXED_SIZE, mdl_flag, allocated_fixed_size);
VALUE(MDL_PARTIAL, mdl_flag, partial);
VALUE(MDL_PARTIAL_HAS_BEEN_MAPPED, mdl_flag, partial_has_been_mapped);
VALUE(MDL_IO_PAGE_READ, mdl_flag, io_page_read);
VALUE(MDL_WRITE_OPERATION, mdl_flag, write_operation);
VALUE(MDL_PARENT_MAPPED_SYSTEM_VA, mdl_flag, parent_mapped_system_va);
VALUE(MDL_IO_SPACE, mdl_flag, io_space);

STATUS(STATUS_SUCCESS, success);
STATUS(STATUS_WAIT_0, wait_0);
STATUS(STATUS_TIMEOUT, timeout);
STATUS(STATUS_PENDING, pending);
STATUS(STATUS_BUFFER_OVERFLOW, buffer_overflow);
STATUS(STATUS_UNSUCCESSFUL, unsuccessful);
STATUS(STATUS_NOT_IMPLEMENTED, not_implemented);
STATUS(STATUS_INVALID_PARAMETER, invalid_parameter);
STATUS(STATUS_NO_SUCH_DEVICE, no_such_device);
STATUS(STATUS_INVALID_DEVICE_REQUEST, invalid_device_request);
STATUS(STATUS_MORE_PROCESSING_REQUIRED, more_processing_required);
STATUS(STATUS_NO_MEMORY, no_memory);
STATUS(STATUS_ACCESS_DENIED, access_denied);
STATUS(STATUS_BUFFER_TOO_SMALL, buffer_too_small);
STATUS(STATUS_OBJECT_NAME_NOT_FOUND, object_name_not_found);
STATUS(STATUS_OBJECT_NAME_COLLISION, object_name_collision);
STATUS(STATUS_DELETE_PENDING, delete_pending);
STATUS(STATUS_INSUFFICIENT_RESOURCES, insufficient_resources);
STATUS(STATUS_DEVICE_NOT_CONNECTED, device_not_connected);
STATUS(STATUS_IO_TIMEOUT, io_timeout);
STATUS(STATUS_NOT_SUPPORTED, not_supported);
STATUS(STATUS_CANCELLED, cancelled);
STATUS(STATUS_INVALID_DEVICE_STATE, invalid_device_state);

VALUE(FILE_DEVICE_UNKNOWN, file_device, unknown);
VALUE(FILE_DEVICE_USB, file_device, usb);
VALUE(FILE_DEVICE_SECURE_OPEN, file_device, secure_open);
VALUE(METHOD_BUFFERED, method, buffered);
VALUE(METHOD_IN_DIRECT, method, in_direct);
VALUE(METHOD_OUT_DIRECT, method, out_direct);
VALUE(METHOD_NEITHER, method, neither);
VALUE(FILE_ANY_ACCESS, file_access, any);
VALUE(FILE_READ_ACCESS, file_access, read);
VALUE(FILE_WRITE_ACCESS, file_access, write);
VALUE(NonPagedPool, pool_type, non_paged_pool);
VALUE(PagedPool, pool_type, paged_pool);
VALUE(KernelMode, processor_mode, kernel_mode);
VALUE(UserMode, processor_mode, user_mode);
VALUE(NotificationEvent, event_type, notification_event);
VALUE(SynchronizationEvent, event_type, synchronization_event);
VALUE(Executive, wait_reason, executive);
VALUE(SystemPowerState, power, system_power_state);
VALUE(DevicePowerState, power, device_power_state);
VALUE(PowerDeviceUnspecified, power, power_device_unspecified);
VALUE(PowerDeviceD0, power, power_device_d0);
VALUE(PowerDeviceD1, power, power_device_d1);
VALUE(PowerDeviceD2, power, power_device_d2);
VALUE(PowerDeviceD3, power, power_device_d3);
VALUE(PowerSystemUnspecified, power, power_system_unspecified);
VALUE(PowerSystemWorking, power, power_system_working);
VALUE(PowerSystemSleeping1, power, power_system_sleeping1);
VALUE(PowerSystemSleeping2, power, power_system_sleeping2);
VALUE(PowerSystemSleeping3, power, power_system_sleeping3);
VALUE(PowerSystemHibernate, power, power_system_hibernate);
VALUE(PowerSystemShutdown, power, power_system_shutdown);
VALUE(IO_NO_INCREMENT, io_priority, no_increment);
