# Fails when a source file includes a layer above its own, another layer's internal/ headers, or
# Qt outside the desktop library.
#   cmake -DSOURCE_ROOT=<dir holding the layer folders> -P check_layers.cmake
# Each layer may include itself and the layers listed for it; what a layer keeps in its internal/
# folder only itself (and the tests, which are not checked here); Qt headers only in ui.
set(allowed_platform platform)
set(allowed_core core platform)
set(allowed_net net core platform)
set(allowed_generate generate net core platform)
set(allowed_browser browser net core platform)
set(allowed_cli cli generate browser net core platform)
set(allowed_ui ui browser generate net core platform)

get_filename_component(SOURCE_ROOT ${SOURCE_ROOT} ABSOLUTE)
file(GLOB layers RELATIVE ${SOURCE_ROOT} ${SOURCE_ROOT}/*)
set(violations "")
foreach(layer IN LISTS layers)
  if(NOT IS_DIRECTORY ${SOURCE_ROOT}/${layer})
    continue()
  endif()
  if(NOT DEFINED allowed_${layer})
    string(APPEND violations "\n  ${layer}/: a folder that has no place in the layer rule")
    continue()
  endif()
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_ROOT} ${SOURCE_ROOT}/${layer}/*.h
       ${SOURCE_ROOT}/${layer}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+)/(internal/)?")
        list(FIND allowed_${layer} ${CMAKE_MATCH_1} found)
        if(found EQUAL -1 OR (CMAKE_MATCH_2 AND NOT CMAKE_MATCH_1 STREQUAL layer))
          string(APPEND violations "\n  ${source}: ${line}")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<Q" AND NOT layer STREQUAL "ui")
        string(APPEND violations "\n  ${source}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes against the layer rule "
                      "(ui -> browser, cli -> generate -> net -> core -> platform; a layer's "
                      "internal/ is its own):${violations}")
endif()
