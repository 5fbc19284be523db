# The Windows products: the COM base, the surface window, our component toolkit, the control
# library and the Windows tests. Included only by a cross build for Windows, 32- or 64-bit.
# Each function in a section of its own, so the linker leaves out what the library never calls;
# and no run-time type tables: nothing asks a type its name or casts down by it (exceptions still
# carry their types). The core, made before this file is read, takes a section per function too
# (a section per datum would only pad it).
add_compile_options(-static -ffunction-sections -fdata-sections -fno-rtti)
target_compile_options(velmora_core PRIVATE -ffunction-sections -fno-rtti)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
# Optimised for size: the library is a download and a file beside every host.
string(REGEX REPLACE "-O[23]" "-Os" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
# The bitness, as Windows names the target in manifests and type-library keys.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELMORA_WINDOWS_ARCHITECTURE amd64)
else()
  set(VELMORA_WINDOWS_ARCHITECTURE x86)
endif()
# GoogleTest from Debian's sources, cross-built for the Windows test programs.
if(NOT TARGET gtest)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  target_compile_options(gtest PRIVATE -w)
  # The win32 thread model has no std::mutex; the one GoogleTest class built on it comes
  # from our own header instead.
  target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
  target_compile_options(gtest PUBLIC -include ${CMAKE_CURRENT_SOURCE_DIR}/cmake/gtest_win32_notification.h)
  target_compile_options(gtest_main PRIVATE -w)
endif()
foreach(dir runtime/com_base platform/win32 runtime/com products/ocx tests/platform/win32)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
