# Run by the test install_layout: cmake -DBUILD_DIR=... -DPREFIX=... -DBINDIR=... -DDATADIR=... -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(program tavorin-planner tavorin-notes)
  if(NOT EXISTS ${PREFIX}/${BINDIR}/${program} OR IS_DIRECTORY ${PREFIX}/${BINDIR}/${program})
    message(FATAL_ERROR "${program} is not installed in ${PREFIX}/${BINDIR}")
  endif()
endforeach()
foreach(file applications/tavorin-planner.desktop icons/hicolor/scalable/apps/tavorin-planner.svg)
  if(NOT EXISTS ${PREFIX}/${DATADIR}/${file})
    message(FATAL_ERROR "${file} is not installed in ${PREFIX}/${DATADIR}")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
