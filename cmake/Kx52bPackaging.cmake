# What `cmake --install` and the Debian package (`make package`) put on a desktop: the programs,
# the simulator and the decoders, a desktop file, an icon and a man page per program, and the
# USB cable's udev rule (installed by link/hid.cmake). packaging/installed-files.txt lists it all.
include(GNUInstallDirs)

set(KX52B_PROGRAMS kx52b-40k kx52b-4k kx52b-sim kx52b-40k-decode kx52b-4k-decode)
install(TARGETS ${KX52B_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Builds exactly what the package ships, without the tests and benchmarks; `make package` builds
# it first, so cpack's install step need not build everything else.
add_custom_target(kx52b_shipped DEPENDS ${KX52B_PROGRAMS})
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(KX52B_PACKAGING_SOURCE ${PROJECT_SOURCE_DIR}/packaging)
set(KX52B_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)

# Man pages are gzipped as Debian ships them; -n keeps the archive free of names and times.
function(kx52b_man_page template name)
  configure_file(${KX52B_PACKAGING_SOURCE}/${template} ${KX52B_PACKAGING_OUT}/${name}.1 @ONLY)
  execute_process(COMMAND gzip -9 -n -c ${KX52B_PACKAGING_OUT}/${name}.1
                  OUTPUT_FILE ${KX52B_PACKAGING_OUT}/${name}.1.gz COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${KX52B_PACKAGING_OUT}/${name}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# The desktop file, icon and man pages of one build, filled in from the templates with the
# build's meter.
function(kx52b_package_build build)
  cmake_parse_arguments(PARSE_ARGV 1 KX52B_PKG "" "DIGITS;COUNT;MODELS;FAMILY;OTHER" "")
  set(KX52B_PKG_BUILD ${build})
  string(TOUPPER ${build} KX52B_PKG_BUILD_UPPER)
  configure_file(${KX52B_PACKAGING_SOURCE}/kx52b.desktop.in ${KX52B_PACKAGING_OUT}/kx52b-${build}.desktop @ONLY)
  configure_file(${KX52B_PACKAGING_SOURCE}/kx52b.svg.in ${KX52B_PACKAGING_OUT}/kx52b-${build}.svg @ONLY)
  install(FILES ${KX52B_PACKAGING_OUT}/kx52b-${build}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${KX52B_PACKAGING_OUT}/kx52b-${build}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  kx52b_man_page(kx52b.1.in kx52b-${build})
  kx52b_man_page(kx52b-decode.1.in kx52b-${build}-decode)
endfunction()

kx52b_package_build(40k DIGITS five-digit COUNT 40000 MODELS RV410/450 FAMILY five-digit OTHER 4k)
kx52b_package_build(4k DIGITS four-digit COUNT 4000 MODELS RV210/230 FAMILY segment OTHER 40k)
kx52b_man_page(kx52b-sim.1.in kx52b-sim)

# `cmake --install` into a scratch prefix gives exactly the listed files, and they validate.
add_test(NAME packaging.install_tree
         COMMAND bash ${KX52B_PACKAGING_SOURCE}/test-install.sh ${PROJECT_BINARY_DIR})

set(KX52B_MAINTAINER "kx52b maintainers <maintainers@users.noreply.c-seed-02369d81.example>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kx52b)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "read handheld digital multimeters over RS-232 or their USB cable")
# Wrapped by hand: Debian's control file wants lines under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [[
Desktop programs for the bench that mirror a handheld multimeter's LCD on
screen, show the reading on an analog gauge and a bar, keep MIN/MAX and alarm
limits, log readings into a table, draw a paged trend chart, and save,
export, open and print logs.

kx52b-40k reads the five-digit 40000-count meter (RV410/450), kx52b-4k the
four-digit 4000-count meter (RV210/230). Also included: kx52b-sim, a meter
played on a pseudo-terminal; the headless decoders kx52b-40k-decode and
kx52b-4k-decode; and a udev rule that lets the user at the seat read the
meter's USB cable.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KX52B_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Qt, SQLite and the C++ runtime come from the linked libraries. The USB cable's backend loads
# libudev at run time and the LCD's "Arial" texts are drawn in Liberation Sans, so neither shows
# up in the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libudev1, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${KX52B_PACKAGING_SOURCE}/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
