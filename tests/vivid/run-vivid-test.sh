#!/usr/bin/env bash
# Boots the distribution's kernel under qemu (software emulation) with a small initramfs that
# loads the vivid test driver as a radio receiver with RDS, runs the static probe program on
# it and powers off; then checks the probe's result line.
#
#   run-vivid-test.sh PROBE WORKDIR
#   run-vivid-test.sh --check        only looks for what the run needs
#
# Exit 0 when the line is as expected, 77 (skipped) when qemu, a kernel with the vivid module,
# a static busybox or cpio is missing, anything else on failure.
# ONDIVO_VIVID_KERNEL=/boot/vmlinuz-VERSION picks the kernel when several are installed.
set -euo pipefail

check_only=false
if [ "${1:-}" = --check ]; then
  check_only=true
else
  probe=${1:?probe program}
  work=${2:?work directory}
fi

skip() {
  echo "SKIPPED: $*"
  exit 77
}
fail() {
  echo "FAILED: $*"
  exit 1
}

# vivid: one instance with only the radio receiver node (bit 4); its RDS comes by read()
# (block I/O, the driver's default).
readonly vivid_params="n_devs=1 node_types=0x10 radio_rx_nr=0 no_error_inj=1"
# A vivid station: it places one every 1 MHz from 64 to 108 MHz.
readonly station=99.0

qemu=$(command -v qemu-system-x86_64 || true)
[ -n "$qemu" ] || skip "qemu-system-x86_64 is not installed (package qemu-system-x86)"
command -v cpio >/dev/null || skip "cpio is not installed (package cpio)"
command -v modprobe >/dev/null || skip "modprobe is not installed (package kmod)"

busybox=
for candidate in /bin/busybox /usr/bin/busybox; do
  # The initramfs has no libraries: only a busybox without a program interpreter will do.
  if [ -x "$candidate" ] && ! readelf -lW "$candidate" 2>/dev/null | grep -q 'INTERP'; then
    busybox=$candidate
    break
  fi
done
[ -n "$busybox" ] || skip "no static busybox (package busybox-static)"

kernel=${ONDIVO_VIVID_KERNEL:-}
if [ -z "$kernel" ]; then
  # The newest installed kernel whose modules include vivid.
  for image in $(ls /boot/vmlinuz-* 2>/dev/null | sort -rV); do
    version=${image#/boot/vmlinuz-}
    if modinfo -k "$version" -n vivid >/dev/null 2>&1; then
      kernel=$image
      break
    fi
  done
fi
[ -n "$kernel" ] || skip "no kernel in /boot with the vivid module (package linux-image-amd64)"
[ -r "$kernel" ] || skip "$kernel is not readable"
version=${kernel#/boot/vmlinuz-}
if $check_only; then
  echo "kernel $kernel, busybox $busybox, $qemu"
  exit 0
fi
[ -x "$probe" ] || fail "probe program $probe not found"

rm -rf "$work"
mkdir -p "$work/root/bin" "$work/root/modules" "$work/root/dev" "$work/root/proc" \
  "$work/root/sys"
cp "$busybox" "$work/root/bin/busybox"
cp "$probe" "$work/root/bin/vivid-probe"

# The modules in load order, as plain .ko (busybox insmod reads no compressed ones).
load_order=()
while read -r verb module _; do
  [ "$verb" = insmod ] || continue
  name=$(basename "$module")
  name=${name%.xz}
  name=${name%.zst}
  case "$module" in
    *.xz) xz -dc "$module" >"$work/root/modules/$name" ;;
    *.zst) zstd -qdc "$module" >"$work/root/modules/$name" ;;
    *) cp "$module" "$work/root/modules/$name" ;;
  esac
  load_order+=("$name")
done < <(modprobe -S "$version" --show-depends vivid)
[ "${load_order[-1]:-}" = vivid.ko ] || fail "modprobe found no vivid module for $version"

