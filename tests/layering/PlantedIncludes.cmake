# Plants one include at a time into a small source tree and runs cmake/CheckLayering.cmake on it:
# each planted line must be refused (or, for the allowed ones, accepted).
#   cmake -DCHECK=<repo>/cmake/CheckLayering.cmake -DWORK_DIR=<scratch folder> -P PlantedIncludes.cmake
cmake_minimum_required(VERSION 3.25)

# file|line|expected (refused or accepted)
set(cases
  "core/Planted.h|#include <QtWidgets/QWidget>|refused"
  "core/Planted.h|#include <QWidget>|refused"
  "core/Planted.h|#include <QtGui/QColor>|refused"
  "core/Planted.h|#include <QtGui>|refused"
  "record/Planted.cpp|#include <QtWidgets/QLineEdit>|refused"
  "instrument/Planted.cpp|#  include <QPrinter>|refused"
  "panel/rules/Planted.cpp|#include <QColor>|refused"
  "panel/Planted.cpp|#include \"instrument/clsDXS4820.h\"|refused"
  "panel/Planted.cpp|#include \"operations/Operations.h\"|refused"
  "help/Planted.cpp|#include \"operations/Operations.h\"|refused"
  "record/Planted.cpp|#include \"panel/Panel.h\"|refused"
  "core/Planted.cpp|#include \"record/RecordFile.h\"|refused"
  "core/Planted.h|#include <QtCore/QString>|accepted"
  "record/Planted.cpp|#include <QFile>|accepted"
  "panel/Planted.cpp|#include <QtWidgets/QWidget>|accepted"
  "panel/Planted.cpp|#include \"record/RecordFile.h\"|accepted"
  "operations/Planted.cpp|#include \"instrument/clsDXS4820.h\"|accepted")

set(failures "")
foreach(row IN LISTS cases)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 file)
  list(GET fields 1 line)
  list(GET fields 2 expected)
  set(tree "${WORK_DIR}/planted")
  file(REMOVE_RECURSE "${tree}")
  foreach(folder core instrument record panel/rules panel operations help app)
    file(WRITE "${tree}/${folder}/Clean.h" "#pragma once\n#include <QString>\n")
  endforeach()
  file(WRITE "${tree}/${file}" "#pragma once\n${line}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -P ${CHECK}
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(result EQUAL 0)
    set(outcome accepted)
  else()
    set(outcome refused)
  endif()
  if(NOT outcome STREQUAL expected)
    list(APPEND failures "  ${file}: '${line}' was ${outcome}, expected ${expected}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK_DIR}/planted")
if(failures)
  list(JOIN failures "\n" report)
  message(FATAL_ERROR "The layering check judged planted includes wrongly:\n${report}")
endif()
