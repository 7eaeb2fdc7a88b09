# `cpack -G DEB` in the build folder makes vardo_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME vardo)
set(CPACK_PACKAGE_VENDOR "The Vardo developers")
set(CPACK_PACKAGE_CONTACT "The Vardo developers <vardo@localhost>")
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
# Library dependencies come from dpkg-shlibdeps; what the program only loads
# at run time is named here: the platform plugins that draw the windows and
# the Japanese Gothic face the design font names resolve to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
# Qt Multimedia plays the WAV cue through a PulseAudio server.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse")

include(CPack)
