# One place for build strictness: every target links kaldor_strict.
add_library(kaldor_strict INTERFACE)
target_compile_options(kaldor_strict INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
# GCC 12's optimiser reports std::string concatenations as overlapping copies (GCC bug 105329):
# no fault of ours, and it would stop an optimised build with -Werror.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(kaldor_strict INTERFACE -Wno-restrict)
endif()
if(KALDOR_WERROR)
    target_compile_options(kaldor_strict INTERFACE -Werror)
endif()
target_compile_definitions(kaldor_strict INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_KEYWORDS
    QT_NO_CAST_FROM_BYTEARRAY QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER QT_STRICT_ITERATORS QT_NO_FOREACH)
if(KALDOR_SANITIZE)
    target_compile_options(kaldor_strict INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(kaldor_strict INTERFACE -fsanitize=address,undefined)
endif()
