# Keeps the layers honest, in two checks.
#
# Links, at configure time (k27_check_layers):
#   k27core links Qt6::Core and nothing else of Qt or of ours;
#   K27 and the layers it is made of never link the test support.
#
# Includes, at build time (k27_add_include_check writes a model of the
# targets; the target k27_include_check runs this file in script mode over
# every source whenever one changes, before anything is compiled):
#   a file may include a header of ours only when the header belongs to its
#   own target or to one the target links (the test doubles, owned by the
#   test support, stay out of K27; a board header stays out of k27core);
#   a file may include <QtModule/...> only when its target links that module;
#   a lower folder never includes a higher one: core/ includes only core/,
#   platform/ only core/ and platform/, and board/ and sound/ neither each
#   other nor control/, options/ or app/.
#
# Script mode: cmake -DK27_LAYER_MODEL=<model> [-DK27_LAYER_STAMP=<file>] -P LayerCheck.cmake

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()

# Folders each folder must not include from (the folders not named here,
# control/, options/, app/ and those outside the program, may include any).
set(K27_FORBIDDEN_INCLUDES_core board control options sound app platform)
set(K27_FORBIDDEN_INCLUDES_platform board control options sound app)
set(K27_FORBIDDEN_INCLUDES_sound board control options app)
set(K27_FORBIDDEN_INCLUDES_board sound control options app)

# Qt's module headers by their short names (<QtWidgets>); <QtGlobal> and
# <QtEndian> are headers of QtCore, not modules.
set(_k27_qt_modules "Core|Gui|Widgets|Multimedia|MultimediaWidgets|Network|Test|TextToSpeech|Concurrent|Svg")

