# krv_add_library(<name> SOURCES <files...> LINKS <targets...>): the library of one src/ folder.
# A folder without sources yet is an interface target so that its dependants already link it.
function(krv_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC krv_common ${ARG_LINKS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE krv_common ${ARG_LINKS})
  endif()
endfunction()
