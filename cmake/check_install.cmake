# Installs the build into a fresh prefix and checks that everything lands in its XDG place and
# that the installed program finds its folders there:
#   cmake -DBUILD=<build dir> -DPREFIX=<empty dir to use> [-DDESKTOP_PROGRAM=ON] -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE error)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${error}")
endif()

set(expected
    bin/gleaner
    share/gleaner-light/images/briefbar.gif
    share/gleaner-light/help/index.html
    share/gleaner-light/help/help.css
    share/gleaner-light/briefs/News.brf
    share/gleaner-light/icons/hicolor/48x48/apps/gleaner-light.png
    share/applications/gleaner-light.desktop
    share/mime/packages/gleaner-light.xml
    share/icons/hicolor/16x16/apps/gleaner-light.png
    share/icons/hicolor/256x256/apps/gleaner-light.png
    share/icons/hicolor/scalable/apps/gleaner-light.svg)
if(DESKTOP_PROGRAM)
  list(APPEND expected bin/gleaner-light)
endif()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The installed gleaner generates a local page; the page refers to the images of the installed
# program directory, which it found beside bin/.
set(work ${PREFIX}/work)
file(MAKE_DIRECTORY ${work})
file(WRITE ${work}/page.htm "<html><title>Page</title><body>Text</body></html>")
set(gleaner ${CMAKE_COMMAND} -E env GLEANER_LIGHT_HOME=${work} ${PREFIX}/bin/gleaner)
foreach(step "new;${work}/check.brf" "add;${work}/check.brf;file://${work}/page.htm"
        "generate;-q;${work}/check.brf")
  execute_process(COMMAND ${gleaner} ${step} RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "installed gleaner ${step} failed: ${error}")
  endif()
endforeach()
file(READ ${work}/0/Brief0.htm summary)
string(FIND "${summary}" "${PREFIX}/share/gleaner-light/images/briefbar.gif" found)
if(found EQUAL -1)
  message(FATAL_ERROR "the summary does not use the installed images:\n${summary}")
endif()
file(REMOVE_RECURSE ${PREFIX})
