# velnora_module(SOURCES <files...> [DEPENDS <folders...>] [EXTERNAL <imported targets...>])
#     Builds the folder's one library, velnora_<folder>, from SOURCES. DEPENDS names the folders
#     under src/ whose libraries it links and whose headers it may include; EXTERNAL names the
#     outside libraries (Qt modules, zlib, OpenSSL) it links and whose headers it may include.
# velnora_program(<name> SOURCES <files...> [DEPENDS <folders...>] [EXTERNAL <targets...>])
#     An executable beside (or instead of) the folder's library, under the same rules.
#
# The rules are checked at build time: a source or header of the folder that includes a header
# of a folder not named in DEPENDS, or a Qt, zlib or OpenSSL header whose library is not named in
# EXTERNAL, stops the build with the file, the line and what the folder allows. So the folder
# tree is the layer diagram and cannot drift unnoticed.

set(VELNORA_CHECK_INCLUDES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/CheckIncludes.cmake)

# The include directories of the Qt modules among <targets>, with the Qt modules they depend on:
# QtWidgets brings QtGui and QtCore, and so on.
function(_velnora_qt_module_dirs out)
    set(seen)
    set(dirs)
    set(queue ${ARGN})
    while(queue)
        list(POP_FRONT queue target)
        if(NOT target MATCHES "^Qt6::" OR NOT TARGET ${target} OR target IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${target})
        get_target_property(aliased ${target} ALIASED_TARGET)
        if(aliased)
            set(target ${aliased})
        endif()
        get_target_property(includes ${target} INTERFACE_INCLUDE_DIRECTORIES)
        foreach(dir IN LISTS includes)
            if(dir MATCHES "/Qt[A-Za-z]+$")
                list(APPEND dirs ${dir})
            endif()
        endforeach()
        get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
        foreach(link IN LISTS links)
            if(link MATCHES "^Qt6::")
                list(APPEND queue ${link})
            endif()
        endforeach()
    endwhile()
    list(REMOVE_DUPLICATES dirs)
    set(${out} ${dirs} PARENT_SCOPE)
endfunction()

# Adds the build-time include check of <files> to <target>.
function(_velnora_check_includes target files)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    _velnora_qt_module_dirs(qt_dirs ${ARGN_EXTERNAL})
    set(zlib OFF)
    set(openssl OFF)
    foreach(external IN LISTS ARGN_EXTERNAL)
        if(external STREQUAL "ZLIB::ZLIB")
            set(zlib ON)
        elseif(external MATCHES "^OpenSSL::")
            set(openssl ON)
        endif()
    endforeach()
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.includes-checked)
    string(REPLACE ";" "|" depends "${ARGN_DEPENDS}")
    string(REPLACE ";" "|" qt "${qt_dirs}")
    string(REPLACE ";" "|" checked "${files}")
    add_custom_command(
        OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} "-DFILES=${checked}" -DNAME=${folder}
                "-DDEPENDS=${depends}" "-DQT_DIRS=${qt}" -DZLIB=${zlib} -DOPENSSL=${openssl}
                -DSTAMP=${stamp} -P ${VELNORA_CHECK_INCLUDES_SCRIPT}
        DEPENDS ${files} ${VELNORA_CHECK_INCLUDES_SCRIPT}
        COMMENT "Checking the includes of src/${folder}"
        VERBATIM)
    add_custom_target(${target}_includes DEPENDS ${stamp})
    add_dependencies(${target} ${target}_includes)
endfunction()

function(_velnora_link target files)
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    set(ours)
    foreach(folder IN LISTS ARGN_DEPENDS)
        list(APPEND ours velnora_${folder})
    endforeach()
    target_link_libraries(${target} PUBLIC ${ours} ${ARGN_EXTERNAL})
    _velnora_check_includes(${target} "${files}")
endfunction()

macro(_velnora_parse)
    cmake_parse_arguments(ARGN "" "" "SOURCES;DEPENDS;EXTERNAL" ${ARGN})
endmacro()

function(velnora_module)
    _velnora_parse(${ARGN})
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    add_library(velnora_${folder} STATIC ${ARGN_SOURCES})
    # The library answers for every header and source of the folder.
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h
                                      ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    _velnora_link(velnora_${folder} "${files}")
endfunction()

function(velnora_program name)
    _velnora_parse(${ARGN})
    add_executable(${name} ${ARGN_SOURCES})
    # A program answers for its own sources; the folder's library (if any) for the rest.
    list(TRANSFORM ARGN_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    _velnora_link(${name} "${ARGN_SOURCES}")
endfunction()
