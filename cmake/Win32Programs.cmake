# The Windows programs, defined once every folder is read (platform/win32/ includes this file,
# and the call is deferred to the end of the top level): hello_vane.exe is examples/' own;
# vorlund.exe is the demo on the Win32 layer, once the demo's registration of its application
# class is in the build; win32_programs is what the Windows presets build.
function(vane_win32_programs)
    set(programs hello_vane)
    if(TARGET win32_layer_tests)
        list(APPEND programs win32_layer_tests)
    endif()
    # The registration is in the object library, linked in whole: the demo's static library
    # alone leaves the linker no reason to keep it, and the program would run a plain ClassVane.
    if(TARGET vorlund_application)
        add_executable(vorlund WIN32)
        target_link_libraries(vorlund PRIVATE vorlund_application vorlund_resources
                                              vane_win32_main vanelib)
        list(APPEND programs vorlund)
    endif()
    add_custom_target(win32_programs DEPENDS ${programs})
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL vane_win32_programs)
