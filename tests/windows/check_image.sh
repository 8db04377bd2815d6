#!/bin/sh
# Builds the Windows kernel image with the cross toolchain and checks what the loader will see:
# a PE32+ native image entered at DriverEntry that imports only from the kernel, the HAL and USBD.
# Also compiles the kit-side layout check, so the kit's records must match our layout table.
set -eu

SOURCE_DIR=${1:?usage: check_image.sh SOURCE_DIR}
CROSS_CXX=x86_64-w64-mingw32-g++
OBJDUMP=x86_64-w64-mingw32-objdump
NM=x86_64-w64-mingw32-nm
IMAGE="$SOURCE_DIR/build/windows/bin/lumora.sys"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The cross build must not pick up flags or compilers meant for the host build.
unset CC CXX CFLAGS CXXFLAGS LDFLAGS
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-2}"

for tool in "$CROSS_CXX" "$OBJDUMP" "$NM"; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool not found"
done

# The kit's kernel headers live in ddk/ under the cross compiler's own include directory.
KIT_DDK=
for dir in $(echo | "$CROSS_CXX" -xc++ -E -v - 2>&1 | sed -n '/^#include <...> search starts here:/,/^End of search list/p' \
    | grep '^ '); do
    if [ -f "$dir/ddk/ntddk.h" ]; then
        KIT_DDK="$dir/ddk"
        break
    fi
done
[ -n "$KIT_DDK" ] || fail "no ddk/ntddk.h under the cross compiler's include directories"

echo "== kit layout check ($KIT_DDK)"
"$CROSS_CXX" -std=c++17 -fno-exceptions -fno-rtti -Wall -Wextra -Werror \
    -D__INTRINSIC_DEFINED_InterlockedBitTestAndSet -D__INTRINSIC_DEFINED_InterlockedBitTestAndReset \
    -isystem "$KIT_DDK" -I"$SOURCE_DIR" -fsyntax-only "$SOURCE_DIR/tests/windows/kit_layout_check.cpp" \
    || fail "the kit's records or constants disagree with platform/abi/x64_layout.h"
echo "ok: kit records and constants match the layout table"

echo "== cmake --workflow --preset windows"
(cd "$SOURCE_DIR" && cmake --workflow --preset windows) || fail "the windows workflow failed"
[ -f "$IMAGE" ] || fail "$IMAGE was not produced"

HEADERS=$("$OBJDUMP" -p "$IMAGE") || fail "objdump cannot read $IMAGE"
field() {
    printf '%s\n' "$HEADERS" | awk -v name="$1" '$1 == name { print $2; exit }'
}

echo "== $IMAGE"
printf '%s\n' "$HEADERS" | grep -q 'file format pei-x86-64' || fail "not an x86-64 PE image"
MAGIC=$(field Magic)
[ "$MAGIC" = 020b ] || fail "optional header magic is '$MAGIC', want 020b (PE32+)"
echo "ok: PE32+ x86-64 (magic $MAGIC)"

SUBSYSTEM=$(field Subsystem)
[ "$SUBSYSTEM" = 00000001 ] || fail "subsystem is '$SUBSYSTEM', want 00000001 (native)"
echo "ok: subsystem native"

ENTRY_RVA=$(field AddressOfEntryPoint)
IMAGE_BASE=$(field ImageBase)
if [ -z "$ENTRY_RVA" ] || [ -z "$IMAGE_BASE" ]; then
    fail "no entry point or image base in the headers"
fi
DRIVER_ENTRY=$("$NM" "$IMAGE" | awk '$3 == "DriverEntry" && ($2 == "T" || $2 == "t") { print $1; exit }')
[ -n "$DRIVER_ENTRY" ] || fail "no DriverEntry symbol in the image (was it stripped?)"
ENTRY=$(printf '%x' $((0x$IMAGE_BASE + 0x$ENTRY_RVA)))
WANT=$(printf '%x' $((0x$DRIVER_ENTRY)))
[ "$ENTRY" = "$WANT" ] || fail "entry point is 0x$ENTRY, DriverEntry is at 0x$WANT"
echo "ok: entry point 0x$ENTRY is DriverEntry"

DLLS=$(printf '%s\n' "$HEADERS" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
[ -n "$DLLS" ] || fail "the image imports nothing; a driver needs at least ntoskrnl.exe"
for dll in $DLLS; do
    case "$dll" in
        ntoskrnl.exe | hal.dll | usbd.sys) ;;
        *) fail "imports from $dll; only ntoskrnl.exe, hal.dll and usbd.sys are allowed" ;;
    esac
done
echo "ok: imports only from" "$(printf "%s\n" "$DLLS" | tr "\n" " ")"
echo "PASS"
