# Fails when a C++ source of src/, tests/ or bench/ differs from its clang-format output.
file(GLOB_RECURSE sources ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
     ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
                RESULT_VARIABLE status ERROR_VARIABLE report)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "not formatted (run clang-format -i on these files):\n${report}")
endif()
