# Build speed: precompiled headers and unity batches for every target of the tree, present and
# future. `lumora_speed_up_targets()` runs once at the end of the top CMakeLists, when every folder
# has made its targets, so targets and sources that the globs pick up later get the same treatment.
#
#   LUMORA_PCH          precompile the standard and stand-in headers that nearly every file includes
#   LUMORA_UNITY        compile the sources of each folder in batches (unity build)
#   LUMORA_UNITY_BATCH  this many files in one batch on average (a folder of n files has ceil(n/N) batches)
#
# A file or folder is kept out of batching by a unity-exclude.txt in its folder: one file name or
# pattern per line (`*` for the whole folder), `#` starts a comment. A target is left alone
# entirely by setting its LUMORA_PLAIN property (tools and generated tables).

option(LUMORA_PCH "Precompile the common headers" ON)
option(LUMORA_UNITY "Compile the sources of each folder in batches" ON)
set(LUMORA_UNITY_BATCH 8 CACHE STRING "Files per unity batch, on average")

# The compiler launcher: ccache when present, and the fallback that compiles a batch file by file
# when its files do not compile together.
set(_launcher ${CMAKE_CURRENT_LIST_DIR}/../scripts/compiler-launcher)
if(CCACHE_PROGRAM)
  list(APPEND _launcher ${CCACHE_PROGRAM})
endif()
set(CMAKE_C_COMPILER_LAUNCHER ${_launcher})
set(CMAKE_CXX_COMPILER_LAUNCHER ${_launcher})

if(LUMORA_PCH)
  # A header that cannot be used is otherwise dropped without a word, and the build is slow.
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Winvalid-pch>)
endif()

# What the precompiled headers hold: the standard headers most files include, and the umbrella
# headers of the stand-in (the framework includes the whole Win32 API).
set(LUMORA_PCH_HEADERS
  <algorithm> <atomic> <cmath> <cstdint> <cstdio> <cstdlib> <cstring> <functional> <map> <memory>
  <mutex> <optional> <string> <string_view> <thread> <utility> <vector>
  ${CMAKE_SOURCE_DIR}/platform/win32/windows.h ${CMAKE_SOURCE_DIR}/platform/afx/afx.h)
set(LUMORA_PCH_TEST_HEADERS <gtest/gtest.h>)

# Every buildsystem target made in `dir` and its subfolders.
function(_lumora_targets_in out dir)
  get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    _lumora_targets_in(more ${sub})
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# The target whose precompiled header `tgt` reuses. GCC takes a header only into compiles with the
# same code model, so libraries (-fPIC) and programs (-fPIE) each have their own; tests add gtest.
function(_lumora_pch_donor out tgt)
  get_target_property(type ${tgt} TYPE)
  get_target_property(links ${tgt} LINK_LIBRARIES)
  set(kind code)
  if(links AND "lumora_testsupport" IN_LIST links)
    set(kind test)
  endif()
  set(model lib)
  if(type STREQUAL "EXECUTABLE")
    set(model exe)
  endif()
  set(donor lumora_pch_${kind}_${model})
  if(NOT TARGET ${donor})
    set(stub ${CMAKE_BINARY_DIR}/generated/pch_stub.cpp)
    if(NOT EXISTS ${stub})
      file(WRITE ${stub} "")
    endif()
    add_library(${donor} OBJECT ${stub})
    if(kind STREQUAL "test")
      target_link_libraries(${donor} PRIVATE lumora_testsupport)
      target_precompile_headers(${donor} PRIVATE ${LUMORA_PCH_HEADERS} ${LUMORA_PCH_TEST_HEADERS})
    else()
      # The stand-in's headers, without a link to it (the stand-in itself uses this header).
      target_include_directories(${donor} PRIVATE $<TARGET_PROPERTY:vexplatform,INTERFACE_INCLUDE_DIRECTORIES>)
      target_compile_definitions(${donor} PRIVATE $<TARGET_PROPERTY:vexplatform,INTERFACE_COMPILE_DEFINITIONS>)
      target_compile_options(${donor} PRIVATE $<TARGET_PROPERTY:vexplatform,INTERFACE_COMPILE_OPTIONS>)
      target_precompile_headers(${donor} PRIVATE ${LUMORA_PCH_HEADERS})
    endif()
    if(model STREQUAL "exe")
      # An object library is compiled as library code; programs are position-independent executables.
      set_target_properties(${donor} PROPERTIES POSITION_INDEPENDENT_CODE OFF)
      target_compile_options(${donor} PRIVATE -fPIE)
    endif()
  endif()
  set(${out} ${donor} PARENT_SCOPE)
endfunction()

# The patterns of `dir`'s unity-exclude.txt as regular expressions (read once per folder).
function(_lumora_unity_patterns out dir)
  string(MD5 key ${dir})
  get_property(known GLOBAL PROPERTY _lumora_unity_read_${key} SET)
  if(NOT known)
    set(regexes)
    if(EXISTS ${dir}/unity-exclude.txt)
      file(STRINGS ${dir}/unity-exclude.txt lines)
      foreach(line ${lines})
        string(REGEX REPLACE "#.*" "" pattern "${line}")
        string(STRIP "${pattern}" pattern)
        if(NOT pattern STREQUAL "")
          # File-name patterns: `*` and `?` as in the shell.
          string(REGEX REPLACE "([][.+^$(){}|\\\\])" "\\\\\\1" regex "${pattern}")
          string(REPLACE "*" ".*" regex "${regex}")
          string(REPLACE "?" "." regex "${regex}")
          list(APPEND regexes "^${regex}$")
        endif()
      endforeach()
    endif()
    set_property(GLOBAL PROPERTY _lumora_unity_read_${key} "${regexes}")
  endif()
  get_property(regexes GLOBAL PROPERTY _lumora_unity_read_${key})
  set(${out} "${regexes}" PARENT_SCOPE)
