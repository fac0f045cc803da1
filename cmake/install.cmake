# cmake --install: the libraries, their headers, a CMake package and pkg-config files, so that
# programs outside this tree build against VANELIB with find_package(vanelib) or pkg-config.
#
# Headers keep the repository's layout under include/vanelib (a program writes
# #include "framework/vane.h" as the code here does), and every installed target carries that
# folder as its include path.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VANE_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/vanelib)
set(VANE_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/vanelib)

# Installed target → its name in the package (vanelib::<name>). The subsystem libraries are
# installed because the umbrella and the layers link them; programs name the umbrella, a layer
# and, for sound, hss.
set(VANE_INSTALLED_TARGETS
    vane_system:system
    vane_resources:resources
    vane_fileio:fileio
    vane_math:math
    vane_graphics2d:graphics2d
    vane_imaging:imaging
    vane_render3d:render3d
    vane_connect:connect
    vane_framework:framework
    vane_platform:platform
    vane_headless:headless
    vane_desktop:desktop
    vanelib:vanelib
    hss:hss)

set(vane_install_targets "")
foreach(entry IN LISTS VANE_INSTALLED_TARGETS)
    string(REPLACE ":" ";" pair "${entry}")
    list(GET pair 0 target)
    list(GET pair 1 export_name)
    if(NOT TARGET ${target})
        message(FATAL_ERROR "cmake/install.cmake: target ${target} does not exist")
    endif()
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${export_name})
    list(APPEND vane_install_targets ${target})
endforeach()

install(TARGETS ${vane_install_targets}
        EXPORT vanelibTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${VANE_INSTALL_INCLUDEDIR})

set(vane_header_folders fileio math graphics2d imaging render3d connect framework platform hss)
list(TRANSFORM vane_header_folders PREPEND ${PROJECT_SOURCE_DIR}/)
install(DIRECTORY ${vane_header_folders}
        DESTINATION ${VANE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h")

install(EXPORT vanelibTargets NAMESPACE vanelib:: DESTINATION ${VANE_INSTALL_CMAKEDIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/vanelibConfig.cmake.in
                              ${CMAKE_CURRENT_BINARY_DIR}/vanelibConfig.cmake
                              INSTALL_DESTINATION ${VANE_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/vanelibConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vanelibConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/vanelibConfigVersion.cmake
        DESTINATION ${VANE_INSTALL_CMAKEDIR})

# pkg-config: vanelib (the framework and everything below it) and one file per part a program
# adds to it. The libraries are static, so each file lists every library its own need in turn
# (fileio and the system services name each other and appear twice), and zlib and SDL2 are
# Requires rather than Requires.private. The files find the prefix from their own place, so
# that cmake --install --prefix puts them anywhere.
file(RELATIVE_PATH VANE_PC_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" VANE_PC_PREFIX "${VANE_PC_PREFIX}")
foreach(pc vanelib vanelib-headless vanelib-desktop vanelib-hss)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/pkgconfig/${pc}.pc.in
                   ${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/${pc}.pc @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/${pc}.pc
            DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