{
  echo '#!/bin/busybox sh'
  echo '/bin/busybox --install -s /bin'
  echo 'mount -t proc proc /proc; mount -t sysfs sys /sys; mount -t devtmpfs dev /dev'
  for name in "${load_order[@]}"; do
    if [ "$name" = vivid.ko ]; then
      echo "insmod /modules/$name $vivid_params || echo 'VIVID-RESULT error=\"insmod $name\"'"
    else
      echo "insmod /modules/$name || echo 'VIVID-RESULT error=\"insmod $name\"'"
    fi
  done
  echo 'n=0; while [ ! -e /dev/radio0 ] && [ $n -lt 50 ]; do sleep 0.1; n=$((n+1)); done'
  echo "/bin/vivid-probe /dev/radio0 $station"
  echo "/bin/vivid-probe --unprivileged /dev/radio0 $station"
  echo 'poweroff -f'
} >"$work/root/init"
chmod +x "$work/root/init"

(cd "$work/root" && find . | LC_ALL=C sort | cpio --quiet -o -H newc) >"$work/initramfs.cpio"

echo "kernel $kernel, vivid $vivid_params, station $station MHz"
start=$(date +%s)
status=0
timeout 240 "$qemu" -nographic -no-reboot -accel tcg -cpu max -smp 1 -m 512 -nic none \
  -kernel "$kernel" -initrd "$work/initramfs.cpio" \
  -append "console=ttyS0 panic=-1 quiet" </dev/null >"$work/console.log" 2>&1 || status=$?
echo "virtual machine ran $(($(date +%s) - start)) s (qemu exit $status)"

# The serial console mixes in the firmware's terminal codes: take the line from its tag on.
result() { grep -ao "$1 .*" "$work/console.log" | tr -d '\r' | tail -n 1 || true; }
line=$(result VIVID-RESULT)
unprivileged=$(result VIVID-UNPRIVILEGED)
if [ -z "$line" ] || [ -z "$unprivileged" ]; then
  tail -n 40 "$work/console.log"
  fail "no result line from the virtual machine"
fi
echo "$line"
echo "$unprivileged"

field() { sed -n "s/.* $1=\"\\{0,1\\}\\([^\" ]*\\)\"\\{0,1\\}.*/\\1/p" <<<"$line"; }
quoted() { sed -n "s/.* $1=\"\\([^\"]*\\)\".*/\\1/p" <<<"$line"; }

card=$(quoted card)
fm=$(field fm)
tuned=$(field tuned)
readback=$(field readback)
signal=$(field signal)
reception=$(field reception)
ps=$(quoted ps)
rt=$(quoted rt)

[[ "$line" != *error=* ]] || fail "the probe reported an error"
[[ "$card" == *vivid* ]] || fail "card name \"$card\" is not vivid's"
[ "$fm" = "64.000-108.000" ] || fail "FM limits $fm, expected vivid's 64.000-108.000"
[ "$tuned" = "$(printf '%.3f' "$station")" ] || fail "tuned $tuned, asked for $station"
[ "$readback" = "$tuned" ] || fail "read back $readback after tuning $tuned"
[[ "$signal" =~ ^[0-9]+$ ]] && [ "$signal" -ge 16384 ] || fail "signal $signal on a station"
[ "$reception" = stereo ] || fail "reception $reception on a stereo station"
[ -n "${ps// /}" ] || fail "no RDS service name"
# vivid names each station after its frequency in kHz: a wrong byte order or a segment from
# elsewhere shows here.
khz=$(awk -v mhz="$station" 'BEGIN { printf "%d", mhz * 1000 + 0.5 }')
[[ "$ps" == *"$khz"* ]] || fail "service name \"$ps\" is not vivid's name for $khz kHz"
# The RadioText is shown, not checked: vivid switches between its two texts from one read to
# the next without toggling the A/B flag, so what arrives can be a mix of both.
[[ "$unprivileged" == *'error="cannot open /dev/radio0"'* ]] ||
  fail "user 65534 got further than opening the root-only device node"
echo "PASSED"
