# Adds a source folder once it holds a CMakeLists.txt, so folders can be filled one at a time.
function(orvisto_add_optional_subdirectory dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()

# Collects the C++ sources below a folder (re-globbed at build time when files are added).
function(orvisto_collect_sources out dir)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Registers a GoogleTest program with CTest as a few shards rather than one CTest entry per test
# case: every process start of a sanitizer build costs time, and shards still run in parallel.
#   orvisto_add_gtest(target [SHARDS n] [ENVIRONMENT var=value ...])
function(orvisto_add_gtest target)
  cmake_parse_arguments(ARG "" "SHARDS" "ENVIRONMENT" ${ARGN})
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 1)
  endif()
  math(EXPR last "${ARG_SHARDS} - 1")
  foreach(index RANGE 0 ${last})
    set(name ${target})
    if(ARG_SHARDS GREATER 1)
      set(name ${target}.shard${index})
    endif()
    add_test(NAME ${name} COMMAND $<TARGET_FILE:${target}>)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${index};${ARG_ENVIRONMENT}"
      TIMEOUT 300)
  endforeach()
endfunction()
