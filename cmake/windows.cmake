# The Windows products: the surface window, our component runtime, the control library and
# the Windows tests. Included only by a cross build for 32-bit Windows.
add_compile_options(-static)
add_link_options(-static -static-libgcc -static-libstdc++)
foreach(dir platform/win32 runtime/com)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
