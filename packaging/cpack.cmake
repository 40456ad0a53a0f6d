# The Debian packages: `morvane` (the window, the command line and their files) and the optional
# `morvane-simulators` (reader emulator and lock simulator). Built by `make package`.
# Descriptions: the first line is the summary, a blank line starts a new paragraph.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VENDOR "Morvane developers")
set(CPACK_PACKAGE_CONTACT "Morvane developers <morvane-dev@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL morvane simulators)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Library dependencies as dpkg-shlibdeps finds them in the binaries (Qt, libxcb, libstdc++ ...).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_MORVANE_PACKAGE_NAME morvane)
# Qt loads its X11 platform plugin at run time, so no binary names it: without this package the
# window cannot open on X11.
set(CPACK_DEBIAN_MORVANE_PACKAGE_DEPENDS qt6-qpa-plugins)
# On Wayland without X11: Qt's Wayland plugin, and wl-copy to keep a result after the window ends.
set(CPACK_DEBIAN_MORVANE_PACKAGE_SUGGESTS "qt6-wayland, wl-clipboard, morvane-simulators")
set(CPACK_DEBIAN_MORVANE_DESCRIPTION
"prox card data for locks: hotstamp to prox data and back
Morvane is a desktop tool for people who program proximity cards (prox
cards) for locks. It turns the hotstamp number printed on a card, its
facility code and, for Proxif, its version into the 16-digit octal prox
data of a chosen card format, and splits card data back into those values
under every known format at once. Card data can be typed, read from a
pcProx USB reader or read from a lock on a serial port.

A calling program can start the window with an invocation string on the
clipboard and read the result string back from it.

morvane-cli runs the same conversions for scripts and batches.")

set(CPACK_DEBIAN_SIMULATORS_PACKAGE_NAME morvane-simulators)
set(CPACK_DEBIAN_SIMULATORS_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_SIMULATORS_DESCRIPTION
"reader emulator and lock simulator for Morvane
A pcProx USB reader emulator (a reader library driven by a scenario file)
and a lock simulator that answers Morvane's lock line protocol on a
pseudo-terminal, for trying Morvane and a calling program without
hardware. Both live in ${CPACK_PACKAGING_INSTALL_PREFIX}/${MORVANE_SIMULATOR_DIR} and are used only
when pointed at (MORVANE_PCPROX_LIBRARY, MORVANE_COM<n>).")

# `make package_source` is not how the project ships, but keep it from packing build trees.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "\\\\.swp$")

include(CPack)

cpack_add_component(morvane
    DISPLAY_NAME "Morvane"
    DESCRIPTION "The window, morvane-cli and their files"
    REQUIRED)
cpack_add_component(simulators
    DISPLAY_NAME "Simulators"
    DESCRIPTION "Reader emulator and lock simulator"
    DEPENDS morvane)
