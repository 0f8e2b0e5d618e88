#!/usr/bin/env bash
# Installs the Debian 12 packages Ondivo needs to build, test and run, skipping those present.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libasound2-dev alsa-utils
  # SDR receivers: SoapySDR with the RTL-SDR module for real sticks, SoapySDRUtil for --find,
  # and the DSP kernels (liquid-dsp; FFTW for spectra).
  libsoapysdr-dev soapysdr0.8-module-rtlsdr soapysdr-tools libliquid-dev libfftw3-dev
  libsimpleini-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # Desktop remote control: the tests start a private session bus and drive the panel with the
  # clients users have (playerctl for MPRIS2, gdbus and busctl for our own interface).
  dbus-daemon playerctl libglib2.0-bin systemd
  xvfb xauth clang-format
  # Packaging: icons rendered from SVG (and the help pictures palette-reduced), the package's checks, a Debian root to install it in,
  # and setcap for the test of a binary given cap_sys_rawio.
  librsvg2-bin pngquant desktop-file-utils appstream lintian man-db mmdebstrap libcap2-bin
  clang libclang-rt-14-dev
  # The vivid radio test boots the distribution's kernel under qemu with a busybox initramfs.
  qemu-system-x86 linux-image-amd64 busybox-static cpio xz-utils kmod
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
