# Compiles the files of a resource list into the program as a resource table.
#
# A resource list has one resource per line: type name, numeric id and file (relative to the
# list's folder), separated by blanks; '#' starts a comment. The same list can be turned into a
# Windows resource script line for line ("<id> <type> \"<file>\"").
#
#   vane_embed_resources(<target> LIST <resource list>)
#
# defines the OBJECT library <target>, whose one generated source holds every file as a byte
# array and registers the table as the program's resource module (VResourceRegistration). An
# OBJECT library is linked in whole, so the static registration is never dropped.
#
# The same file runs as a script (cmake -P) at build time to write that source:
#   cmake -DRESOURCE_LIST=<list> -DOUTPUT=<.cpp> -P EmbedResources.cmake
#
# On Windows the files become real resources of the executable instead: the list is written
# as a resource script compiled by the resource compiler (windres), and the generated source
# names the rows for platform/win32/resource_table_win32.h, which finds them in the executable
# at start-up (FindResourceW) and registers them as the program's module. ICON rows are icon
# resources for the window class and stay out of the table.
#   cmake -DRESOURCE_LIST=<list> -DOUTPUT=<.cpp> -DWINDOWS_SCRIPT=<.rc> -P EmbedResources.cmake

if(CMAKE_SCRIPT_MODE_FILE)
    # A script starts with old policies; the functions below are written for current ones.
    cmake_minimum_required(VERSION 3.25)
endif()

# Reads a resource list into three parallel lists (types, ids, absolute files); stops with an
# error naming the line for a malformed row, a duplicate type and id, or a missing file.
function(_vane_read_resource_list list_file out_types out_ids out_files)
    if(NOT EXISTS "${list_file}")
        message(FATAL_ERROR "Resource list not found: ${list_file}")
    endif()
    get_filename_component(base_dir "${list_file}" DIRECTORY)
    file(STRINGS "${list_file}" lines)
    set(types "")
    set(ids "")
    set(files "")
    set(keys "")
    set(line_number 0)
    foreach(line IN LISTS lines)
        math(EXPR line_number "${line_number} + 1")
        string(REGEX REPLACE "#.*$" "" line "${line}")
        string(STRIP "${line}" line)
        if(line STREQUAL "")
            continue()
        endif()
        if(NOT line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)[ \t]+([0-9]+)[ \t]+([^ \t]+)$")
            message(FATAL_ERROR "${list_file}:${line_number}: expected 'TYPE ID FILE': ${line}")
        endif()
        set(type "${CMAKE_MATCH_1}")
        set(id "${CMAKE_MATCH_2}")
        set(file "${base_dir}/${CMAKE_MATCH_3}")
        if(id GREATER 65535)
            message(FATAL_ERROR "${list_file}:${line_number}: id ${id} is above 65535")
        endif()
        if("${type}:${id}" IN_LIST keys)
            message(FATAL_ERROR "${list_file}:${line_number}: ${type} ${id} is listed twice")
        endif()
        if(NOT EXISTS "${file}")
            message(FATAL_ERROR "${list_file}:${line_number}: file not found: ${file}")
        endif()
        list(APPEND keys "${type}:${id}")
        list(APPEND types "${type}")
        list(APPEND ids "${id}")
        list(APPEND files "${file}")
    endforeach()
    set(${out_types} "${types}" PARENT_SCOPE)
    set(${out_ids} "${ids}" PARENT_SCOPE)
    set(${out_files} "${files}" PARENT_SCOPE)
endfunction()

# Writes the C++ source of the resource table.
function(_vane_write_resource_source list_file output)
    _vane_read_resource_list("${list_file}" types ids files)
    set(text "// Generated from ${list_file} at build time; do not edit.\n")
    string(APPEND text "#include \"platform/resources.h\"\n\nnamespace {\n\n")
    set(entries "")
    set(index 0)
    foreach(type id file IN ZIP_LISTS types ids files)
        file(SIZE "${file}" size)
        file(READ "${file}" hex HEX)
        # Each byte becomes a literal; a line break follows every 24 of them (CMake's regular
        # expressions have no counted repetition, so the pattern is spelled out).
        string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
        string(REPEAT "0x..," 24 line_of_bytes)
        string(REGEX REPLACE "(${line_of_bytes})" "\\1\n    " bytes "${bytes}")
        if(size EQUAL 0)
            # C++ has no empty arrays; the entry's size still says 0.
            set(bytes "0")
        endif()
        get_filename_component(name "${file}" NAME)
        string(APPEND text "// ${type} ${id}: ${name}\n")
        string(APPEND text "alignas(16) const uint8_t kData${index}[] = {\n    ${bytes}\n};\n\n")
        string(APPEND entries "    {\"${type}\", ${id}, kData${index}, ${size}},\n")
        math(EXPR index "${index} + 1")
    endforeach()
    if(index EQUAL 0)
        message(FATAL_ERROR "${list_file}: the resource list is empty")
    endif()
    string(APPEND text "const VResource kEntries[] = {\n${entries}};\n\n")
    string(APPEND text "const VResourceModule kModule{kEntries, ${index}};\n\n")
    string(APPEND text "const VResourceRegistration kRegistration(&kModule);\n\n")
    string(APPEND text "}  // namespace\n")
    # Written through a temporary so that an unchanged table keeps its time stamp.
    file(WRITE "${output}.tmp" "${text}")
    file(COPY_FILE "${output}.tmp" "${output}" ONLY_IF_DIFFERENT)
    file(REMOVE "${output}.tmp")
