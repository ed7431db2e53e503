# `cpack -G DEB` in the build folder makes the Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME spravochnik)
set(CPACK_PACKAGE_VENDOR "Spravochnik developers")
set(CPACK_PACKAGE_CONTACT "Spravochnik developers <spravochnik@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "telephone directory of the town of Vereskin")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "The desktop telephone directory of the town of Vereskin, with a Russian\n"
    "user interface. A resident looks up subscribers by number, name or\n"
    "address, reads the emergency and public service numbers, keeps a\n"
    "personal phone book and looks up the dialing codes of Belarusian\n"
    "localities.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.org/spravochnik)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found at run time, so not among the computed library dependencies.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
