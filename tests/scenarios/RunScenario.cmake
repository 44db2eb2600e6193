cmake_minimum_required(VERSION 3.25)
# Runs one scenario and compares its transcript with the expected one byte for byte: a CR LF
# typed into a text box and sent in a statement must stay CR LF. Standard error must be empty,
# or equal to NAME.err beside the expected transcript where a scenario expects output there.
# @FIXTURES@ in a script names the folder of fixture files. With ENGINE (anywhere or
# sqlserver), "engine @ENGINE@" in the script names that engine, and @SEGREGATE@ and
# @USERNAME@ the two columns of the VIZ/IDOV user list that the engines name differently. With
# PARAMETER and VALUE, @PARAMETER@ in the script stands for VALUE.
get_filename_component(name ${SCRIPT} NAME_WE)
if(DEFINED ENGINE)
    set(name ${name}_${ENGINE})
endif()
if(DEFINED PARAMETER)
    set(name ${name}_${VALUE})
    set(${PARAMETER} ${VALUE})
endif()
if(ENGINE STREQUAL "sqlserver")
    set(SEGREGATE Segregate)
    set(USERNAME mtname)
else()
    set(SEGREGATE i4240)
    set(USERNAME name)
endif()
get_filename_component(FIXTURES ${SCRIPT} DIRECTORY)
set(FIXTURES ${FIXTURES}/fixtures)
get_filename_component(expected_dir ${EXPECTED} DIRECTORY)
set(expected_errors ${expected_dir}/${name}.err)
# configure_file writes LF line ends unless told otherwise: a script written with CR LF keeps them.
file(READ ${SCRIPT} head HEX LIMIT 4096)
string(REGEX MATCH "^(..)*0d0a" crlf "${head}") # at a byte's start
if(NOT crlf)
    configure_file(${SCRIPT} ${WORKDIR}/${name}.scn @ONLY)
else()
    configure_file(${SCRIPT} ${WORKDIR}/${name}.scn @ONLY NEWLINE_STYLE CRLF)
endif()

# Files, not variables, all the way: CMake folds CR LF into LF in what it reads as text.
set(actual ${WORKDIR}/${name}.actual)
set(errors ${WORKDIR}/${name}.stderr)
execute_process(COMMAND ${RUNNER} ${WORKDIR}/${name}.scn
                OUTPUT_FILE ${actual}
                ERROR_FILE ${errors}
                RESULT_VARIABLE status)
file(APPEND ${actual} "EXIT ${status}\n")
find_program(PYTHON3 python3 REQUIRED)
foreach(file ${actual} ${errors})
    execute_process(COMMAND ${PYTHON3} -c
                            "import sys; path, folder = sys.argv[1:]; data = open(path, 'rb').read(); open(path, 'wb').write(data.replace(folder.encode(), b'@FIXTURES@'))"
                            ${file} ${FIXTURES}
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(SIZE ${errors} error_size)

file(STRINGS ${SCRIPT} unchecked REGEX "^# transcript: not compared$")
if(DEFINED ENV{KALDOR_UPDATE_GOLDEN} AND NOT unchecked)
    file(COPY_FILE ${actual} ${EXPECTED})
    if(error_size EQUAL 0)
        file(REMOVE ${expected_errors})
    else()
        file(COPY_FILE ${errors} ${expected_errors})
    endif()
    return()
endif()

file(READ ${errors} error_text)
if(error_text MATCHES "ERROR: (Address|Leak|UndefinedBehavior)Sanitizer|runtime error:")
    message(FATAL_ERROR "sanitizer report:\n${error_text}")
endif()

# A script with the line "# transcript: not compared" (random actions) has no expected
# transcript: it must run to its end with nothing on standard error and no row of a column
# named violation.
if(unchecked)
    file(STRINGS ${actual} verdict REGEX "^(EXIT [0-9]+|ROW violation=.*)$")
    if(NOT verdict STREQUAL "EXIT 0" OR NOT error_size EQUAL 0)
        execute_process(COMMAND tail -n 40 ${actual})
        message(FATAL_ERROR "${verdict}\n${error_text}\n(whole transcript: ${actual})")
    endif()
    return()
endif()
if(NOT EXISTS ${EXPECTED})
    file(READ ${actual} transcript)
    message(FATAL_ERROR "no expected transcript ${EXPECTED}; transcript was:\n${transcript}\n"
                        "${error_text}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${actual}
                RESULT_VARIABLE differs)
if(differs)
    execute_process(COMMAND diff -u --text ${EXPECTED} ${actual})
    message(FATAL_ERROR "transcript differs from ${EXPECTED} (every byte counts, CR too)\n"
                        "${error_text}")
endif()
if(EXISTS ${expected_errors})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${expected_errors} ${errors}
                    RESULT_VARIABLE differs)
elseif(error_size EQUAL 0)
    set(differs 0)
else()
    set(differs 1)
endif()
if(differs)
    message(FATAL_ERROR "unexpected standard error output (expected: ${expected_errors}, "
                        "else nothing):\n${error_text}")
endif()
