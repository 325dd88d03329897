# The Debian package (`make package`, target `deb`): the programs with their manual pages, the
# desktop entry, its icons and AppStream metadata, and the logging service. The libraries the
# package depends on are found by dpkg-shlibdeps.
set(VXXX_APP_ID org.example.vxxx.ControlPanel)
set(VXXX_PACKAGE_NAME vxxx-control-panel)
set(VXXX_PACKAGE_MAINTAINER "Vxxx Control Panel developers <vxxx@example.org>"
    CACHE STRING "The Maintainer field of the package")
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
set(doc share/doc/${VXXX_PACKAGE_NAME})

set(programs control-panel vxxx-sim)
set(maintainer_scripts)
if(TARGET vxxx)
    list(APPEND programs vxxx)
    # The logging service: one instance per instrument, each with its file in /etc/vxxx; the
    # maintainer scripts make its user and tell systemd.
    install(FILES ${packaging}/service/vxxx-read@.service DESTINATION /lib/systemd/system)
    install(FILES ${packaging}/service/vxxx.sysusers DESTINATION lib/sysusers.d RENAME vxxx.conf)
    install(FILES ${packaging}/service/example.conf DESTINATION /etc/vxxx)
    foreach(script postinst prerm postrm conffiles)
        list(APPEND maintainer_scripts ${packaging}/debian/${script})
    endforeach()
endif()
install(TARGETS ${programs} RUNTIME DESTINATION bin)

# Manual pages and the changelog go in compressed, as Debian has them.
set(package_files)
function(vxxx_gzip source output)
    add_custom_command(OUTPUT ${output}
        COMMAND gzip -9n -c ${source} > ${output}
        DEPENDS ${source}
        VERBATIM)
    set(package_files ${package_files} ${output} PARENT_SCOPE)
endfunction()

foreach(program IN LISTS programs)
    vxxx_gzip(${packaging}/man/${program}.1 ${generated}/${program}.1.gz)
    install(FILES ${generated}/${program}.1.gz DESTINATION share/man/man1)
endforeach()

string(TIMESTAMP VXXX_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${packaging}/debian/changelog.in ${generated}/changelog @ONLY)
vxxx_gzip(${generated}/changelog ${generated}/changelog.gz)
install(FILES ${generated}/changelog.gz ${packaging}/debian/copyright DESTINATION ${doc})

# The icon at the sizes desktops look for, drawn from the one picture.
foreach(size 48 64 128 256)
    set(png ${generated}/icons/${size}x${size}/${VXXX_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}x${size}
        COMMAND rsvg-convert -w ${size} -h ${size} -o ${png} ${packaging}/${VXXX_APP_ID}.svg
        DEPENDS ${packaging}/${VXXX_APP_ID}.svg
        VERBATIM)
    list(APPEND package_files ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${packaging}/${VXXX_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${packaging}/${VXXX_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${packaging}/${VXXX_APP_ID}.metainfo.xml DESTINATION share/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VXXX_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "The Vxxx Control Panel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for V420 and V630 temperature instruments")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads, charts, logs and configures the V420 and V630 eight-channel temperature
instruments over a serial port: live readings with their minimum and maximum, a
real-time chart, readings logged to CSV on the PC, the instrument's own log
downloaded, its settings, channel scaling and alarm outputs, and a guided
calibration of its inputs.
.
The package holds the desktop program control-panel, the command-line tool
vxxx, the simulated instrument vxxx-sim, and the service vxxx-read@ that logs
an instrument's readings unattended.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VXXX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${maintainer_scripts})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The package target builds only what goes into the package, not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

add_custom_target(package-files DEPENDS ${package_files})
add_custom_target(deb
    COMMAND ${CMAKE_CPACK_COMMAND} --config ${PROJECT_BINARY_DIR}/CPackConfig.cmake
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    USES_TERMINAL
    VERBATIM)
add_dependencies(deb package-files ${programs})
