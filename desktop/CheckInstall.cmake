# SPDX-License-Identifier: GPL-3.0-or-later
# Run by the test install_layout:
# cmake -DBUILD_DIR=... -DPREFIX=... -DBINDIR=... -DDATADIR=... -DMANDIR=... -DPLANNER_ID=... -P CheckInstall.cmake
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
set(icons ${DATADIR}/icons/hicolor/scalable/apps/${PLANNER_ID}.svg)
foreach(size IN LISTS ICON_SIZES)
  list(APPEND icons ${DATADIR}/icons/hicolor/${size}x${size}/apps/${PLANNER_ID}.png)
endforeach()
set(completions ${DATADIR}/bash-completion/completions/tavorin-notes ${DATADIR}/zsh/vendor-completions/_tavorin-notes
                ${DATADIR}/fish/vendor_completions.d/tavorin-notes.fish)
foreach(file ${DATADIR}/applications/${PLANNER_ID}.desktop ${icons} ${completions}
             ${DATADIR}/metainfo/${PLANNER_ID}.metainfo.xml ${MANDIR}/man1/tavorin-planner.1.gz ${MANDIR}/man1/tavorin-notes.1.gz)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "${file} is not installed in ${PREFIX}")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
