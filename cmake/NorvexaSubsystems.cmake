# One object library per subsystem folder, linked to the subsystems it builds
# on, with a check that fails the build when a file of the folder includes a
# header of a subsystem it does not build on (other than a listed seam
# header).
#
#   norvexa_subsystem(NAME ROOT <folder holding the subsystem folders>
#                     [DEPENDS <subsystems it builds on>...])
#
# Before the first call set NORVEXA_SUBSYSTEMS (every subsystem) and
# NORVEXA_SEAMS (entries "from:header"). The target is norvexa_<NAME>: an
# OBJECT library of the folder's sources (globbed, so a new source file lands
# in its subsystem without a CMake edit), or an INTERFACE library while the
# folder has none.

set(NORVEXA_INCLUDE_CHECK ${CMAKE_CURRENT_LIST_DIR}/CheckSubsystemIncludes.cmake)

function(norvexa_subsystem name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ROOT" "DEPENDS")
  set(dir ${arg_ROOT}/${name})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${dir}/*.h ${dir}/*.hpp ${dir}/*.inc)
  set(target norvexa_${name})
  if(NOT sources)
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  else()
    add_library(${target} OBJECT ${sources} ${headers})
    set(scope PUBLIC)
  endif()
  foreach(dependency IN LISTS arg_DEPENDS)
    target_link_libraries(${target} ${scope} norvexa_${dependency})
  endforeach()

  string(REPLACE ";" "," subsystems "${NORVEXA_SUBSYSTEMS}")
  string(REPLACE ";" "," allowed "${arg_DEPENDS}")
  string(REPLACE ";" "," seams "${NORVEXA_SEAMS}")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layering/${name}.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSUBSYSTEM=${name} -DROOT=${arg_ROOT}
            -DSUBSYSTEMS=${subsystems} -DALLOWED=${allowed} -DSEAMS=${seams}
            -DSTAMP=${stamp} -P ${NORVEXA_INCLUDE_CHECK}
    DEPENDS ${sources} ${headers} ${NORVEXA_INCLUDE_CHECK}
    COMMENT "Checking the includes of ${name}"
    VERBATIM)
  add_custom_target(${target}_includes ALL DEPENDS ${stamp})
  if(sources)
    add_dependencies(${target} ${target}_includes)
  endif()
endfunction()
