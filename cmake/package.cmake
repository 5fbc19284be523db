# The installed package: headers under include/velmora/, the core (Velmora::Core), the widget
# (Velmora::Qt) when it was built, a CMake package for find_package(Velmora) and pkg-config
# files.
include(CMakePackageConfigHelpers)

set(VELMORA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Velmora)

foreach(folder board entry view control)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/velmora/${folder}
          FILES_MATCHING PATTERN "*.h" PATTERN "*.inc")
endforeach()
install(TARGETS velmora_core EXPORT VelmoraCoreTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT VelmoraCoreTargets NAMESPACE Velmora:: DESTINATION ${VELMORA_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VelmoraConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/VelmoraConfig.cmake
                              INSTALL_DESTINATION ${VELMORA_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VelmoraConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VelmoraConfig.cmake
              ${PROJECT_BINARY_DIR}/VelmoraConfigVersion.cmake DESTINATION ${VELMORA_CMAKE_DIR})

set(velmora_pc_files velmora)
if(VELMORA_WITH_QT)
  list(APPEND velmora_pc_files velmora-qt)
endif()
# Relative to the file itself, so an installed tree can be moved.
file(RELATIVE_PATH VELMORA_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" VELMORA_PC_TO_PREFIX "${VELMORA_PC_TO_PREFIX}")
foreach(pc ${velmora_pc_files})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
