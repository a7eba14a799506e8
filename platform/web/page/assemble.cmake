# Makes the one HTML file Emscripten takes as its shell from the page's parts: every line
# `<!-- include NAME -->` in shell.html becomes the text of NAME beside it, a script without its
# comment lines (they are for the source: every byte of the page is downloaded). Checks nothing
# of the parts' contents beyond what tools/web.sh relies on (its `var packed = {};` line).
# Usage: cmake -DPAGE=platform/web/page -DOUT=build/shell.html -P platform/web/page/assemble.cmake
#        (platform/web/CMakeLists.txt runs it whenever a part changes)
if(NOT PAGE OR NOT OUT)
  message(FATAL_ERROR "assemble.cmake: give -DPAGE=<the parts' folder> -DOUT=<the page to write>")
endif()
file(READ "${PAGE}/shell.html" page)
string(REGEX MATCHALL "<!-- include [A-Za-z0-9_.]+ -->" markers "${page}")
if(NOT markers)
  message(FATAL_ERROR "assemble.cmake: ${PAGE}/shell.html includes nothing")
endif()
foreach(marker IN LISTS markers)
  string(REGEX REPLACE "<!-- include ([A-Za-z0-9_.]+) -->" "\\1" name "${marker}")
  if(NOT EXISTS "${PAGE}/${name}")
    message(FATAL_ERROR "assemble.cmake: shell.html includes ${name}, which ${PAGE} does not have")
  endif()
  file(READ "${PAGE}/${name}" part)
  if(name MATCHES "\\.js$")
    # Whole lines only: a `//` after code may be inside a string or a regular expression.
    string(REGEX REPLACE "(^|\n)[ \t]*//[^\n]*" "" part "${part}")
    string(REGEX REPLACE "^\n" "" part "${part}")
  endif()
  # The part's own last line break; the marker's line keeps its own.
  string(REGEX REPLACE "\n$" "" part "${part}")
  string(REPLACE "${marker}" "${part}" page "${page}")
endforeach()
# tools/web.sh writes the shipped files' sizes into this line, found at a line's start.
string(REGEX MATCH "\n *var packed = {};\n" packed "${page}")
if(NOT packed)
  message(FATAL_ERROR "assemble.cmake: the page has no line 'var packed = {};' for tools/web.sh")
endif()
# Written only when it changes, so that a part saved unchanged links nothing again.
if(EXISTS "${OUT}")
  file(READ "${OUT}" before)
  if(before STREQUAL page)
    return()
  endif()
endif()
file(WRITE "${OUT}" "${page}")