# Every target reachable from target through its link libraries. Qt's own
# targets are included; they are followed only with follow_qt set (to learn
# which Qt modules a target may include from).
function(_k27_link_closure target out)
  set(follow_qt FALSE)
  if(ARGC GREATER 2)
    set(follow_qt ${ARGV2})
  endif()
  set(seen "")
  set(todo ${target})
  while(todo)
    list(POP_FRONT todo t)
    if(NOT TARGET ${t} OR t IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${t})
    if(t MATCHES "^Qt6::" AND NOT follow_qt)
      continue()
    endif()
    get_target_property(type ${t} TYPE)
    set(libs "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${t} LINK_LIBRARIES)
      if(direct)
        list(APPEND libs ${direct})
      endif()
    endif()
    get_target_property(iface ${t} INTERFACE_LINK_LIBRARIES)
    if(iface)
      list(APPEND libs ${iface})
    endif()
    foreach(l ${libs})
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" l "${l}")
      list(APPEND todo ${l})
    endforeach()
  endwhile()
  list(REMOVE_ITEM seen ${target})
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(k27_check_layers)
  _k27_link_closure(k27core core_links)
  list(REMOVE_ITEM core_links k27_options)
  if(NOT core_links STREQUAL "Qt6::Core")
    message(FATAL_ERROR "k27core must link Qt6::Core only, but links: ${core_links}")
  endif()
  if(TARGET K27)
    _k27_link_closure(K27 app_links)
    foreach(forbidden k27testsupport Qt6::Test)
      if(forbidden IN_LIST app_links)
        message(FATAL_ERROR "K27 must not link ${forbidden} (test code in the program)")
      endif()
    endforeach()
  endif()
endfunction()

# Every buildsystem target defined in dir and the folders below it.
function(_k27_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    _k27_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The sources of target as paths relative to K27_ROOT (files outside the
# source tree, generated ones, are left out), and the object libraries whose
# objects it takes in.
function(_k27_target_sources target out_sources out_objects)
  get_target_property(dir ${target} SOURCE_DIR)
  set(all "")
  foreach(property SOURCES INTERFACE_SOURCES)
    get_target_property(s ${target} ${property})
    if(s)
      list(APPEND all ${s})
    endif()
  endforeach()
  set(sources "")
  set(objects "")
  foreach(s ${all})
    if(s MATCHES "^\\$<TARGET_OBJECTS:(.+)>$")
      list(APPEND objects ${CMAKE_MATCH_1})
      continue()
    elseif(s MATCHES "\\$<")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH s BASE_DIRECTORY ${dir} NORMALIZE OUTPUT_VARIABLE abs)
    cmake_path(IS_PREFIX K27_ROOT "${abs}" NORMALIZE inside)
    cmake_path(IS_PREFIX CMAKE_BINARY_DIR "${abs}" NORMALIZE generated)
    if(inside AND NOT generated AND abs MATCHES "\\.(c|cc|cpp|h|hpp)$")
      cmake_path(RELATIVE_PATH abs BASE_DIRECTORY ${K27_ROOT} OUTPUT_VARIABLE rel)
      list(APPEND sources ${rel})
    endif()
  endforeach()
  set(${out_sources} ${sources} PARENT_SCOPE)
  set(${out_objects} ${objects} PARENT_SCOPE)
endfunction()

# Writes the model of every target of ours (its sources, the targets whose
# headers it may include, the Qt modules it links) and adds the target that
# checks the includes against it.
function(k27_add_include_check)
  _k27_targets_below(${K27_ROOT} targets)
  set(model "set(K27_LC_ROOT \"${K27_ROOT}\")\n")
  set(checked "")
  set(all_sources "")
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|INTERFACE_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    _k27_target_sources(${t} sources objects_${t})
    set(sources_${t} ${sources})
    # Headers belong to the libraries that list them; an executable owns none.
    if(NOT type STREQUAL "EXECUTABLE")
      foreach(s ${sources})
        if(s MATCHES "\\.(h|hpp)$")
          string(APPEND model "list(APPEND K27_LC_OWNER_${s} ${t})\n")
        endif()
      endforeach()
    endif()
    if(sources AND NOT type STREQUAL "INTERFACE_LIBRARY")
      list(APPEND checked ${t})
      list(APPEND all_sources ${sources})
    endif()
  endforeach()
  foreach(t ${checked})
    _k27_link_closure(${t} closure TRUE)
    set(allowed ${t} ${closure})
    # A library made of an object library's objects owns its headers too.
    foreach(a ${allowed})
      if(objects_${a})
        list(APPEND allowed ${objects_${a}})
      endif()
    endforeach()
    set(qt "Core")
    foreach(a ${allowed})
      if(a MATCHES "^Qt6?::(.+)$")
        list(APPEND qt ${CMAKE_MATCH_1})
      endif()
    endforeach()
    list(FILTER allowed EXCLUDE REGEX "^Qt6?::")
    list(REMOVE_DUPLICATES allowed)
    list(REMOVE_DUPLICATES qt)
    string(APPEND model "set(K27_LC_SOURCES_${t} ${sources_${t}})\n"
                        "set(K27_LC_ALLOWED_${t} ${allowed})\n" "set(K27_LC_QT_${t} ${qt})\n")
  endforeach()
  string(APPEND model "set(K27_LC_TARGETS ${checked})\n")
  foreach(folder core platform sound board)
    string(APPEND model "set(K27_LC_FORBIDDEN_${folder} ${K27_FORBIDDEN_INCLUDES_${folder}})\n")
  endforeach()

  set(model_file ${PROJECT_BINARY_DIR}/k27-layers.cmake)
  file(CONFIGURE OUTPUT ${model_file} CONTENT "${model}" @ONLY)
  list(REMOVE_DUPLICATES all_sources)
  list(TRANSFORM all_sources PREPEND ${K27_ROOT}/)
  set(stamp ${PROJECT_BINARY_DIR}/k27-layers.checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DK27_LAYER_MODEL=${model_file} -DK27_LAYER_STAMP=${stamp} -P
            ${K27_ROOT}/cmake/LayerCheck.cmake
    DEPENDS ${all_sources} ${model_file} ${K27_ROOT}/cmake/LayerCheck.cmake
    COMMENT "Checking that no file includes from a layer above its own"
    VERBATIM)
  add_custom_target(k27_include_check ALL DEPENDS ${stamp})
  # Nothing of ours compiles before the check has passed.
  add_dependencies(k27core k27_include_check)
endfunction()

# Script mode: check every source of the model. Prints every offending
# include as file:line, then fails.
function(_k27_check_includes model)
  include(${model})
  set(errors "")
  foreach(t ${K27_LC_TARGETS})
    foreach(src ${K27_LC_SOURCES_${t}})
      file(STRINGS ${K27_LC_ROOT}/${src} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
      if(NOT lines)
        continue()
      endif()
      # file(STRINGS) gives no line numbers: count them in the whole text.
      file(READ ${K27_LC_ROOT}/${src} text)
      cmake_path(GET src PARENT_PATH src_dir)
      string(REGEX MATCH "^[^/]+" src_folder "${src}")
      foreach(line ${lines})
        set(header "")
        set(reason "")
        if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
          set(inc ${CMAKE_MATCH_1})
          # Found beside the including file first, then from the root.
          if(src_dir AND EXISTS ${K27_LC_ROOT}/${src_dir}/${inc})
            set(header ${src_dir}/${inc})
          else()
            set(header ${inc})
          endif()
          cmake_path(NORMAL_PATH header)
          string(REGEX MATCH "^[^/]+" inc_folder "${header}")
          if(DEFINED K27_LC_OWNER_${header})
            set(owners ${K27_LC_OWNER_${header}})
            set(ok FALSE)
            foreach(o ${owners})
              if(o IN_LIST K27_LC_ALLOWED_${t})
                set(ok TRUE)
              endif()
            endforeach()
            if(NOT ok)
              list(JOIN owners ", " owners)
              set(reason "${t} includes a header of ${owners}, which it does not link")
            endif()
          endif()
          if(NOT reason AND header MATCHES "/" AND DEFINED K27_LC_FORBIDDEN_${src_folder}
             AND inc_folder IN_LIST K27_LC_FORBIDDEN_${src_folder})
            set(reason "${src_folder}/ must not include from ${inc_folder}/")
          endif()
        else()
          set(module "")
          if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<Qt([A-Za-z]+)/")
            set(module ${CMAKE_MATCH_1})
          elseif(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<Qt(${_k27_qt_modules})>")
            set(module ${CMAKE_MATCH_1})
          endif()
          if(module AND NOT module IN_LIST K27_LC_QT_${t})
            set(header "Qt${module}")
            set(reason "${t} includes from Qt${module} but does not link Qt6::${module}")
          endif()
        endif()
        if(reason)
          # The line itself, not the same words in a comment before it.
          string(FIND "\n${text}\n" "\n${line}\n" at)
          string(SUBSTRING "${text}" 0 ${at} before)
          string(REGEX MATCHALL "\n" breaks "${before}")
          list(LENGTH breaks number)
          math(EXPR number "${number} + 1")
          string(STRIP "${line}" shown)
          string(APPEND errors "  ${src}:${number}: ${shown}: ${reason}\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(errors)
    message(FATAL_ERROR "Includes across the layers:\n${errors}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(NOT K27_LAYER_MODEL)
    message(FATAL_ERROR "usage: cmake -DK27_LAYER_MODEL=<model> [-DK27_LAYER_STAMP=<file>] -P LayerCheck.cmake")
  endif()
  _k27_check_includes(${K27_LAYER_MODEL})
  if(K27_LAYER_STAMP)
    file(TOUCH ${K27_LAYER_STAMP})
  endif()
endif()
