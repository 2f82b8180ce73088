# A system-wide installation (`cmake --install`, `cpack -G DEB`): the program and the tool in
# bin/, the delivered files in share/zta-announcement-player/ (the program finds its shared files
# there and keeps each user's data in $XDG_DATA_HOME/VRX Tolvane/ZTA, see app/data_location.hpp),
# the desktop entry, the MIME type and the icon.
include(GNUInstallDirs)

set(ZTA_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/zta-announcement-player)
set(_data ${PROJECT_BINARY_DIR}/package-data)
set(_delivered ${_data}/chimes1.aud ${_data}/chimes2.aud ${_data}/chimes3.aud ${_data}/test.ann)
set(_shell_files ${_data}/zta-announcement-player.desktop ${_data}/zta-announcement-player.xml)

find_program(ESPEAK_NG espeak-ng)
find_program(SOX sox)
file(GLOB _demo_inputs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/demo/text/*.txt)
add_custom_command(OUTPUT ${_delivered}
  COMMAND ${CMAKE_COMMAND} -E env ZTA=$<TARGET_FILE:zta> ZTA_DEMO_FIXED_TIME=37800
    bash ${PROJECT_SOURCE_DIR}/scripts/make-demo.sh ${_data}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-demo.sh ${PROJECT_SOURCE_DIR}/resources/demo/test.json.in
    ${_demo_inputs}
  COMMENT "Making the delivered chimes and test announcements"
  VERBATIM)
add_custom_command(OUTPUT ${_shell_files}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_data}
  COMMAND zta_shell_files ${_data}
  DEPENDS zta_shell_files
  VERBATIM)
if(ESPEAK_NG AND SOX)
  add_custom_target(zta_package_files ALL DEPENDS ${_delivered} ${_shell_files})
else()
  message(WARNING "espeak-ng or sox missing: the package's test announcements are not made "
    "(scripts/install-deps.sh installs them)")
  add_custom_target(zta_package_files DEPENDS ${_delivered} ${_shell_files})
endif()
# Regenerated when its inputs change, not every time the tool is linked again.
add_dependencies(zta_package_files zta)

# The man pages, made from the programs' own --help and --version (gzipped, as Debian keeps them).
find_program(HELP2MAN help2man)
set(_man ${PROJECT_BINARY_DIR}/man)
set(_man_pages ${_man}/vrxpar.1.gz ${_man}/zta.1.gz)
add_custom_command(OUTPUT ${_man_pages}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_man}
  COMMAND ${HELP2MAN} --no-info --section=1 --name "unattended in-store announcement player"
    --output ${_man}/vrxpar.1 $<TARGET_FILE:vrxpar>
  COMMAND ${HELP2MAN} --no-info --section=1
    --name "data folder, package and setup file tool of the ZTA Announcement Player"
    --output ${_man}/zta.1 $<TARGET_FILE:zta>
  COMMAND gzip -9nf ${_man}/vrxpar.1 ${_man}/zta.1
  DEPENDS vrxpar zta
  COMMENT "Making the man pages"
  VERBATIM)
if(HELP2MAN)
  add_custom_target(zta_man_pages ALL DEPENDS ${_man_pages})
  install(FILES ${_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man missing: the man pages are not made "
    "(scripts/install-deps.sh installs it)")
endif()

install(TARGETS vrxpar zta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.html ${_delivered} DESTINATION ${ZTA_SHARE_DIR})
install(FILES ${_data}/zta-announcement-player.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_data}/zta-announcement-player.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(_size 16 32 48)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/app-${_size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
    RENAME zta-announcement-player.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zta-announcement-player)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VRX Tolvane")
set(CPACK_PACKAGE_CONTACT "VRX Tolvane <support@vrxtolvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Unattended in-store announcement player for public-address installations")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Plays recorded announcements at fixed times, every N minutes or in sequence, with chimes, "
  "music ducking and a day-part volume table; loads announcement packages from disk, file or FTP.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The manual and the menu entries are opened by the desktop's handler.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
