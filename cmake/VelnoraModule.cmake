# velnora_library(<target> FOLDER_ALLOWS <targets...> SOURCES <files...> LINKS <targets...>)
#
# Every folder under src/ states once which of our libraries it may use (FOLDER_ALLOWS, set by
# the folder's CMakeLists through VELNORA_ALLOWED). A library that links anything of ours beyond
# that list stops the configuration, so the layering cannot drift unnoticed. External libraries
# (zlib, OpenSSL, Qt) are named explicitly in each folder and are not checked here.
function(velnora_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;EXTERNAL" ${ARGN})
    foreach(dep IN LISTS ARG_LINKS)
        if(NOT dep IN_LIST VELNORA_ALLOWED)
            message(FATAL_ERROR "${name} may not depend on ${dep} (allowed: ${VELNORA_ALLOWED})")
        endif()
    endforeach()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS} ${ARG_EXTERNAL})
endfunction()
