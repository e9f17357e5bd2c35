# cmake -DSOURCE_DIR=<src> -P layers.cmake
#
# Fails, naming every offending line, when a source under SOURCE_DIR includes ("...") a header of a
# layer above its own, or lies in no layer. From the bottom up:
#   logic: db, stats, localisation, csv (they may include each other)
#   core
#   ui
#   app
if(NOT IS_DIRECTORY "${SOURCE_DIR}")
    message(FATAL_ERROR "SOURCE_DIR must name the source folder, not '${SOURCE_DIR}'")
endif()

set(layer_db 0)
set(layer_stats 0)
set(layer_localisation 0)
set(layer_csv 0)
set(layer_core 1)
set(layer_ui 2)
set(layer_app 3)

# The first folder of a path relative to SOURCE_DIR; empty for a file directly in it.
function(folder_of path result)
    set(folder "")
    if(path MATCHES "^([^/]+)/")
        set(folder "${CMAKE_MATCH_1}")
    endif()
    set(${result} "${folder}" PARENT_SCOPE)
endfunction()

set(offences 0)
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(SORT sources)
foreach(source IN LISTS sources)
    folder_of("${source}" folder)
    if(NOT DEFINED layer_${folder})
        message("src/${source}: lies in no layer")
        math(EXPR offences "${offences} + 1")
        continue()
    endif()
    get_filename_component(source_dir "${SOURCE_DIR}/${source}" DIRECTORY)
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
        # As the compiler looks: beside the including file first, then from the source root.
        cmake_path(ABSOLUTE_PATH header BASE_DIRECTORY "${source_dir}" NORMALIZE
                   OUTPUT_VARIABLE beside)
        cmake_path(ABSOLUTE_PATH header BASE_DIRECTORY "${SOURCE_DIR}" NORMALIZE
                   OUTPUT_VARIABLE from_root)
        if(EXISTS "${beside}")
            set(found "${beside}")
        else()
            # A header that does not exist (yet) counts by its name from the source root.
            set(found "${from_root}")
        endif()
        cmake_path(IS_PREFIX SOURCE_DIR "${found}" NORMALIZE inside)
        if(NOT inside)
            continue()
        endif()
        file(RELATIVE_PATH relative "${SOURCE_DIR}" "${found}")
        folder_of("${relative}" header_folder)
        # Generated files (a .moc beside its source) and anything outside the layers.
        if(NOT DEFINED layer_${header_folder})
            continue()
        endif()
        if(layer_${header_folder} GREATER layer_${folder})
            message("src/${source}: ${line}    (${folder} must not include ${header_folder})")
            math(EXPR offences "${offences} + 1")
        endif()
    endforeach()
endforeach()

if(offences GREATER 0)
    message(FATAL_ERROR "${offences} offence(s) against the layers")
endif()
list(LENGTH sources count)
message("${count} sources, no include reaches up into a higher layer")
