# A Debian package through CPack: cpack -G DEB in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tolvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "random password generator with a Russian interface")
set(CPACK_PACKAGE_CONTACT "Tolvane developers <dev@tolvane.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_STRIP_FILES ON)
# Folders as Debian expects them (0755) whatever the umask of whoever builds the package.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The synopsis comes from the summary; this is the text below it, one paragraph.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Tolvane shows ten passwords drawn from the character classes and the two\nlength bounds chosen in its one window: digits, Latin and Cyrillic letters of\nboth cases, special characters. Every character is drawn exactly uniformly\nfrom the system's cryptographic generator; the program writes no file.")
# Shared libraries are found by dpkg-shlibdeps; the rest the program loads at run time: the
# Russian toolkit texts and Calibri's metric twin; and the icon theme its icons go into,
# whose index desktops read to find them. The X11 platform plugin comes with
# libqt6gui6; the Wayland one is recommended, so that Wayland sessions run the window
# natively, while an X11-only system can do without it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-translations-l10n, fonts-crosextra-carlito, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
