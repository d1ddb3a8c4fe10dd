# The Debian package, corvane_<version>_<architecture>.deb, from the install rules:
#   cmake --build build && (cd build && cpack)
# Its dependencies are computed from the binary by dpkg-shlibdeps (package dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "Corvane Demo")
set(CPACK_PACKAGE_CONTACT "Corvane Demo <maintainers@corvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "game controller tester that starts commands with its buttons")
set(CPACK_PACKAGE_DESCRIPTION
    "Corvane Demo shows, live, on a picture of a twin-stick game controller
which buttons are pressed, where the direction pad points and where both
analog sticks stand, with the raw numbers. It can start a configured command
whenever a controller button goes down, so that a controller can drive other
programs. The button and axis map is read from Corvane.ini in the user's
configuration directory. The user interface is in Italian, or in English
where the user's language is English.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so invisible to dpkg-shlibdeps: native Wayland, Qt's own texts in Italian and
# English (the message boxes' buttons), and the fonts the pictures' texts are laid out for.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n, fonts-comic-neue, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jstest-gtk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
