# Installs the build into a fresh prefix (or takes PREFIX, where packages installed it), then
# configures, builds and runs a separate project against it: with CMake's find_package(Velmora)
# and with pkg-config.
#   cmake (-DBUILD_DIR=... | -DPREFIX=...) -DSOURCE_DIR=... -DWORK_DIR=... -DLIBDIR=...
#         [-DEXTRA_FLAGS=...] [-DCXX=...] -P consumer_test.cmake
file(REMOVE_RECURSE ${WORK_DIR})
if(NOT CXX)
  set(CXX c++)
endif()

function(run)
  execute_process(COMMAND ${ARGN} COMMAND_ECHO STDOUT COMMAND_ERROR_IS_FATAL ANY)
endfunction()

if(DEFINED PREFIX)
  set(prefix ${PREFIX})
else()
  set(prefix ${WORK_DIR}/prefix)
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
endif()
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -DCMAKE_PREFIX_PATH=${prefix}
    "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/core_consumer)
run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${WORK_DIR}/build/widget_consumer)

# The same core program built by hand from the pkg-config file.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/${LIBDIR}/pkgconfig
          pkg-config --cflags --libs velmora
  OUTPUT_VARIABLE pc_flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
separate_arguments(extra UNIX_COMMAND "${EXTRA_FLAGS}")
run(${CXX} -std=c++20 ${extra} ${SOURCE_DIR}/core_consumer.cpp ${pc_flags} -o
    ${WORK_DIR}/core_consumer_pc)
run(${WORK_DIR}/core_consumer_pc)
