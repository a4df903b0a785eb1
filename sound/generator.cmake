# lexovo-sound renders the effects and composes the tunes; the lexovo_sound
# target runs it so the files sit in ${LEXOVO_BIN} beside the game.
add_library(lexovo_sound_synth STATIC
  ${CMAKE_CURRENT_LIST_DIR}/synth.cpp
  ${CMAKE_CURRENT_LIST_DIR}/effects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tunes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/analysis.cpp)
lexovo_sees(lexovo_sound_synth core sound)

add_executable(lexovo-sound ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(lexovo-sound PRIVATE lexovo_sound_synth)

# Prints duration, level and spectrum figures of the generated effects.
add_executable(lexovo-sound-measure ${CMAKE_CURRENT_LIST_DIR}/measure.cpp)
target_link_libraries(lexovo-sound-measure PRIVATE lexovo_sound_synth)

set(LEXOVO_SOUND_FILES
  step.wav stairs.wav flub.wav mosca.wav noway.wav tuono.wav rain.wav cresce.wav
  fine.wav attiva.wav cade.wav crash.wav succ.wav jungla.wav tarzan.wav flauto.wav
  intro3.mid symphony.mid)
list(TRANSFORM LEXOVO_SOUND_FILES PREPEND ${LEXOVO_BIN}/ OUTPUT_VARIABLE lexovo_sound_outputs)
add_custom_command(OUTPUT ${lexovo_sound_outputs}
  COMMAND lexovo-sound ${LEXOVO_BIN}
  DEPENDS lexovo-sound
  COMMENT "Rendering the sound effects and composing the tunes")
add_custom_target(lexovo_sound ALL DEPENDS ${lexovo_sound_outputs})
