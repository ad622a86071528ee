# Installs a build into a scratch prefix and checks that every file the package ships is there.
# Run by ctest: cmake -DBUILD=<build folder> -DPREFIX=<scratch folder> -P CheckInstall.cmake
if(NOT BUILD OR NOT PREFIX)
  message(FATAL_ERROR "usage: cmake -DBUILD=DIR -DPREFIX=DIR -P CheckInstall.cmake")
endif()
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
  bin/vistello
  bin/vistello-cli
  share/applications/vistello.desktop
  share/icons/hicolor/scalable/apps/vistello.svg
  share/vistello/BackPic)
foreach(size 16 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/vistello.png)
endforeach()
foreach(path IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

file(GLOB man_page ${PREFIX}/share/man/man1/vistello-cli.1*)
if(NOT man_page)
  message(FATAL_ERROR "not installed: the vistello-cli manual page")
endif()
file(GLOB backgrounds ${PREFIX}/share/vistello/BackPic/*.jpg)
list(LENGTH backgrounds count)
if(count LESS 1)
  message(FATAL_ERROR "no default background pictures installed")
endif()
file(REMOVE_RECURSE ${PREFIX})
message(STATUS "installed layout complete: ${count} background pictures")
