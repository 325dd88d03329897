# The folder a Windows user copies and runs as it is, and its zip, in
# build/windows-panel/control-panel-<version>-windows-x64[.zip]: control-panel.exe (and vxxx.exe
# where it is built), the Qt and plotting libraries it loads, Qt's Windows platform and style
# plugins, and the compiler's runtime those libraries use; all stripped.
if(NOT TARGET control-panel)
    return()
endif()
set(panel_package control-panel-${PROJECT_VERSION}-windows-x64)
set(panel_folder ${PROJECT_BINARY_DIR}/${panel_package})
set(panel_zip ${PROJECT_BINARY_DIR}/${panel_package}.zip)

set(runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}")
        message(FATAL_ERROR "The compiler's ${dll} is missing")
    endif()
    list(APPEND runtime_dlls ${found})
endforeach()

set(panel_programs $<TARGET_FILE:control-panel>)
if(TARGET vxxx)
    list(APPEND panel_programs $<TARGET_FILE:vxxx>)
endif()
set(strip_into "for file; do ${CMAKE_STRIP} --strip-unneeded -o \"$0/$(basename \"$file\")\" \"$file\" || exit 1; done")
add_custom_command(OUTPUT ${panel_zip}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${panel_folder} ${panel_zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${panel_folder}/platforms ${panel_folder}/styles
    COMMAND sh -c ${strip_into} ${panel_folder} ${panel_programs}
        "$<TARGET_RUNTIME_DLLS:control-panel>" ${runtime_dlls}
    COMMAND sh -c ${strip_into} ${panel_folder}/platforms
        $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>
    COMMAND sh -c ${strip_into} ${panel_folder}/styles
        $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>
    COMMAND ${CMAKE_COMMAND} -E tar cf ${panel_zip} --format=zip ${panel_package}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    DEPENDS ${panel_programs}
    COMMAND_EXPAND_LISTS
    VERBATIM)
add_custom_target(windows-panel-zip ALL DEPENDS ${panel_zip})
