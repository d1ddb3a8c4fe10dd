# Installs the build into a fresh prefix under ROOT and checks that every file is there, that no map
# is installed where the program reads one, and that
# AppStream accepts the tree (metainfo, desktop entry and icon together), when appstreamcli exists.
file(REMOVE_RECURSE ${ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${ROOT}/usr
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(file
    bin/corvane
    share/applications/it.corvane.demo.desktop
    share/metainfo/it.corvane.demo.metainfo.xml
    share/icons/hicolor/scalable/apps/corvane.svg
    share/icons/hicolor/32x32/apps/corvane.png
    share/icons/hicolor/64x64/apps/corvane.png
    share/corvane/Corvane.ini
    share/corvane/Corvane.en.ini
    share/man/man1/corvane.1.gz
    share/doc/corvane/copyright
    share/doc/corvane/changelog.gz
    lib/udev/rules.d/70-corvane-uinput.rules)
  if(NOT EXISTS ${ROOT}/usr/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
# Only the examples, where the program never reads a map.
file(GLOB_RECURSE inis ${ROOT}/*.ini)
list(REMOVE_ITEM inis ${ROOT}/usr/share/corvane/Corvane.ini ${ROOT}/usr/share/corvane/Corvane.en.ini)
if(inis)
  message(FATAL_ERROR "a map file is installed: ${inis}")
endif()

find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net ${ROOT} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate-tree rejects the installed tree")
  endif()
endif()
