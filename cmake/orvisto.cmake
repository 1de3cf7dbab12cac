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