endfunction()

# Writes the resource script and the table of names for a Windows executable.
function(_vane_write_windows_resources list_file output script)
    _vane_read_resource_list("${list_file}" types ids files)
    set(rc "// Generated from ${list_file} at build time; do not edit.\n")
    set(names "")
    set(count 0)
    foreach(type id file IN ZIP_LISTS types ids files)
        string(REPLACE "\\" "/" file "${file}")
        string(APPEND rc "${id} ${type} \"${file}\"\n")
        if(NOT type STREQUAL "ICON")
            string(APPEND names "    {\"${type}\", ${id}},\n")
            math(EXPR count "${count} + 1")
        endif()
    endforeach()
    set(text "// Generated from ${list_file} at build time; do not edit.\n")
    string(APPEND text "#include \"platform/win32/resource_table_win32.h\"\n\nnamespace {\n\n")
    if(count EQUAL 0)
        string(APPEND text "const VWin32ResourceName* const kNames = nullptr;\n")
        string(APPEND text "VResource* const kEntries = nullptr;\n")
    else()
        string(APPEND text "const VWin32ResourceName kNames[] = {\n${names}};\n")
        string(APPEND text "VResource kEntries[${count}];\n")
    endif()
    string(APPEND text "VResourceModule kModule{nullptr, 0};\n\n")
    string(APPEND text "const VWin32ResourceTable kTable(kNames, ${count}, kEntries, &kModule);\n\n")
    string(APPEND text "}  // namespace\n")
    foreach(pair IN ITEMS "rc|${script}" "text|${output}")
        string(REPLACE "|" ";" pair "${pair}")
        list(GET pair 0 variable)
        list(GET pair 1 path)
        file(WRITE "${path}.tmp" "${${variable}}")
        file(COPY_FILE "${path}.tmp" "${path}" ONLY_IF_DIFFERENT)
        file(REMOVE "${path}.tmp")
    endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    if(DEFINED WINDOWS_SCRIPT)
        _vane_write_windows_resources("${RESOURCE_LIST}" "${OUTPUT}" "${WINDOWS_SCRIPT}")
        return()
    endif()
    if(NOT DEFINED RESOURCE_LIST OR NOT DEFINED OUTPUT)
        message(FATAL_ERROR "usage: cmake -DRESOURCE_LIST=<list> -DOUTPUT=<.cpp> -P ${CMAKE_SCRIPT_MODE_FILE}")
    endif()
    _vane_write_resource_source("${RESOURCE_LIST}" "${OUTPUT}")
    return()
endif()

set(_VANE_EMBED_RESOURCES_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

function(vane_embed_resources target)
    cmake_parse_arguments(ARG "" "LIST" "" ${ARGN})
    if(NOT ARG_LIST)
        message(FATAL_ERROR "vane_embed_resources(${target}): LIST <resource list> is required")
    endif()
    get_filename_component(list_file "${ARG_LIST}" ABSOLUTE)
    # Read now as well, so that a bad list fails at configure time and the files become
    # dependencies; an edited list configures again.
    _vane_read_resource_list("${list_file}" types ids files)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${list_file}")
    set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_table.cpp")
    if(WIN32)
        enable_language(RC)
        set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
        add_custom_command(
            OUTPUT "${output}" "${script}"
            COMMAND "${CMAKE_COMMAND}" "-DRESOURCE_LIST=${list_file}" "-DOUTPUT=${output}"
                    "-DWINDOWS_SCRIPT=${script}" -P "${_VANE_EMBED_RESOURCES_SCRIPT}"
            DEPENDS "${list_file}" "${_VANE_EMBED_RESOURCES_SCRIPT}"
            COMMENT "Writing the resource script of ${ARG_LIST}"
            VERBATIM)
        add_library(${target} OBJECT "${output}" "${script}")
        # The resource compiler reads the files; they are its dependencies.
        set_source_files_properties("${script}" PROPERTIES OBJECT_DEPENDS "${files}")
        target_link_libraries(${target} PUBLIC vane_resources vane_win32_resources)
        return()
    endif()
    add_custom_command(
        OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" "-DRESOURCE_LIST=${list_file}" "-DOUTPUT=${output}"
                -P "${_VANE_EMBED_RESOURCES_SCRIPT}"
        DEPENDS "${list_file}" ${files} "${_VANE_EMBED_RESOURCES_SCRIPT}"
        COMMENT "Embedding the resources of ${ARG_LIST}"
        VERBATIM)
    add_library(${target} OBJECT "${output}")
    target_link_libraries(${target} PUBLIC vane_resources)
endfunction()
