# The Windows programs, defined once every folder is read (platform/win32/ includes this file,
# and the call is deferred to the end of the top level): hello_vane.exe is examples/' own;
# vorlund.exe is the demo on the Win32 layer, once the demo registers its application class;
# win32_programs is what the Windows presets build.
function(vane_win32_programs)
    set(programs hello_vane)
    if(TARGET win32_layer_tests)
        list(APPEND programs win32_layer_tests)
    endif()
    file(GLOB app_sources ${PROJECT_SOURCE_DIR}/app/*.cpp)
    set(demo_registered FALSE)
    foreach(source IN LISTS app_sources)
        file(STRINGS ${source} registration REGEX "^VANE_APPLICATION\\(")
        if(registration)
            set(demo_registered TRUE)
        endif()
    endforeach()
    if(demo_registered AND TARGET vorlund_demo)
        add_executable(vorlund WIN32)
        target_link_libraries(vorlund PRIVATE vorlund_demo vorlund_resources vane_win32_main
                                              vanelib)
        list(APPEND programs vorlund)
    endif()
    add_custom_target(win32_programs DEPENDS ${programs})
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL vane_win32_programs)
