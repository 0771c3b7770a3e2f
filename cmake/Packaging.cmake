# Installation, all of it in this one file: the library with its SONAME links and public
# headers, a CMake package (find_package(Vexlink) gives Vexlink::vexlink), a pkg-config file, the
# programs that were built with their manual pages, and the console's desktop entry, icons and
# AppStream metadata.
#
# Components, one for each Debian package (debian/rules maps them):
#   runtime      the shared library                                         libvexlink1
#   development  headers, CMake and pkg-config files, the libvexlink.so link  libvexlink-dev
#   console      gyrodesk, its manual page, desktop entry, icons, metadata   gyrodesk
#   tools        vexlink and korvisor-sim with their manual pages, the user unit  vexlink-tools
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

# Programs, each when it is part of this build, with its manual page and its component. They
# find the library in the install tree's library folder, wherever that tree is (a system
# package turns this off with CMAKE_SKIP_INSTALL_RPATH, as its library is on the system path).
# gyrodesk-render is not installed: it renders the README's pictures from the build tree.
string(REGEX REPLACE "[^/]+" ".." _vexlink_bin_up "${CMAKE_INSTALL_BINDIR}")
set(_vexlink_programs
  # target       manual page        component
  gyrodesk       gyrodesk.1         console
  vexlink_cli    vexlink.1          tools
  korvisor-sim   korvisor-sim.1     tools)
while(_vexlink_programs)
  list(POP_FRONT _vexlink_programs program page component)
  if(TARGET ${program})
    set_property(TARGET ${program} PROPERTY INSTALL_RPATH "\$ORIGIN/${_vexlink_bin_up}/${CMAKE_INSTALL_LIBDIR}")
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
    install(FILES ${PROJECT_SOURCE_DIR}/docs/man/${page}
      DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
  endif()
endwhile()

# The systemd user unit that streams in the background (tools/CMakeLists.txt writes it), in the
# user units' folder under the prefix: /usr/lib/systemd/user for a system package.
if(TARGET vexlink_cli)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/systemd/vexlink-stream@.service
    DESTINATION lib/systemd/user COMPONENT tools)
endif()

# The console in the desktop's menus and software centres: its desktop entry, its icon in the
# hicolor theme at the sizes desktops ask for and as a scalable picture (all drawn by
# gyrodesk/res/make_artwork.py), and its AppStream metadata.
if(TARGET gyrodesk)
  set(_vexlink_res ${PROJECT_SOURCE_DIR}/gyrodesk/res)
  install(FILES ${_vexlink_res}/gyrodesk.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT console)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${_vexlink_res}/images/gyrodesk-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
      RENAME gyrodesk.png COMPONENT console)
  endforeach()
  install(FILES ${_vexlink_res}/images/gyrodesk.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT console)
  install(FILES ${_vexlink_res}/org.example.vexlink.gyrodesk.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT console)
endif()
