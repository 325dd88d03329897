# Warnings and sanitizers for every target of the project.
set(VXXX_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address;undefined or thread")
option(VXXX_WERROR "Treat warnings as errors" OFF)

add_compile_options(-Wall -Wextra -Wpedantic)
if(VXXX_WERROR)
    add_compile_options(-Werror)
endif()

if(VXXX_SANITIZE)
    list(JOIN VXXX_SANITIZE "," _sanitizers)
    add_compile_options(-fsanitize=${_sanitizers} -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${_sanitizers})
    if("undefined" IN_LIST VXXX_SANITIZE)
        add_compile_options(-fno-sanitize-recover=undefined)
    endif()
endif()
