# The Debian package: `cpack -G DEB` in the build folder gives tankometer_<version>_<arch>.deb
# with everything the install rules put under /usr. Its library dependencies come from
# dpkg-shlibdeps (dpkg-dev), which needs the `file` program to find the executables.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tankometer)
set(CPACK_PACKAGE_VENDOR "Tankometer")
set(CPACK_PACKAGE_CONTACT "Tankometer developers <tankometer@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal fuel log for the desktop")
# Lines of at most 80 characters, as the package's extended description wants them.
set(CPACK_PACKAGE_DESCRIPTION
    "Tankometer records each visit to a filling station (station, odometer reading,
fuel, cost, date and time, driver and notes) in a log file per vehicle, lists
the fills with their consumption, endurance, unit cost and cost per 100 km,
shows totals and line charts, and imports and exports CSV files.
It speaks English, German and Czech.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tankometer.github.io/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What Qt loads at run time, which dpkg-shlibdeps cannot see: the platform plugins (xcb) to
# start at all; the Wayland plugin, and Qt's own translations of its standard buttons and dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
