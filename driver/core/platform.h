// The driver's whole view of the system: the kit headers in the Windows build, our platform's
// headers everywhere else. The only place in the driver where the two builds differ.
#pragma once

#ifdef _WIN32
extern "C" {
#include <ntddk.h>
#include <usb.h>
#include <usbdlib.h>
#include <usbioctl.h>
}
// WCHAR is wchar_t in the kit.
#define DRIVER_TEXT(s) L##s
#else
#include "platform/kernel/wdm.h"
#include "platform/usb/usbdi.h"
// WCHAR is char16_t on our platform.
#define DRIVER_TEXT(s) u##s
#endif
