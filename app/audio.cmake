# The SDL2_mixer sound layer (effects on sixteen channels, MIDI through
# FluidSynth), shared by the game and its audio tests.
include_guard(GLOBAL)
add_library(lexovo_sdl_audio STATIC ${CMAKE_CURRENT_LIST_DIR}/sdl_audio.cpp)
target_include_directories(lexovo_sdl_audio PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(lexovo_sdl_audio PUBLIC lexovo_core PkgConfig::SDL2_MIXER PkgConfig::SDL2 ${CMAKE_DL_LIBS})
