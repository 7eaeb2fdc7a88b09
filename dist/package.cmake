# `cpack -G DEB` in the build folder makes vardo_<version>_<arch>.deb;
# tools/package.sh builds it for /usr with Debian's flags and checks it.
set(CPACK_PACKAGE_NAME vardo)
set(CPACK_PACKAGE_VENDOR "The Vardo developers")
set(CPACK_PACKAGE_CONTACT "${VARDO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "timed multiple-choice physics exam practice")
set(CPACK_PACKAGE_DESCRIPTION
    "Vardo holds one physics examination paper of 27 answer groups worth 100
points. Read the questions and figures, tick answers against a one-hour
clock that sounds a cue at time-up, and have the paper marked.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# What the program only loads at run time: the platform plugins that draw
# the windows and the Japanese Gothic face the design font names resolve to.
# The libraries it links come from dpkg-shlibdeps, below.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
# The cue plays through a PulseAudio server; Qt's own words (context menus)
# come in the user's language; Wayland sessions get a native window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "pulseaudio | pipewire-pulse, qt6-translations-l10n, qt6-wayland")

# CPack's own dpkg-shlibdeps run would also add ldconfig calls for the sound
# module, as for any shared object under usr/lib; but the module is the
# program's private plug-in, not a library for others. So the library
# dependencies are worked out here, at cpack time, from the built files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/shlibdeps.cmake
     INPUT ${CMAKE_CURRENT_SOURCE_DIR}/shlibdeps.cmake.in)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/shlibdeps.cmake)

include(CPack)
