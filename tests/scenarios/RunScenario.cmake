# Runs one scenario and compares its transcript with the expected one. @FIXTURES@ in a
# script names the folder of fixture files.
get_filename_component(name ${SCRIPT} NAME_WE)
get_filename_component(FIXTURES ${SCRIPT} DIRECTORY)
set(FIXTURES ${FIXTURES}/fixtures)
configure_file(${SCRIPT} ${WORKDIR}/${name}.scn @ONLY)
execute_process(COMMAND ${RUNNER} ${WORKDIR}/${name}.scn
                OUTPUT_VARIABLE transcript
                ERROR_VARIABLE errors
                RESULT_VARIABLE status)
set(transcript "${transcript}EXIT ${status}\n")
if(DEFINED ENV{KALDOR_UPDATE_GOLDEN})
    file(WRITE ${EXPECTED} "${transcript}")
    return()
endif()
if(NOT EXISTS ${EXPECTED})
    message(FATAL_ERROR "no expected transcript ${EXPECTED}; transcript was:\n${transcript}\n${errors}")
endif()
file(READ ${EXPECTED} expected)
if(NOT transcript STREQUAL expected)
    set(actual_file ${WORKDIR}/${name}.actual)
    file(WRITE ${actual_file} "${transcript}")
    execute_process(COMMAND diff -u ${EXPECTED} ${actual_file})
    message(FATAL_ERROR "transcript differs from ${EXPECTED}\n${errors}")
endif()
if(errors MATCHES "ERROR: (Address|Leak|UndefinedBehavior)Sanitizer|runtime error:")
    message(FATAL_ERROR "sanitizer report:\n${errors}")
endif()
