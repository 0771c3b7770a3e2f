# Installation: the library with its SONAME links and public headers, a CMake package
# (find_package(Vexlink) gives Vexlink::vexlink), a pkg-config file, the programs that were
# built, and the console's desktop entry and icons.
#
# Components: "runtime" (the shared library), "development" (headers, CMake and pkg-config
# files, the libvexlink.so link), "programs" (gyrodesk, korvisor-sim, vexlink, desktop files).
include(CMakePackageConfigHelpers)

set(VEXLINK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vexlink)
set(VEXLINK_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS vexlink EXPORT VexlinkTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
file(GLOB VEXLINK_PUBLIC_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/vexlink/include/vexlink/*.h)
install(FILES ${VEXLINK_PUBLIC_HEADERS}
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vexlink COMPONENT development)

install(EXPORT VexlinkTargets NAMESPACE Vexlink:: FILE VexlinkTargets.cmake
  DESTINATION ${VEXLINK_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/packaging/VexlinkConfig.cmake.in
  ${PROJECT_BINARY_DIR}/packaging/VexlinkConfig.cmake
  INSTALL_DESTINATION ${VEXLINK_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/packaging/VexlinkConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/packaging/VexlinkConfig.cmake
              ${PROJECT_BINARY_DIR}/packaging/VexlinkConfigVersion.cmake
  DESTINATION ${VEXLINK_CMAKE_DIR} COMPONENT development)

# The pkg-config file finds its prefix from where it lies, so that the installed tree can be
# moved (or installed with --prefix or DESTDIR) without rewriting it.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(VEXLINK_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(VEXLINK_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
  set(VEXLINK_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
  # One ".." for each folder of the pkg-config directory below the prefix.
  string(REGEX REPLACE "[^/]+" ".." _vexlink_pc_up "${VEXLINK_PKGCONFIG_DIR}")
  set(VEXLINK_PC_PREFIX "\${pcfiledir}/${_vexlink_pc_up}")
  set(VEXLINK_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(VEXLINK_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${PROJECT_SOURCE_DIR}/packaging/vexlink.pc.in ${PROJECT_BINARY_DIR}/packaging/vexlink.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/vexlink.pc
  DESTINATION ${VEXLINK_PKGCONFIG_DIR} COMPONENT development)

# Programs. They find the library next to them, in the install tree's library folder,
# wherever that tree is.
string(REGEX REPLACE "[^/]+" ".." _vexlink_bin_up "${CMAKE_INSTALL_BINDIR}")
set(_vexlink_programs korvisor-sim vexlink_cli)
if(VEXLINK_BUILD_GYRODESK)
  list(APPEND _vexlink_programs gyrodesk)
endif()
foreach(program IN LISTS _vexlink_programs)
  set_property(TARGET ${program} PROPERTY INSTALL_RPATH "\$ORIGIN/${_vexlink_bin_up}/${CMAKE_INSTALL_LIBDIR}")
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
endforeach()

# The console's desktop entry and its icons, named as the entry's Icon key says (gyrodesk),
# each under its size in the hicolor theme.
if(VEXLINK_BUILD_GYRODESK)
  set(_vexlink_res ${PROJECT_SOURCE_DIR}/gyrodesk/res)
  install(FILES ${_vexlink_res}/gyrodesk.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT programs)
  foreach(size 16 32)
    install(FILES ${_vexlink_res}/images/gyrodesk-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
      RENAME gyrodesk.png COMPONENT programs)
  endforeach()
endif()