endfunction()

# True when `file` is marked out of batching by its folder's unity-exclude.txt.
function(_lumora_unity_excluded out file)
  get_filename_component(dir ${file} DIRECTORY)
  get_filename_component(name ${file} NAME)
  _lumora_unity_patterns(regexes ${dir})
  foreach(regex ${regexes})
    if(name MATCHES "${regex}")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# `src` of a target made in `srcdir` as an absolute path when it is a file of the source tree
# (not generated, not in a build folder), else "".
function(_lumora_tree_file out src srcdir)
  set(${out} "" PARENT_SCOPE)
  if(src MATCHES "^\\$<")
    return()
  endif()
  get_filename_component(src ${src} ABSOLUTE BASE_DIR ${srcdir})
  string(FIND "${src}" "${CMAKE_SOURCE_DIR}/" in_tree)
  string(FIND "${src}" "${CMAKE_BINARY_DIR}/" in_build)
  if(in_tree EQUAL 0 AND NOT in_build EQUAL 0)
    set(${out} ${src} PARENT_SCOPE)
  endif()
endfunction()

# Puts the C++ sources of `tgt` into batches of LUMORA_UNITY_BATCH files on average, of one folder each.
# A file's batch follows from its name alone (the batch whose hash with the name is highest), so
# that a file added to or removed from a folder moves few others: their batches are found again in
# ccache, and a batch that compiled keeps compiling.
function(_lumora_unity_batches tgt)
  get_target_property(sources ${tgt} SOURCES)
  get_target_property(srcdir ${tgt} SOURCE_DIR)
  set(dirs)
  foreach(src ${sources})
    _lumora_tree_file(src "${src}" ${srcdir})
    if(NOT src MATCHES "\\.(cpp|cc|cxx)$")
      continue()  # generated, or not C++
    endif()
    _lumora_unity_excluded(excluded ${src})
    if(excluded)
      set_source_files_properties(${src} TARGET_DIRECTORY ${tgt} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
      continue()
    endif()
    get_filename_component(dir ${src} DIRECTORY)
    string(MD5 key ${dir})
    list(APPEND dirs ${dir})
    list(APPEND _files_${key} ${src})
  endforeach()
  list(REMOVE_DUPLICATES dirs)
  set(batched FALSE)
  foreach(dir ${dirs})
    string(MD5 key ${dir})
    set(files ${_files_${key}})
    list(SORT files)
    list(LENGTH files n)
    if(n LESS 2)
      continue()
    endif()
    math(EXPR last "(${n} + ${LUMORA_UNITY_BATCH} - 1) / ${LUMORA_UNITY_BATCH} - 1")
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${dir})
    string(MAKE_C_IDENTIFIER "${rel}" group)
    foreach(f ${files})
      get_filename_component(name ${f} NAME)
      set(best 0)
      set(highest "")
      foreach(b RANGE 0 ${last})
        string(MD5 hash "${name}/${b}")
        if(hash STRGREATER highest)
          set(best ${b})
          set(highest ${hash})
        endif()
      endforeach()
      set_source_files_properties(${f} TARGET_DIRECTORY ${tgt} PROPERTIES UNITY_GROUP ${group}_${best})
    endforeach()
    set(batched TRUE)
  endforeach()
  if(batched)
    set_target_properties(${tgt} PROPERTIES UNITY_BUILD ON UNITY_BUILD_MODE GROUP)
    # In a batch every file is an included one, so GCC takes a class of a file that derives from a
    # type of the file's anonymous namespace (a test fixture) for one of a header.
    target_compile_options(${tgt} PRIVATE $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CXX_COMPILER_ID:GNU>>:-Wno-subobject-linkage>)
  endif()
endfunction()

function(lumora_speed_up_targets)
  _lumora_targets_in(targets ${CMAKE_SOURCE_DIR})
  # A new or edited unity-exclude.txt takes effect at the next build; it is looked for in the
  # top folders of the tree that hold sources.
  set(tops)
  foreach(tgt ${targets})
    get_target_property(sources ${tgt} SOURCES)
    get_target_property(srcdir ${tgt} SOURCE_DIR)
    foreach(src ${sources})
      _lumora_tree_file(src "${src}" ${srcdir})
      if(src)
        file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${src})
        string(REGEX REPLACE "/.*" "" top "${rel}")
        list(APPEND tops ${top})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES tops)
  set(globs)
  foreach(top ${tops})
    list(APPEND globs ${CMAKE_SOURCE_DIR}/${top}/unity-exclude.txt)
  endforeach()
  file(GLOB_RECURSE marks CONFIGURE_DEPENDS ${globs})
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${marks})

  foreach(tgt ${targets})
    get_target_property(type ${tgt} TYPE)
    get_target_property(plain ${tgt} LUMORA_PLAIN)
    if(plain OR NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$"
       OR tgt MATCHES "^lumora_pch_")
      continue()
    endif()
    if(LUMORA_PCH)
      _lumora_pch_donor(donor ${tgt})
      target_precompile_headers(${tgt} REUSE_FROM ${donor})
    endif()
    if(LUMORA_UNITY)
      _lumora_unity_batches(${tgt})
    endif()
  endforeach()
endfunction()
