# Build step for one carried module (cmake -P): the image the program
# carries, stripped of its debugging information; that information kept
# under build/debug/.build-id/, where gdb and perf look for it by the
# module's build-id (set debug-file-directory to build/debug); and the list
# of shared libraries the module needs, for packaging.
#   -DMODULE=<built module> -DIMAGE=<image> -DDEBUG_DIR=<dir> -DNEEDS=<file>
# Needs OBJCOPY and READELF too.
execute_process(COMMAND ${READELF} -n ${MODULE} OUTPUT_VARIABLE notes COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "Build ID: ([0-9a-f]+)" match "${notes}")
if(NOT CMAKE_MATCH_1)
  message(FATAL_ERROR "${MODULE} has no build-id")
endif()
string(SUBSTRING ${CMAKE_MATCH_1} 0 2 head)
string(SUBSTRING ${CMAKE_MATCH_1} 2 -1 tail)
file(MAKE_DIRECTORY ${DEBUG_DIR}/.build-id/${head})
execute_process(COMMAND ${OBJCOPY} --only-keep-debug ${MODULE} ${DEBUG_DIR}/.build-id/${head}/${tail}.debug
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${OBJCOPY} --strip-debug ${MODULE} ${IMAGE} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${READELF} -d ${MODULE} OUTPUT_VARIABLE dynamic COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" needed "${dynamic}")
set(list "")
foreach(entry ${needed})
  string(REGEX REPLACE "Shared library: \\[([^]]+)\\]" "\\1" name "${entry}")
  string(APPEND list "${name}\n")
endforeach()
file(WRITE ${NEEDS} "${list}")
