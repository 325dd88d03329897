# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which
# std::thread needs); programs and tests run under Wine. The runtime (libstdc++, libgcc,
# winpthreads) is linked statically, so a program is one .exe with nothing to install beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VXXX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VXXX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VXXX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VXXX_MINGW_TRIPLET}-windres)

# Libraries and headers come from the cross environment only, never from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VXXX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest and the build's own runs start the programs under Wine, in the build folder's own
# prefix (made at configure time), without Wine's diagnostic chatter.
find_program(VXXX_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine ${VXXX_WINE})
