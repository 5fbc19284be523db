# The installed package: headers under include/velmora/, the core (Velmora::Core), the widget
# (Velmora::Qt) when it was built, a CMake package for find_package(Velmora) and pkg-config
# files.
include(CMakePackageConfigHelpers)

set(VELMORA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Velmora)

foreach(folder board entry view control)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/velmora/${folder}
          COMPONENT dev FILES_MATCHING PATTERN "*.h" PATTERN "*.inc")
endforeach()
install(TARGETS velmora_core EXPORT VelmoraCoreTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        COMPONENT dev)
install(EXPORT VelmoraCoreTargets NAMESPACE Velmora:: DESTINATION ${VELMORA_CMAKE_DIR}
        COMPONENT dev)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VelmoraConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/VelmoraConfig.cmake
                              INSTALL_DESTINATION ${VELMORA_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VelmoraConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VelmoraConfig.cmake
              ${PROJECT_BINARY_DIR}/VelmoraConfigVersion.cmake DESTINATION ${VELMORA_CMAKE_DIR}
        COMPONENT dev)

set(velmora_pc_files velmora)
if(VELMORA_WITH_QT)
  list(APPEND velmora_pc_files velmora-qt)
endif()
# Relative to the file itself, so an installed tree can be moved.
file(RELATIVE_PATH VELMORA_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" VELMORA_PC_TO_PREFIX "${VELMORA_PC_TO_PREFIX}")
foreach(pc ${velmora_pc_files})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
          COMPONENT dev)
endforeach()

# Debian packages (cpack -G DEB in the build folder): velmora, the command-line host;
# libvelmora-qt1, the widget's library and its Designer plugin; libvelmora-dev, what a program
# builds against. The demo stays out.
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_CONTACT "Velmora developers <developers@velmora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "an embeddable chess board control")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENTS_ALL cli dev)
set(CPACK_DEBIAN_CLI_PACKAGE_NAME velmora)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION games)
set(CPACK_COMPONENT_CLI_DESCRIPTION "Velmora chess board control: the command-line host")
# The fonts its pictures are drawn with.
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-liberation")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libvelmora-dev)
set(CPACK_COMPONENT_DEV_DESCRIPTION "Velmora chess board control: headers, the core library, the CMake package and pkg-config files")
if(VELMORA_WITH_QT)
  list(APPEND CPACK_COMPONENTS_ALL qt)
  set(CPACK_DEBIAN_QT_PACKAGE_NAME libvelmora-qt${PROJECT_VERSION_MAJOR})
  set(CPACK_DEBIAN_QT_PACKAGE_SECTION libs)
  # Its shlibs file, and the trigger that runs ldconfig.
  set(CPACK_DEBIAN_QT_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_COMPONENT_QT_DESCRIPTION "Velmora chess board control: the Qt 6 widget and its Designer plugin")
  set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
      "qt6-base-dev, libvelmora-qt${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION})")
endif()
include(CPack)
