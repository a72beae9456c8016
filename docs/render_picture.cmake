# Draws one picture of the user guide with the program itself: `sabrix --render` of a sample
# file, in a program folder of the build tree, quietly unless it fails.
# -DSABRIX=exe -DHOME_DIR=folder -DOUT=png -DFONTS_CONF=fontconfig file
# -DARGS="--render|file|option|..."
string(REPLACE "|" ";" ARGS "${ARGS}")
file(MAKE_DIRECTORY "${HOME_DIR}")
set(ENV{SABRIX_HOME} "${HOME_DIR}")
set(ENV{QT_QPA_PLATFORM} "offscreen")
set(ENV{FONTCONFIG_FILE} "${FONTS_CONF}")
execute_process(COMMAND "${SABRIX}" ${ARGS} --out "${OUT}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "sabrix ${ARGS} --out ${OUT} failed (${result}): ${output}${errors}")
endif()
