# SPDX-License-Identifier: GPL-3.0-or-later
# Steps run by `cmake --install` around the plain install rules of
# packaging/CMakeLists.txt. LEXOVO_STATE_DIR is the build tree's packaging/
# folder, where the uninstall target finds what these steps noted down.

# DESTDIR as an absolute path ("" when unset): the notes must name the
# files wherever the uninstall target runs from.
function(lexovo_destdir out)
  set(d "$ENV{DESTDIR}")
  if(d)
    get_filename_component(d "${d}" ABSOLUTE)
  endif()
  set(${out} "${d}" PARENT_SCOPE)
endfunction()

# Adds to made_dirs.txt each folder of LEXOVO_INSTALL_DIRS (relative to the
# prefix; "." is the prefix itself) that does not exist yet. What an earlier installation noted and
# did not uninstall stays noted.
function(lexovo_note_missing_dirs)
  lexovo_destdir(destdir)
  set(file "${LEXOVO_STATE_DIR}/made_dirs.txt")
  set(made "")
  if(EXISTS "${file}")
    file(STRINGS "${file}" made)
  endif()
  foreach(d IN LISTS LEXOVO_INSTALL_DIRS)
    # The folder and those above it that are missing too, up to the prefix
    # and beyond it when the prefix itself is new.
    cmake_path(SET p NORMALIZE "${destdir}${CMAKE_INSTALL_PREFIX}/${d}")
    string(REGEX REPLACE "/+$" "" p "${p}")
    while(p AND NOT IS_DIRECTORY "${p}")
      list(APPEND made "${p}")
      cmake_path(GET p PARENT_PATH p)
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES made)
  list(JOIN made "\n" text)
  file(WRITE "${file}" "${text}\n")
endfunction()

# Writes the menu entry as share/applications/NAME. Exec= names the program
# alone where its folder is on the PATH every Debian user has (/usr/games,
# /usr/local/games), and by its full path under any other prefix.
function(lexovo_install_desktop_entry template program name)
  cmake_path(SET path NORMALIZE "${CMAKE_INSTALL_PREFIX}/${program}")
  cmake_path(GET path PARENT_PATH folder)
  if(folder STREQUAL "/usr/games" OR folder STREQUAL "/usr/local/games")
    cmake_path(GET path FILENAME LEXOVO_EXEC)
  else()
    set(LEXOVO_EXEC "${path}")
  endif()
  set(out "${LEXOVO_STATE_DIR}/desktop/${name}")
  configure_file("${template}" "${out}" @ONLY)
  file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${out}")
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()

# Adds to installed_files.txt every file this installation put in place,
# DESTDIR included (install_manifest.txt names them without it). The list
# grows with each installation from this build folder until the uninstall
# target removes them all.
function(lexovo_note_installed_files)
  lexovo_destdir(destdir)
  set(file "${LEXOVO_STATE_DIR}/installed_files.txt")
  set(files ${CMAKE_INSTALL_MANIFEST_FILES})
  list(TRANSFORM files PREPEND "${destdir}")
  if(EXISTS "${file}")
    file(STRINGS "${file}" before)
    list(PREPEND files ${before})
  endif()
  list(REMOVE_DUPLICATES files)
  list(JOIN files "\n" text)
  file(WRITE "${file}" "${text}\n")
endfunction()
