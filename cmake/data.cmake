# Builds the runtime data folder ${DATA_DIR}: Storage (shipped text files), Fonts, Mixer, and
# seed/ with the first network a new player gets. The game copies it into its runtime folder.
set(DATA_OUTPUTS)

file(GLOB SHIPPED_STORAGE CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Storage/*.txt)
foreach(shipped ${SHIPPED_STORAGE})
  get_filename_component(shipped_name ${shipped} NAME)
  add_custom_command(OUTPUT ${DATA_DIR}/Storage/${shipped_name}
    COMMAND ${CMAKE_COMMAND} -E copy ${shipped} ${DATA_DIR}/Storage/${shipped_name}
    DEPENDS ${shipped} VERBATIM)
  list(APPEND DATA_OUTPUTS ${DATA_DIR}/Storage/${shipped_name})
endforeach()

add_custom_command(OUTPUT ${DATA_DIR}/Fonts/nasaFont.ttf
  COMMAND ${CMAKE_COMMAND} -E copy ${BRIKKA_FONT_FILE} ${DATA_DIR}/Fonts/nasaFont.ttf
  DEPENDS ${BRIKKA_FONT_FILE} VERBATIM)
list(APPEND DATA_OUTPUTS ${DATA_DIR}/Fonts/nasaFont.ttf)

if(TARGET makeSounds)
  set(SOUND_FILES placeBlock clearLine takeDamage clickButton gameOver)
  set(SOUND_OUTPUTS ${DATA_DIR}/Mixer/mainMusic.mp3)
  foreach(sound ${SOUND_FILES})
    list(APPEND SOUND_OUTPUTS ${DATA_DIR}/Mixer/${sound}.wav)
  endforeach()
  find_program(LAME_PROGRAM lame REQUIRED)
  add_custom_command(OUTPUT ${SOUND_OUTPUTS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DATA_DIR}/Mixer
    COMMAND makeSounds ${DATA_DIR}/Mixer
    COMMAND ${LAME_PROGRAM} --quiet --preset standard ${DATA_DIR}/Mixer/mainMusic.wav
            ${DATA_DIR}/Mixer/mainMusic.mp3
    COMMAND ${CMAKE_COMMAND} -E remove ${DATA_DIR}/Mixer/mainMusic.wav
    DEPENDS makeSounds VERBATIM)
  list(APPEND DATA_OUTPUTS ${SOUND_OUTPUTS})
endif()

# The seed network is data made once by `brikka-lab distill` (see README), not at build time.
# Its place in the data folder; the game looks for it under the same name.
set(SEED_NETWORK ${DATA_DIR}/seed/BestNeuralNet.txt)
add_custom_command(OUTPUT ${SEED_NETWORK}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/Storage/seed/BestNeuralNet.txt
          ${SEED_NETWORK}
  DEPENDS ${CMAKE_SOURCE_DIR}/Storage/seed/BestNeuralNet.txt VERBATIM)
list(APPEND DATA_OUTPUTS ${SEED_NETWORK})

add_custom_target(brikka_data ALL DEPENDS ${DATA_OUTPUTS})
add_dependencies(brikka_data brikka_locale)
