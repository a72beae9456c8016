# What `cmake --install build --prefix PREFIX` puts under the prefix, in the folders of
# GNUInstallDirs (given relative to the prefix). Nothing in the program depends on the prefix
# given at configure time: the program finds its data folder from the place of its executable
# (PREFIX/bin/sabrix -> PREFIX/share/sabrix, the way between them taken from those folders),
# and the desktop entry is written at install time for the prefix installed to.
install(TARGETS sabrix RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${CMAKE_BINARY_DIR}/Template97.db" DESTINATION "${CMAKE_INSTALL_DATADIR}/sabrix")
install(DIRECTORY "${CMAKE_BINARY_DIR}/Documentation" DESTINATION "${CMAKE_INSTALL_DATADIR}/sabrix")

# The manual page names the data folder of the prefix installed to. It is compressed as the
# manual pages of a system are (-n: no name or time in the archive, so every install to one
# prefix gives the same bytes).
install(CODE "set(SABRIX_MAN_PAGE \"${CMAKE_BINARY_DIR}/docs/sabrix.1\")")
install(CODE "set(SABRIX_DATADIR \"${CMAKE_INSTALL_DATADIR}\")")
install(CODE "set(SABRIX_MANDIR \"${CMAKE_INSTALL_MANDIR}\")")
install(CODE "set(SABRIX_BINDIR \"${CMAKE_INSTALL_BINDIR}\")")
install(CODE [[
  file(READ "${SABRIX_MAN_PAGE}" page)
  set(SABRIX_INSTALLED_DATA_DIR "${CMAKE_INSTALL_PREFIX}/${SABRIX_DATADIR}/sabrix")
  string(CONFIGURE "${page}" page @ONLY)
  set(dest "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${SABRIX_MANDIR}/man1")
  file(MAKE_DIRECTORY "${dest}")
  file(WRITE "${dest}/sabrix.1" "${page}")
  execute_process(COMMAND gzip -9 -n -f "${dest}/sabrix.1" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Cannot compress ${dest}/sabrix.1")
  endif()
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${dest}/sabrix.1.gz")
  message(STATUS "Installing: ${dest}/sabrix.1.gz")
]])

# What a software centre shows (AppStream): named after the program's identifier, with the
# version and its day, and screenshots published under the home page's address.
set(SABRIX_APP_ID "org.example.sabrix" CACHE STRING
    "Reverse-domain identifier of the program in software centres")
set(SABRIX_HOMEPAGE_URL "https://www.example.org/sabrix/" CACHE STRING
    "Home page of the program; the guide's pictures are published under its images/")
configure_file("${CMAKE_SOURCE_DIR}/resources/desktop/sabrix.metainfo.xml.in"
               "${CMAKE_BINARY_DIR}/${SABRIX_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${CMAKE_BINARY_DIR}/${SABRIX_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

set(SABRIX_ICON_DIR "${CMAKE_SOURCE_DIR}/resources/desktop/icons")
install(FILES "${SABRIX_ICON_DIR}/sabrix.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
foreach(size 16 32 48 64 128 256)
  install(FILES "${SABRIX_ICON_DIR}/sabrix-${size}.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps" RENAME sabrix.png)
endforeach()

# The entry starts the installed executable by its full path, so it works for a prefix whose
# bin folder is not on the PATH.
install(CODE "set(SABRIX_DESKTOP_TEMPLATE \"${CMAKE_SOURCE_DIR}/resources/desktop/sabrix.desktop.in\")")
install(CODE [[
  set(exe "${CMAKE_INSTALL_PREFIX}/${SABRIX_BINDIR}/sabrix")
  # Quoted as the desktop entry format asks when it holds a blank or another reserved
  # character: \ " ` $ escaped inside the quotes, % doubled.
  string(REPLACE "\\" "\\\\" quoted "${exe}")
  foreach(c "\"" "`" "$")
    string(REPLACE "${c}" "\\${c}" quoted "${quoted}")
  endforeach()
  string(REPLACE "%" "%%" quoted "${quoted}")
  # The value itself escapes backslashes once more.
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  # A plain path stays unquoted: the generic xdg-open of xdg-utils 1.1 cannot start a quoted
  # one ("Open With" from a desktop without its own opener).
  if(exe MATCHES "^[A-Za-z0-9_./+,:@=-]+$")
    set(SABRIX_DESKTOP_EXEC "${exe}")
  else()
    set(SABRIX_DESKTOP_EXEC "\"${quoted}\"")
  endif()
  string(REPLACE "\\" "\\\\" SABRIX_DESKTOP_TRYEXEC "${exe}")
  set(dest "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${SABRIX_DATADIR}/applications")
  file(READ "${SABRIX_DESKTOP_TEMPLATE}" entry)
  string(CONFIGURE "${entry}" entry @ONLY)
  file(WRITE "${dest}/sabrix.desktop" "${entry}")
  # Written here rather than installed: listed in install_manifest.txt with the other files.
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${dest}/sabrix.desktop")
  message(STATUS "Installing: ${dest}/sabrix.desktop")
]])
