# Installation as a Debian game, the uninstall target, the .deb package and
# their tests.
#
# Installed layout (any prefix; the .deb uses /usr):
#   games/lexovo                                   the program
#   share/games/lexovo/                            its read-only data files
#   share/applications/lexovo.desktop              the menu entry
#   share/metainfo/<id>.metainfo.xml               the software-centre entry
#   share/icons/hicolor/<N>x<N>/apps/lexovo.png    the icon, painted at build time
# The program finds its data at ../share/games/lexovo from its own folder.
#
# lexovo-replay is not installed: it is the test suite's tool for driving the
# game logic from scripts, it looks for the data beside itself, and players
# never need it.

set(LEXOVO_APP_ID "it.lexovo.Lexovo")
set(LEXOVO_DEVELOPER "Lexovo studio")
set(LEXOVO_MAINTAINER "Lexovo maintainers <maintainers@users.noreply.c-seed-c4aabb41.example>")
set(LEXOVO_COPYRIGHT "2026 ${LEXOVO_DEVELOPER}")
# The day version ${PROJECT_VERSION} was released (for the AppStream entry).
set(LEXOVO_RELEASE_DATE "2026-12-06")
set(LEXOVO_WEB_URL "https://lexovo.example" CACHE STRING
  "Public address of the project's web pages, without a trailing slash")
# AppStream takes screenshots as web addresses only: the project's own
# docs/screenshot.png as published with its pages.
set(LEXOVO_SCREENSHOT_URL "${LEXOVO_WEB_URL}/docs/screenshot.png" CACHE STRING
  "Web address of docs/screenshot.png for the AppStream entry")

set(LEXOVO_GAMES_DIR games)
set(LEXOVO_DATA_DIR share/games/lexovo)

# Every file the game opens from its data folder, as the generators in
# datagen/ write them into ${LEXOVO_BIN}.
set(LEXOVO_DATA_FILES gameb2.bmp gamemap1.bmp j1.bmp j2.bmp j3.bmp)
foreach(i RANGE 1 13)
  list(APPEND LEXOVO_DATA_FILES lib${i}.bmp)
endforeach()
list(APPEND LEXOVO_DATA_FILES
  attiva.wav cade.wav crash.wav cresce.wav fine.wav flauto.wav flub.wav jungla.wav
  mosca.wav noway.wav rain.wav stairs.wav step.wav succ.wav tarzan.wav tuono.wav
  intro3.mid symphony.mid)
list(TRANSFORM LEXOVO_DATA_FILES PREPEND ${LEXOVO_BIN}/ OUTPUT_VARIABLE lexovo_data_paths)

set(lexovo_pkg_dir ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${lexovo_pkg_dir})

# --- the icon -----------------------------------------------------------------
# Painted by datagen/icon (target lexovo_icons): ${LEXOVO_ICON_DIR}/<N>x<N>/apps/lexovo.png
# for each N of ${LEXOVO_ICON_SIZES}.

# --- the menu and software-centre entries ---------------------------------------
configure_file(${CMAKE_CURRENT_LIST_DIR}/metainfo.xml.in
  ${lexovo_pkg_dir}/${LEXOVO_APP_ID}.metainfo.xml @ONLY)

# --- install rules ---------------------------------------------------------------
# First of all, note which of the folders the installation is about to fill do
# not exist yet, so that uninstalling removes them again (and only them).
set(lexovo_install_dirs ${LEXOVO_DATA_DIR} share/games share/applications share/metainfo
  share/icons/hicolor share/icons share ${LEXOVO_GAMES_DIR} .)
foreach(size IN LISTS LEXOVO_ICON_SIZES)
  list(PREPEND lexovo_install_dirs share/icons/hicolor/${size}x${size}/apps share/icons/hicolor/${size}x${size})
