# What the packages hold, and the packages themselves (cpack in a build folder):
#   Windows builds: zir-VERSION-win32.zip / -win64.zip and an NSIS installer each
#                   (zir.exe, README.txt, an example zir.INI, simulator\ with the two DLLs).
#   Linux:          zir_VERSION_amd64.deb (cpack -G DEB in a release build folder): /usr/bin/zir,
#                   the simulated reader in /usr/lib/zir/simulator, the documents in
#                   /usr/share/doc/zir, the manual page zir(1) and a systemd user unit.
# The version is the project's, as in the Windows version resource and zir --version.
set(CPACK_PACKAGE_NAME zir)
set(CPACK_PACKAGE_VENDOR "the zir developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "local identity-card web service")
set(CPACK_PACKAGE_CONTACT "zir developers <zir@example.com>")
set(CPACK_PACKAGE_CHECKSUM SHA256)
# Symbols only help a debugger; the export tables the reader loader binds by stay.
set(CPACK_STRIP_FILES ON)
# Only what the install rules below name, whatever else a build folder holds (tests, tools).
set(CPACK_COMPONENTS_ALL program)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)

set(zir_simulator_targets zir_simulator_sdtapi zir_simulator_dllfile)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(zir_windows_arch win64)
  else()
    set(zir_windows_arch win32)
  endif()
  set(CPACK_PACKAGE_FILE_NAME zir-${PROJECT_VERSION}-${zir_windows_arch})
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY zir)
  # Our own installer script: per user, the Startup shortcut, an uninstaller that keeps the
  # settings. CPack finds NSIS.template.in on the module path.
  list(APPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/nsis)

  install(TARGETS zir RUNTIME DESTINATION . COMPONENT program)
  install(TARGETS ${zir_simulator_targets} RUNTIME DESTINATION simulator COMPONENT program
          LIBRARY DESTINATION simulator COMPONENT program)
  # Text files with CR LF, so that Notepad on Windows 7 shows their lines; zir writes its
  # settings file with CR LF too.
  function(zir_windows_text source target)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
    file(READ ${PROJECT_SOURCE_DIR}/${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${CMAKE_BINARY_DIR}/packaging/${target} "${text}")
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${target} DESTINATION . COMPONENT program)
  endfunction()
  zir_windows_text(README.md README.txt)
  zir_windows_text(packaging/zir.INI zir.INI)
else()
  include(GNUInstallDirs)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The summary is the synopsis; this is the text below it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Reads the identity card, residence permit or permanent residence card on the\nattached reader through the vendor's reader library and answers\nGET http://127.0.0.1:PORT/ with the holder's data as one line of JSON.\nIncludes a simulated reader for trying it without one.")
  set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME zir)
  set(CPACK_DEBIAN_PROGRAM_FILE_NAME DEB-DEFAULT)

  install(TARGETS zir RUNTIME DESTINATION bin COMPONENT program)
  install(TARGETS ${zir_simulator_targets} LIBRARY DESTINATION lib/zir/simulator
          COMPONENT program)
  # Debian wants the changelog compressed, without a time stamp in it.
  set(zir_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
  execute_process(COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog
                  OUTPUT_FILE ${zir_changelog})
  install(FILES README.md examples/card.txt packaging/copyright ${zir_changelog}
          DESTINATION share/doc/zir COMPONENT program)
  install(FILES packaging/zir.service DESTINATION lib/systemd/user COMPONENT program)
  # The manual page, from the built program's --help, made when the package is (a build for
  # another machine's processor never runs the program).
  set(zir_manual ${CMAKE_BINARY_DIR}/packaging/zir.1.gz)
  install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" -DPROGRAM=$<TARGET_FILE:zir>
                  -DVERSION=${PROJECT_VERSION} -DOUTPUT=${zir_manual}
                  -P \"${PROJECT_SOURCE_DIR}/packaging/ManPage.cmake\" COMMAND_ERROR_IS_FATAL ANY)"
          COMPONENT program)
  install(FILES ${zir_manual} DESTINATION share/man/man1 COMPONENT program)
endif()

include(CPack)
