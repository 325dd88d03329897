# The zip a Windows user unpacks: vxxx.exe (stripped; the runtime is linked in) and its manual
# page as plain text with Windows line ends, in build/windows/vxxx-<version>-windows-x64.zip.
if(NOT TARGET vxxx)
    return()
endif()
find_program(VXXX_GROFF groff REQUIRED)
set(package_name vxxx-${PROJECT_VERSION}-windows-x64)
set(package_folder ${PROJECT_BINARY_DIR}/${package_name})
set(manual ${package_folder}/vxxx.txt)
set(zip ${PROJECT_BINARY_DIR}/${package_name}.zip)

add_custom_command(OUTPUT ${manual}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_folder}
    COMMAND sh -c "${VXXX_GROFF} -man -Tascii -rHY=0 -P-cbou \"$0\" | sed 's/$/\\r/' >\"$1\""
            ${PROJECT_SOURCE_DIR}/packaging/man/vxxx.1 ${manual}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/man/vxxx.1
    VERBATIM)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_STRIP} -o ${package_folder}/vxxx.exe $<TARGET_FILE:vxxx>
    COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${package_name}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    DEPENDS vxxx ${manual}
    VERBATIM)
add_custom_target(windows-zip ALL DEPENDS ${zip})