endforeach()
set(lexovo_steps ${CMAKE_CURRENT_LIST_DIR}/install_steps.cmake)
install(CODE "set(LEXOVO_STATE_DIR \"${lexovo_pkg_dir}\")
set(LEXOVO_INSTALL_DIRS \"${lexovo_install_dirs}\")
include(\"${lexovo_steps}\")
lexovo_note_missing_dirs()")

install(TARGETS lexovo RUNTIME DESTINATION ${LEXOVO_GAMES_DIR})
install(FILES ${lexovo_data_paths} DESTINATION ${LEXOVO_DATA_DIR})
foreach(size IN LISTS LEXOVO_ICON_SIZES)
  install(FILES ${LEXOVO_ICON_DIR}/${size}x${size}/apps/lexovo.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${lexovo_pkg_dir}/${LEXOVO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
# The menu entry names the program by its full path, known only when the
# prefix is (cmake --install --prefix, or /usr when CPack builds the .deb).
install(CODE "lexovo_install_desktop_entry(\"${CMAKE_CURRENT_LIST_DIR}/lexovo.desktop.in\" ${LEXOVO_GAMES_DIR}/lexovo)")
# Last: the list of everything installed, for the uninstall target.
install(CODE "lexovo_note_installed_files()")

# Removes what `cmake --install` from this build folder put in place, and the
# folders it made.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DINSTALLED=${lexovo_pkg_dir}/installed_files.txt
    -DMADE_DIRS=${lexovo_pkg_dir}/made_dirs.txt -DOWN_DIR=${LEXOVO_DATA_DIR}
    -P ${CMAKE_CURRENT_LIST_DIR}/uninstall.cmake
  COMMENT "Removing the installed game")

# --- the Debian package: cpack -G DEB --------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lexovo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${LEXOVO_DEVELOPER}")
set(CPACK_PACKAGE_CONTACT "${LEXOVO_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${LEXOVO_WEB_URL}/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-view arcade maze game with an old professor, in Italian")
set(CPACK_PACKAGE_DESCRIPTION
"Gioco di Lexovo: Professor Ettore Lexovo, an elderly bibliophile, walks,
climbs, jumps and falls through libraries, an underground vault, two wells
and a chasm. Books found on the shelves give objects; drag them onto the
world to set off what happens next: a spider chasing a fly, an umbrella
braking a fall, a storm growing a magic bean plant, a charmed rope and a
jungle opening at the chasm, up to the Tarzan ending.

Free play or against the clock, with keyboard and mouse. All texts are in
Italian. Buon divertimento!")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LEXOVO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The tunes play through FluidSynth with a General MIDI soundfont, a data
# file no library scan can find.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# --- tests (ctest -L package) ------------------------------------------------------
if(NOT DEFINED BUILD_TESTING OR BUILD_TESTING)
  enable_testing()
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_Interpreter_FOUND)
    list(JOIN LEXOVO_DATA_FILES "," lexovo_data_csv)
    list(JOIN LEXOVO_ICON_SIZES "," lexovo_sizes_csv)
    set(lexovo_test ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/package_test.py
      --build ${CMAKE_BINARY_DIR} --bin ${LEXOVO_BIN} --app-id ${LEXOVO_APP_ID}
      --data-files ${lexovo_data_csv} --icon-sizes ${lexovo_sizes_csv})
    # The installed tree, the entries' validity and the uninstall target.
    add_test(NAME package.install_tree COMMAND ${lexovo_test} install_tree)
    # The script behind docs/screenshot.png still plays.
    add_test(NAME package.screenshot_script COMMAND ${lexovo_test} screenshot)
    set_tests_properties(package.screenshot_script PROPERTIES LABELS package TIMEOUT 60)
    # The .deb installed with apt on this machine and the installed game played.
    add_test(NAME package.deb COMMAND ${lexovo_test} deb)
    set_tests_properties(package.install_tree package.deb PROPERTIES
      LABELS package SKIP_RETURN_CODE 77 RESOURCE_LOCK lexovo_install)
    # The window tests install from this build folder too, one at a time on
    # the display.
    set_tests_properties(package.install_tree PROPERTIES TIMEOUT 120 RESOURCE_LOCK "lexovo_install;x_display")
    set_tests_properties(package.deb PROPERTIES TIMEOUT 300 RESOURCE_LOCK "lexovo_install;x_display")
  endif()
endif()
