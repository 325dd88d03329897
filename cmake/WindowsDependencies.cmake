# What the Windows build needs beside mingw-w64, made in the build folder from Debian's own
# sources: libmosquitto (static, without TLS) from mosquitto's source package, GoogleTest from
# /usr/src/googletest, and the header-only CLI11 and nlohmann-json as the build machine has them.
set(VXXX_DEPS_DIR ${PROJECT_BINARY_DIR}/_deps)
find_package(Threads REQUIRED)

# --- Header-only libraries: the build machine's headers, and nothing else of /usr/include. ---
set(host_headers ${VXXX_DEPS_DIR}/host-headers)
foreach(header_folder nlohmann CLI)
    if(NOT EXISTS /usr/include/${header_folder})
        message(FATAL_ERROR "/usr/include/${header_folder} is missing: run scripts/install-deps.sh windows")
    endif()
    file(MAKE_DIRECTORY ${host_headers}/include)
    file(CREATE_LINK /usr/include/${header_folder} ${host_headers}/include/${header_folder} SYMBOLIC)
endforeach()

# find_package(<name>) of the sources finds these packages; their version files are the host's.
function(vxxx_host_header_package package target version_file)
    set(folder ${host_headers}/${package})
    file(WRITE ${folder}/${package}Config.cmake
        "if(NOT TARGET ${target})\n"
        "    add_library(${target} INTERFACE IMPORTED GLOBAL)\n"
        "    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${host_headers}/include)\n"
        "endif()\n")
    configure_file(${version_file} ${folder}/${package}ConfigVersion.cmake COPYONLY)
    set(${package}_DIR ${folder} CACHE PATH "" FORCE)
endfunction()
vxxx_host_header_package(nlohmann_json nlohmann_json::nlohmann_json
    /usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake)
vxxx_host_header_package(CLI11 CLI11::CLI11 /usr/share/cmake/CLI11/CLI11ConfigVersion.cmake)

# --- GoogleTest, built with the project's compiler. ---
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# It names its targets GTest::gtest, GTest::gmock ... as find_package(GTest) does.
add_subdirectory(/usr/src/googletest ${VXXX_DEPS_DIR}/googletest EXCLUDE_FROM_ALL)

# --- libmosquitto from Debian's source package, the version the Linux build links. ---
set(mosquitto_source ${VXXX_DEPS_DIR}/mosquitto)
if(NOT EXISTS ${mosquitto_source}/lib/mosquitto.c)
    execute_process(COMMAND dpkg-query -W -f=\${source:Version} libmosquitto-dev
                    OUTPUT_VARIABLE mosquitto_version ERROR_QUIET)
    set(mosquitto_package mosquitto)
    if(mosquitto_version)
        set(mosquitto_package mosquitto=${mosquitto_version})
    endif()
    message(STATUS "Fetching Debian's source package ${mosquitto_package}")
    execute_process(
        COMMAND ${PROJECT_SOURCE_DIR}/scripts/debian-source.sh ${mosquitto_package} ${mosquitto_source}
        RESULT_VARIABLE fetched)
    if(NOT fetched EQUAL 0)
        message(FATAL_ERROR "apt-get source ${mosquitto_package} failed (see above)")
    endif()
endif()
file(STRINGS ${mosquitto_source}/CMakeLists.txt version_line REGEX "^set \\(VERSION ")
string(REGEX MATCH "[0-9.]+" mosquitto_library_version "${version_line}")

enable_language(C)
set(mosquitto_files
    actions.c callbacks.c connect.c handle_auth.c handle_connack.c handle_disconnect.c
    handle_ping.c handle_pubackcomp.c handle_publish.c handle_pubrec.c handle_pubrel.c
    handle_suback.c handle_unsuback.c helpers.c logging_mosq.c loop.c memory_mosq.c
    messages_mosq.c misc_mosq.c mosquitto.c net_mosq_ocsp.c net_mosq.c options.c
    packet_datatypes.c packet_mosq.c property_mosq.c read_handle.c send_connect.c
    send_disconnect.c send_mosq.c send_publish.c send_subscribe.c send_unsubscribe.c
    socks_mosq.c srv_mosq.c strings_mosq.c thread_mosq.c time_mosq.c tls_mosq.c utf8_mosq.c
    util_mosq.c util_topic.c will_mosq.c)
list(TRANSFORM mosquitto_files PREPEND ${mosquitto_source}/lib/)
add_library(mosquitto_static STATIC ${mosquitto_files})
target_include_directories(mosquitto_static
    PUBLIC ${mosquitto_source}/include
    PRIVATE ${mosquitto_source} ${mosquitto_source}/lib ${mosquitto_source}/deps)
# Without WITH_TLS: the library answers an mqtts:// broker with "not supported".
target_compile_definitions(mosquitto_static
    PUBLIC LIBMOSQUITTO_STATIC
    PRIVATE WIN32 CMAKE VERSION="${mosquitto_library_version}" WITH_THREADING WITH_SOCKS)
# Its own code, compiled as its authors do: the project's warnings are not for it.
target_compile_options(mosquitto_static PRIVATE -w)
target_link_libraries(mosquitto_static PUBLIC ws2_32 Threads::Threads)
add_library(PkgConfig::MOSQUITTO ALIAS mosquitto_static)
