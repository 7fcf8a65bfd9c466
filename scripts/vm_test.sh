#!/usr/bin/env bash
# The VM test: the virtual mouse on the real Linux HID stack. Boots Debian's
# kernel under QEMU (software emulation) with an initramfs that holds busybox,
# the kernel's hid, uhid and hid-generic modules, a static vrdk-virtual-mouse
# and the test driver vrdk-vm-check; the guest runs tests/vm/scenario.sh and
# prints each step on the serial console; this script then judges every step
# by the same scenario (see tests/vm/scenario.sh).
#
# Usage: scripts/vm_test.sh [BUILD_DIR]     (default build/release)
# Builds what it needs in BUILD_DIR, caches the kernel in BUILD_DIR/vm/kernel,
# leaves the console log and every step's output in BUILD_DIR/vm, and writes
# BUILD_DIR/vm/result as "passed=N failed=N skipped=N". A machine that cannot
# boot the guest skips the test and says why; that never counts as passed.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
vm=$build/vm
steps=$vm/steps
guest_seconds=100  # the whole stage, boot included, stays within two minutes
mkdir -p "$vm"
rm -f "$vm/result"

result() { echo "passed=$1 failed=$2 skipped=$3" > "$vm/result"; }
skip() {
  echo "vm test SKIPPED: $*"
  result 0 0 1
  exit 0
}
broken() {
  echo "vm test FAILED: $*"
  result 0 1 0
  exit 1
}

# --- What the host needs ------------------------------------------------------
[ "$(uname -m)" = x86_64 ] ||
  skip "the guest runs this machine's x86_64 programs, and this machine is $(uname -m)"
source scripts/packages.sh
scripts/deps.sh "${VM_PACKAGES[@]}" || echo "vm test: could not install ${VM_PACKAGES[*]}"
command -v qemu-system-x86_64 > /dev/null || skip "no qemu-system-x86_64 on this machine"
busybox=/bin/busybox
[ -x "$busybox" ] || skip "no static busybox (package busybox-static) for the guest"

# The versioned package behind linux-image-amd64 ("linux-image-6.1.0-57-amd64").
kernel_package() {
  apt-cache depends linux-image-amd64 2> /dev/null |
    sed -n 's/^ *Depends: \(linux-image-[0-9][^ ]*\)$/\1/p' | head -n 1
}

