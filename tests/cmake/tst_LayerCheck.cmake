# The include check of cmake/LayerCheck.cmake, run on a small tree of its
# own, and the model the real build wrote for it.
#   cmake -DK27_ROOT=<source> -DMODEL=<build>/k27-layers.cmake -DWORK=<scratch> -P tst_LayerCheck.cmake
cmake_minimum_required(VERSION 3.25)

set(failures 0)
# expect(<condition as if() takes it> <what it means>)
macro(expect condition what)
  cmake_language(EVAL CODE "if(${condition})\nset(held TRUE)\nelse()\nset(held FALSE)\nendif()")
  if(NOT held)
    message(SEND_ERROR "FAIL: ${what}")
    math(EXPR failures "${failures} + 1")
  endif()
endmacro()

# A tree of four targets: core <- ui <- support, and the program on ui.
file(REMOVE_RECURSE ${WORK})
set(model [=[
set(K27_LC_ROOT "@WORK@")
list(APPEND K27_LC_OWNER_core/a.h core)
list(APPEND K27_LC_OWNER_board/b.h ui)
list(APPEND K27_LC_OWNER_control/c.h ui)
list(APPEND K27_LC_OWNER_platform/doubles/f.h support)
set(K27_LC_TARGETS core ui support app)
set(K27_LC_SOURCES_core core/a.h core/a.cpp)
set(K27_LC_ALLOWED_core core)
set(K27_LC_QT_core Core)
set(K27_LC_SOURCES_ui board/b.h board/b.cpp control/c.h control/c.cpp)
set(K27_LC_ALLOWED_ui ui core)
set(K27_LC_QT_ui Core Gui Widgets)
set(K27_LC_SOURCES_support platform/doubles/f.h)
set(K27_LC_ALLOWED_support support ui core)
set(K27_LC_QT_support Core Gui Widgets)
set(K27_LC_SOURCES_app app/main.cpp)
set(K27_LC_ALLOWED_app app ui core)
set(K27_LC_QT_app Core Gui Widgets)
set(K27_LC_FORBIDDEN_core board control options sound app platform)
set(K27_LC_FORBIDDEN_board sound control options app)
]=])
string(CONFIGURE "${model}" model @ONLY)
file(WRITE ${WORK}/model.cmake "${model}")

function(write_tree)
  file(WRITE ${WORK}/core/a.h "#pragma once\n#include <QtGlobal>\n")
  # A commented-out include is no include.
  file(WRITE ${WORK}/core/a.cpp "#include \"core/a.h\"\n// #include \"board/b.h\"\n#include <QString>\n")
  file(WRITE ${WORK}/board/b.h "#pragma once\n#include \"core/a.h\"\n#include <QtWidgets/QWidget>\n")
  # Found beside the including file.
  file(WRITE ${WORK}/board/b.cpp "#include \"b.h\"\n#include <QtWidgets>\n")
  file(WRITE ${WORK}/control/c.h "#pragma once\n#include \"board/b.h\"\n")
  file(WRITE ${WORK}/control/c.cpp "#include \"control/c.h\"\n")
  file(WRITE ${WORK}/platform/doubles/f.h "#pragma once\n#include \"control/c.h\"\n")
  file(WRITE ${WORK}/app/main.cpp "#include \"control/c.h\"\n#include \"b.h\"\n")
endfunction()

# Runs the check; leaves its exit code and output in result and output.
function(check)
  execute_process(COMMAND ${CMAKE_COMMAND} -DK27_LAYER_MODEL=${WORK}/model.cmake -P ${K27_ROOT}/cmake/LayerCheck.cmake
                  RESULT_VARIABLE r OUTPUT_VARIABLE o ERROR_VARIABLE e)
  set(result ${r} PARENT_SCOPE)
  set(output "${o}${e}" PARENT_SCOPE)
endfunction()

write_tree()
check()
expect("result EQUAL 0" "a tree within its layers passes: ${output}")

# Each fault on its own, in the clean tree: file, appended text, the line
# the report must name, and why.
set(cases
  "core/a.cpp|\n\n#include \"board/b.h\"\n|core/a.cpp:6: #include \"board/b.h\": core includes a header of ui"
  "app/main.cpp|#include \"platform/doubles/f.h\"\n|app/main.cpp:3: #include \"platform/doubles/f.h\": app includes a header of support"
  "board/b.cpp|  #  include \"control/c.h\"\n|board/b.cpp:3: #  include \"control/c.h\": board/ must not include from control/"
  "core/a.h|#include <QtGui/QImage>\n|core/a.h:3: #include <QtGui/QImage>: core includes from QtGui but does not link Qt6::Gui"
  "core/a.cpp|#include <QtWidgets>\n|core/a.cpp:4: #include <QtWidgets>: core includes from QtWidgets")
foreach(c ${cases})
  string(REPLACE "|" ";" parts "${c}")
  list(GET parts 0 file)
  list(GET parts 1 text)
  list(GET parts 2 report)
  write_tree()
  file(APPEND ${WORK}/${file} "${text}")
  check()
  expect("NOT result EQUAL 0" "the check refuses ${report}")
  string(FIND "${output}" "${report}" at)
  expect("at GREATER -1" "the check reports '${report}', not: ${output}")
endforeach()

# The model the build wrote: the doubles belong to the test support only,
# which neither the program nor its layers may include, and k27core may
# include nothing of the layers above it nor Qt's GUI modules.
if(MODEL AND EXISTS ${MODEL})
  include(${MODEL})
  expect("\"${K27_LC_OWNER_platform/doubles/FakeVXB4Res.h}\" STREQUAL \"k27testsupport\""
         "FakeVXB4Res.h belongs to k27testsupport only, not to ${K27_LC_OWNER_platform/doubles/FakeVXB4Res.h}")
  foreach(t K27 k27ui k27platform k27core)
    expect("NOT \"k27testsupport\" IN_LIST K27_LC_ALLOWED_${t}" "${t} may not include the test support")
  endforeach()
  foreach(t k27ui k27platform k27media)
    expect("NOT t IN_LIST K27_LC_ALLOWED_k27core" "k27core may not include ${t}")
  endforeach()
  foreach(m Gui Widgets Multimedia)
    expect("NOT m IN_LIST K27_LC_QT_k27core" "k27core may not include Qt${m}")
  endforeach()
  expect("\"board/Form1.h\" IN_LIST K27_LC_SOURCES_k27ui" "the model lists the sources of k27ui")
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} check(s) failed")
endif()
message(STATUS "LayerCheck: all checks passed")
