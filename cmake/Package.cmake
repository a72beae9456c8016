# The Debian package: `cmake --build build --target package` (CPack) makes
# build/sabrix_VERSION_ARCH.deb of what `cmake --install` puts under /usr, stripped, with the
# libraries it needs found by dpkg-shlibdeps. The changelog and the copyright file are installed
# with everything else, under share/doc/sabrix.
set(SABRIX_MAINTAINER "The Sabrix developers <sabrix@example.org>" CACHE STRING
    "Maintainer of the Debian package: name <address>")

# The changelog as Debian keeps it: compressed with no name or time in the archive, so every
# build gives the same bytes.
execute_process(COMMAND date -u -R -d "${SABRIX_RELEASE_DATE}"
                OUTPUT_VARIABLE release_date RESULT_VARIABLE date_failed
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(date_failed)
  message(FATAL_ERROR "SABRIX_RELEASE_DATE is not a date: ${SABRIX_RELEASE_DATE}")
endif()
set(SABRIX_RELEASE_DATE_RFC2822 "${release_date}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in"
               "${CMAKE_BINARY_DIR}/package/changelog" @ONLY)
add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/package/changelog.gz"
  COMMAND gzip -9 -n -k -f "${CMAKE_BINARY_DIR}/package/changelog"
  DEPENDS "${CMAKE_BINARY_DIR}/package/changelog"
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS "${CMAKE_BINARY_DIR}/package/changelog.gz")
install(FILES "${CMAKE_BINARY_DIR}/package/changelog.gz" "${CMAKE_CURRENT_LIST_DIR}/debian/copyright"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/sabrix")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sabrix)
set(CPACK_PACKAGE_VENDOR "The Sabrix developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "plot and edit the observations of a variable star")
set(CPACK_PACKAGE_DESCRIPTION
    "Sabrix plots the observations of one variable star: magnitude against Julian
Date, brighter upward, each point in the colour of its band. It reads the
comma-separated download files of observer databases and three-column files of
time, magnitude and uncertainty.
.
You move and zoom through the light curve, list, edit and delete the records
behind the points, mark the observations of one observer, draw averages in
bins of days or a least-squares polynomial, export the plot as a PNG, JPEG, SVG
or PDF picture, and save the edited data again. From the command line it draws
plots and converts files without a display.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SABRIX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SABRIX_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the fonts of the plot, and the
# desktop's opener of the guide, the files folder and the download page.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
