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
  file(RELATIVE_PATH _vexlink_pc_up /root/${VEXLINK_PKGCONFIG_DIR} /root)
  string(REGEX REPLACE "/$" "" _vexlink_pc_up "${_vexlink_pc_up}")
  set(VEXLINK_PC_PREFIX "\${pcfiledir}/${_vexlink_pc_up}")
  set(VEXLINK_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(VEXLINK_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${PROJECT_SOURCE_DIR}/packaging/vexlink.pc.in ${PROJECT_BINARY_DIR}/packaging/vexlink.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/vexlink.pc
  DESTINATION ${VEXLINK_PKGCONFIG_DIR} COMPONENT development)

# Programs, each when it is part of this build. They find the library next to them, in the
# install tree's library folder, wherever that tree is.
file(RELATIVE_PATH _vexlink_bin_to_lib /root/${CMAKE_INSTALL_BINDIR} /root/${CMAKE_INSTALL_LIBDIR})
foreach(program gyrodesk korvisor-sim vexlink_cli)
  if(TARGET ${program})
    set_property(TARGET ${program} PROPERTY INSTALL_RPATH "\$ORIGIN/${_vexlink_bin_to_lib}")
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
  endif()
endforeach()

# The console's desktop entry and its icons, named as the entry's Icon key says, each under
# its size (read from the PNG header) in the hicolor theme.
set(_vexlink_res ${PROJECT_SOURCE_DIR}/gyrodesk/res)
if(TARGET gyrodesk AND EXISTS ${_vexlink_res}/gyrodesk.desktop)
  install(FILES ${_vexlink_res}/gyrodesk.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT programs)
  file(STRINGS ${_vexlink_res}/gyrodesk.desktop _vexlink_icon_line REGEX "^Icon=")
  string(REGEX REPLACE "^Icon=" "" _vexlink_icon "${_vexlink_icon_line}")
  if(NOT _vexlink_icon OR _vexlink_icon MATCHES "/")
    set(_vexlink_icon gyrodesk)
  endif()
  file(GLOB _vexlink_icon_files ${_vexlink_res}/${_vexlink_icon}*.png ${_vexlink_res}/${_vexlink_icon}*.svg
                                ${_vexlink_res}/images/${_vexlink_icon}*.png ${_vexlink_res}/images/${_vexlink_icon}*.svg)
  foreach(icon IN LISTS _vexlink_icon_files)
    if(icon MATCHES "\\.svg$")
      install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${_vexlink_icon}.svg COMPONENT programs)
      continue()
    endif()
    file(READ ${icon} _vexlink_png_size OFFSET 16 LIMIT 8 HEX)  # IHDR width and height
    string(SUBSTRING "${_vexlink_png_size}" 0 8 _w)
    string(SUBSTRING "${_vexlink_png_size}" 8 8 _h)
    math(EXPR _w "0x${_w}")
    math(EXPR _h "0x${_h}")
    if(_w GREATER 0 AND _w EQUAL _h)
      install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_w}x${_h}/apps
        RENAME ${_vexlink_icon}.png COMPONENT programs)
    endif()
  endforeach()
endif()
