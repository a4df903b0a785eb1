# SPDX-License-Identifier: GPL-3.0-or-later
# The layers of the program and which of them each target may see.
#
# A target's headers are found only through an include root of its own in
# the build tree, which holds links to the source folders that target may
# use and to no others. An #include of a folder a layer may not see then
# fails to compile:
#
#   core      16-bit arithmetic, surfaces, picture files     sees core
#   platform  the seam to the outside world (+ headless)      sees core
#   game      the game window and its subsystems              sees core, platform
#   front ends (app/, tools/replay)                           see the game (app/ also
#                                                             the replay tool, whose
#                                                             scripts it records and plays)
#   generators (datagen/)                                     see core and the game's
#                                                             plain data headers
#   tests, benchmarks, fuzzers                                see everything
#
# So the game logic cannot include app/ or the replay tool, core cannot
# include the game, and the running game cannot include a generator.

set(LEXOVO_CORE_FOLDERS core)
set(LEXOVO_PLATFORM_FOLDERS ${LEXOVO_CORE_FOLDERS} platform)
# The members of the one game window.
set(LEXOVO_GAME_FOLDERS ${LEXOVO_PLATFORM_FOLDERS} game control items events screen audio dialogs)
# The build-time generators read the game's plain data headers (the picture
# catalogue, the places of the world) but link none of the game.
set(LEXOVO_DATAGEN_FOLDERS ${LEXOVO_CORE_FOLDERS} game datagen)

# lexovo_sees(TARGET [PUBLIC|PRIVATE] FOLDER...): TARGET's include root holds
# exactly these source folders (nested ones such as tools/replay too).
function(lexovo_sees target)
  set(scope PUBLIC)
  set(folders ${ARGN})
  list(GET folders 0 first)
  if(first STREQUAL "PUBLIC" OR first STREQUAL "PRIVATE")
    set(scope ${first})
    list(REMOVE_AT folders 0)
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  foreach(folder IN LISTS folders)
    if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/${folder})
      message(FATAL_ERROR "lexovo_sees(${target}): no folder ${folder}")
    endif()
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT IS_SYMLINK ${root}/${folder})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# Tests, benchmarks and fuzzers see the whole tree.
function(lexovo_sees_all target)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()

# lexovo_sources_of(OUT TARGET): the absolute paths of TARGET's own sources,
# for the builds that compile them once more (sanitizers, fuzzing).
function(lexovo_sources_of out target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(dir ${target} SOURCE_DIR)
  set(paths "")
  foreach(s IN LISTS sources)
    if(NOT IS_ABSOLUTE ${s})
      set(s ${dir}/${s})
    endif()
    list(APPEND paths ${s})
  endforeach()
  set(${out} ${paths} PARENT_SCOPE)
endfunction()
