# cmake -DFLUIDSYNTH=… -DLAME=… -DSOUNDFONT=… -DMIDI=x.mid -DOUT=x.mp3 -P record_tune.cmake
#
# FluidSynth plays the tune once into a 44.1 kHz stereo WAV file, as fast as
# it can (-F), at a gain that puts the music under the effects' loudness
# (its own default of 0.2 is far quieter than a player's synthesiser);
# LAME encodes it at variable bit rate quality 5, around 95 kbit/s for these
# General MIDI instruments: the two tunes take 2.2 MB, which keeps the
# browser's whole download under 10 MB. LAME writes the encoder delay in
# its header, so players that honour it (the browsers do) play the three
# rounds without a gap at the joins.
foreach(v FLUIDSYNTH LAME SOUNDFONT MIDI OUT)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "record_tune.cmake: ${v} not given")
  endif()
endforeach()
set(wav ${OUT}.wav)
execute_process(
  COMMAND ${FLUIDSYNTH} -n -i -q -F ${wav} -r 44100 -g 1.0 ${SOUNDFONT} ${MIDI}
  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
if(NOT rc EQUAL 0 OR NOT EXISTS ${wav})
  message(FATAL_ERROR "fluidsynth could not record ${MIDI}: ${err}")
endif()
execute_process(
  COMMAND ${LAME} --quiet --noreplaygain -V 5 ${wav} ${OUT}.part
  RESULT_VARIABLE rc ERROR_VARIABLE err)
file(REMOVE ${wav})
if(NOT rc EQUAL 0)
  file(REMOVE ${OUT}.part)
  message(FATAL_ERROR "lame could not encode ${MIDI}: ${err}")
endif()
file(RENAME ${OUT}.part ${OUT})
