# norvexa.dll: the plug-in for Windows, from the same objects as the Linux
# library plus the COBOL grammar and the plug-in's main, less the files of
# entry points a host reaches by name only: the DLL exports `main` alone
# (its .def file; NORVEXA_API is empty here), so nothing could reach them.
# Sections that main does not reach are dropped at link time.
set(norvexa_by_name_only "")
foreach(file ByNameEntryPoints LocalsEntryPoints TypeQueryEntryPoints ClassQueryEntryPoints
             SharedVariableEntryPoints NameBuilders NodeName ActionEntryPoints ResultAddresses
             TreeNodeRelease TreeNodeFormatUnlimited TypeResultRelease ExpressionReset ConditionTest
             ErrorTexts)
  list(APPEND norvexa_by_name_only ${norvexa_root}/api/${file}.cpp)
endforeach()

file(GLOB norvexa_dll_api_sources CONFIGURE_DEPENDS ${norvexa_root}/api/*.cpp)
list(REMOVE_ITEM norvexa_dll_api_sources ${norvexa_by_name_only})
add_library(norvexa_dll_api OBJECT ${norvexa_dll_api_sources})
target_link_libraries(norvexa_dll_api PUBLIC norvexa_api)
set(norvexa_dll_objects ${norvexa_objects})
list(REMOVE_ITEM norvexa_dll_objects $<TARGET_OBJECTS:norvexa_api>)

set(norvexa_def ${CMAKE_CURRENT_SOURCE_DIR}/eval/norvexa.def)
add_library(norvexa SHARED ${norvexa_dll_objects} $<TARGET_OBJECTS:norvexa_dll_api>
  ${CMAKE_CURRENT_SOURCE_DIR}/eval/plugin/PluginMain.cpp ${norvexa_def})
target_link_libraries(norvexa PUBLIC norvexa_objs)
set_target_properties(norvexa PROPERTIES PREFIX "" LINK_DEPENDS ${norvexa_def})
target_link_options(norvexa PRIVATE -Wl,--no-undefined -Wl,--gc-sections)
