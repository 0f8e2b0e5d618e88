# The Debian package: `cpack --config build/CPackConfig.cmake` (scripts/package.sh) makes
# ondivo_<version>_<arch>.deb from the install rules. Its library dependencies come from
# dpkg-shlibdeps, so they follow what the binaries really link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ondivo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Ondivo developers <ondivo@ondivo.org>")
set(CPACK_PACKAGE_VENDOR "The Ondivo developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "radio front panel for tuner cards, serial radios and SDR sticks")
# The extended description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Ondivo turns a PC radio tuner into a radio set with a front panel on the
screen: ISA tuner cards driven through I/O ports, radios on a serial line, the
kernel's radio devices such as USB FM sticks, and SDR receivers through
SoapySDR. It tunes, scans, keeps presets and a station organizer, wakes you
with an alarm and runs scripts.

Without a tuner, ondivo --simulate runs on emulated hardware.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://ondivo.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Real SDR sticks are SoapySDR modules of their own; the RTL-SDR one is the common case.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "soapysdr0.8-module-rtlsdr")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libcap2-bin")
include(CPack)
