# norvexa.dll: the plug-in for Windows, from the same objects as the Linux
# library plus the COBOL grammar. Its .def file exports the plug-in entry
# `main` alone; NORVEXA_API is empty here, so nothing else leaves the DLL.
# Sections no export reaches are dropped at link time, so the DLL holds only
# what its table of entry points reaches.
#
# The DLL is built once the entry exists in the api sources.
file(GLOB norvexa_api_sources CONFIGURE_DEPENDS ${norvexa_root}/api/*.cpp)
set(norvexa_has_main FALSE)
foreach(source IN LISTS norvexa_api_sources)
  file(STRINGS ${source} defines_main REGEX "intializeEvaluatorFunctions\\(")
  if(defines_main)
    set(norvexa_has_main TRUE)
  endif()
endforeach()

if(norvexa_has_main)
  set(norvexa_def ${CMAKE_CURRENT_SOURCE_DIR}/eval/norvexa.def)
  add_library(norvexa SHARED ${norvexa_objects} ${norvexa_def})
  target_link_libraries(norvexa PUBLIC norvexa_objs)
  set_target_properties(norvexa PROPERTIES PREFIX "")
  target_link_options(norvexa PRIVATE -Wl,--no-undefined -Wl,--gc-sections)
else()
  message(STATUS "norvexa.dll is not built: the api sources hold no plug-in entry yet")
endif()
