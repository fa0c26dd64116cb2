# tolmex_subsystem(<name> DEPS ...): the Qt-free library tolmex_<name> from every .cpp of the
# folder and its subfolders (ui/ excluded).
function(tolmex_subsystem name)
  cmake_parse_arguments(S "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "/ui/")
  list(FILTER srcs EXCLUDE REGEX "/chains/")
  if(NOT srcs)
    return()
  endif()
  add_library(tolmex_${name} STATIC ${srcs})
  target_include_directories(tolmex_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(tolmex_${name} PUBLIC ${S_DEPS})
endfunction()

# tolmex_subsystem_ui(<name> DEPS ...): the Qt library tolmex_<name>_ui from ui/*.cpp.
function(tolmex_subsystem_ui name)
  cmake_parse_arguments(S "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT srcs)
    add_library(tolmex_${name}_ui INTERFACE)
    return()
  endif()
  add_library(tolmex_${name}_ui STATIC ${srcs})
  set_target_properties(tolmex_${name}_ui PROPERTIES AUTOMOC ON AUTORCC ON)
  target_include_directories(tolmex_${name}_ui PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(tolmex_${name}_ui PUBLIC ${S_DEPS}
    Qt6::Widgets Qt6::Charts Qt6::PrintSupport)
endfunction()