# Fetches and unpacks the kernel package into the cache, keeping only the
# kernel, the HID modules and the list of built-in modules.
fetch_kernel() {
  local package=$1 into=$2 work
  work=$(mktemp -d "$vm/fetch.XXXXXX")
  if ! (cd "$work" && apt-get download -q "$package" > /dev/null 2>&1) ||
    ! dpkg-deb -x "$work"/*.deb "$work/root"; then
    rm -rf "$work"
    return 1
  fi
  local modules
  modules=$(echo "$work"/root/lib/modules/*)
  rm -rf "$into"
  mkdir -p "$into/modules/kernel/drivers"
  cp "$work"/root/boot/vmlinuz-* "$into/vmlinuz" &&
    cp "$modules"/modules.builtin "$into/modules/" &&
    cp -r "$modules/kernel/drivers/hid" "$into/modules/kernel/drivers/"
  local status=$?
  rm -rf "$work"
  [ $status -eq 0 ] || return 1
  # Newer kernels ship compressed modules; insmod and the packer want them plain.
  find "$into/modules" -name '*.ko.xz' -exec xz -d {} + 2> /dev/null
  find "$into/modules" -name '*.ko.zst' -exec zstd -q -d --rm {} + 2> /dev/null
  touch "$into/ready"
}

package=$(kernel_package)
if [ -z "$package" ]; then
  apt-get update -qq > /dev/null 2>&1
  package=$(kernel_package)
fi
kernel=""
if [ -n "$package" ] && [ -f "$vm/kernel/$package/ready" ]; then
  kernel=$vm/kernel/$package
elif [ -n "$package" ]; then
  echo "vm test: fetching $package"
  if fetch_kernel "$package" "$vm/kernel/$package"; then
    kernel=$vm/kernel/$package
    for old in "$vm"/kernel/*; do [ "$old" = "$kernel" ] || rm -rf "$old"; done
  fi
fi
if [ -z "$kernel" ]; then  # no answer from apt: an older cached kernel will do
  for cached in "$vm"/kernel/*/ready; do [ -f "$cached" ] && kernel=$(dirname "$cached"); done
  [ -n "$kernel" ] && echo "vm test: apt gave no kernel; using the cached $(basename "$kernel")"
fi
[ -n "$kernel" ] || skip "no guest kernel: apt could not fetch linux-image-amd64 and none is cached"

# --- The guest's programs and its initramfs ---------------------------------
# Each: its name in the guest's /bin, its CMake target (linked static), and
# the file the target builds. A compare step runs the same file on the host.
guest_programs=(
  "vrdk-virtual-mouse vrdk-virtual-mouse-static tests/vm/vrdk-virtual-mouse-static"
  "vrdk-vm-check vrdk-vm-check tests/vm/vrdk-vm-check"
  "vrdk-vm-plug vrdk-vm-plug tests/vm/vrdk-vm-plug"
  "vrdkctl vrdkctl-static tests/vm/vrdkctl-static"
)
targets=(vrdk-vm-initramfs)
pack_programs=()
for entry in "${guest_programs[@]}"; do
  read -r name target file <<< "$entry"
  targets+=("$target")
  pack_programs+=("--file=/bin/$name=$build/$file")
done
[ -f "$build/CMakeCache.txt" ] ||
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVRDK_WERROR=ON > /dev/null ||
  broken "cannot configure $build"
cmake --build "$build" --target "${targets[@]}" > "$vm/build.log" 2>&1 ||
  broken "the guest's programs do not build (see $vm/build.log)"

# The starting image: every 7-byte chunk differs from its neighbours, so a
# chunk read from the wrong place or twice shows.
for ((i = 0; i < 2048; i++)); do
  printf "\\x$(printf %02x $(((i * 7 + i / 256 + 1) % 256)))"
done > "$vm/start.bin"

"$build/tools/vrdk-vm-initramfs" --output="$vm/initramfs.cpio" \
  --modules="$kernel/modules" --module=hid --module=uhid --module=hid-generic \
  --file=/bin/busybox="$busybox" --file=/init=tests/vm/init \
  --file=/vm/guest.sh=tests/vm/guest.sh --file=/vm/scenario.sh=tests/vm/scenario.sh \
  --file=/vm/start.bin="$vm/start.bin" --file=/vm/default.bin=resources/VRDK2280MData_Cfg1 \
  "${pack_programs[@]}" > "$vm/initramfs.log" 2>&1 ||
  broken "cannot pack the initramfs: $(cat "$vm/initramfs.log")"

# --- Boot --------------------------------------------------------------------
echo "vm test: booting $(basename "$kernel") under QEMU (software emulation)"
booted_at=$SECONDS
timeout "$guest_seconds" qemu-system-x86_64 -nographic -no-reboot -accel tcg -m 512M -nic none \
  -kernel "$kernel/vmlinuz" -initrd "$vm/initramfs.cpio" \
  -append "console=ttyS0 rdinit=/init panic=-1 quiet loglevel=3" \
  < /dev/null > "$vm/console.raw" 2>&1
qemu_status=$?
# Plain lines: no carriage returns, and a line break for each terminal
# control sequence (the firmware's last words end in one, not in a newline).
tr -d '\r' < "$vm/console.raw" | sed -E $'s/(\e(c|\\[[0-9;?]*[A-Za-z]))+/\\n/g' > "$vm/console.log"
guest_time=$((SECONDS - booted_at))
if ! grep -q '^VMTEST guest up' "$vm/console.log"; then
  if [ $qemu_status -ne 124 ] && grep -q '^qemu-system-x86_64:' "$vm/console.log"; then
    skip "QEMU cannot run the guest here: $(grep -m 1 '^qemu-system-x86_64:' "$vm/console.log")"
  fi
  tail -n 20 "$vm/console.log"
  broken "the guest did not come up (QEMU status $qemu_status; see $vm/console.log)"
fi

# --- Judge every step by the scenario -------------------------------------------
rm -rf "$steps"
mkdir -p "$steps"
awk -v dir="$steps" '
  /^\[ *[0-9]+\.[0-9]+\] / { next }   # a kernel message between the lines
  /^VMTEST step / { name = $3; file = dir "/" name ".out"; printf "" > file; inside = 1; next }
  /^VMTEST end / { split($4, rc, "="); print rc[2] > (dir "/" $3 ".rc"); inside = 0; close(file); next }
  inside { print > file }
' "$vm/console.log"

passed=0
failed=0
failure() {
  echo "  FAILED $*"
  failed=$((failed + 1))
}

# The host's copy of a guest program, for compare steps.
host_program() {
  local entry name target file
  for entry in "${guest_programs[@]}"; do
    read -r name target file <<< "$entry"
    [ "$name" = "$1" ] && echo "$build/$file" && return 0
  done
  return 1
}

judge_checks() {
  local name=$1 out=$steps/$1.out
  if [ ! -f "$steps/$name.rc" ]; then
    failure "$name: the guest never finished this step"
    return
  fi
  local oks noks status
  oks=$(grep -c '^ok - ' "$out")
  noks=$(grep -c '^not ok - ' "$out")
  status=$(cat "$steps/$name.rc")
  passed=$((passed + oks))
  failed=$((failed + noks))
  echo "  $name: $oks ok, $noks not ok"
  grep '^not ok - ' "$out" | sed 's/^/    /'
  [ "$status" -eq 0 ] || [ "$noks" -gt 0 ] || failure "$name: exit status $status ($(tail -n 1 "$out"))"
  [ $((oks + noks)) -gt 0 ] || failure "$name: checked nothing"
}

check() { judge_checks "$1"; }
mouse_start() { judge_checks "$1"; }
mouse_stop() { judge_checks "$1"; }
fresh_image() { cp "$START" "$IMAGE"; }
default_image() { cp resources/VRDK2280MData_Cfg1 "$IMAGE"; }
# compare_steps TRACED NAME PROGRAM ARGS...: runs PROGRAM --simulate=IMAGE
# ARGS... on the host and diffs its output (and, when TRACED, the transfers
# of --trace without the refused probes of enumeration, which follow the
# bus's layout) and exit status with the guest's.
compare_steps() {
  local traced=$1 name=$2 program
  program=$(host_program "$3") || {
    failure "$name: no host copy of $3"
    return
  }
  shift 3
  if [ ! -f "$steps/$name.rc" ]; then
    failure "$name: the guest never finished this step"
    return
  fi
  local trace=()
  [ "$traced" = yes ] && trace=(--trace="$steps/$name.trace") && rm -f "$steps/$name.trace"
  "$program" --simulate="$IMAGE" "${trace[@]}" "$@" > "$steps/$name.host" 2>&1
  local status=$?
  if [ "$traced" = yes ]; then
    { echo "# trace"; grep -v ' FAIL$' "$steps/$name.trace"; } >> "$steps/$name.host"
  fi
  echo "rc=$status" >> "$steps/$name.host"
  { cat "$steps/$name.out"; echo "rc=$(cat "$steps/$name.rc")"; } > "$steps/$name.guest"
  if diff -u "$steps/$name.host" "$steps/$name.guest" > "$steps/$name.diff"; then
    echo "  $name: the same as against the in-process mouse ($(wc -l < "$steps/$name.guest") lines)"
    passed=$((passed + 1))
  else
    head -n 20 "$steps/$name.diff" | sed 's/^/    /'
    failure "$name: differs from the in-process mouse (see $steps/$name.diff)"
  fi
}
compare() { compare_steps no "$@"; }
compare_trace() { compare_steps yes "$@"; }
shell_check() { judge_checks "$1"; }

START=$vm/start.bin
IMAGE=$vm/host-image.bin
SAVED=$vm/saved.bin
MOUSE_PID=""
echo "vm test: the guest ran for ${guest_time} s; its steps:"
source tests/vm/scenario.sh
grep -q '^VMTEST done' "$vm/console.log" ||
  failure "the guest did not finish the scenario (QEMU status $qemu_status; see $vm/console.log)"
grep -h '^# full read' "$steps/read.out" 2> /dev/null | sed 's/^# /vm test: /'
grep -h '^# plug to ready' "$steps/plug-to-ready.out" 2> /dev/null | sed 's/^# /vm test: /'
echo "vm test: ${passed} checks passed, ${failed} failed (the stage took ${SECONDS} s)"
result "$passed" "$failed" 0
[ "$failed" -eq 0 ]
