# Warnings and sanitizers for every target of the project.
set(VXXX_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address;undefined or thread")
option(VXXX_WERROR "Treat warnings as errors" OFF)

if(MSVC)
    add_compile_options(/W4 /permissive- /utf-8)
else()
    add_compile_options(-Wall -Wextra -Wpedantic)
endif()
if(VXXX_WERROR)
    add_compile_options($<IF:$<CXX_COMPILER_ID:MSVC>,/WX,-Werror>)
    # At -O3 GCC 12 sees a false overlap inside std::string (-Wrestrict): an optimised build
    # whose warnings are errors is made with -O2.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
    endif()
endif()

if(VXXX_SANITIZE)
    list(JOIN VXXX_SANITIZE "," _sanitizers)
    add_compile_options(-fsanitize=${_sanitizers} -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${_sanitizers})
    if("undefined" IN_LIST VXXX_SANITIZE)
        add_compile_options(-fno-sanitize-recover=undefined)
    endif()
endif()
