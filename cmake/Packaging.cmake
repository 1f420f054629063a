# A Debian package through CPack: cpack -G DEB in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tolvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Генератор случайных паролей")
set(CPACK_PACKAGE_CONTACT "Tolvane developers <dev@tolvane.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Генератор случайных паролей\n Десять паролей из выбранных наборов символов, каждый символ\n равновероятен; случайность берётся у криптографического генератора системы.")
# Shared libraries are found by dpkg-shlibdeps; the rest the program loads at run time:
# the X11 platform plugin, the Russian toolkit texts and Calibri's metric twin.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-crosextra-carlito")
include(CPack)
