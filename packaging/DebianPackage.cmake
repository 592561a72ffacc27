# CPack's Debian generator: make package gives orx-viewer_<version>_<arch>.deb
# from the build tree as it is.
#
# dpkg-shlibdeps lists the libraries the two programs link. What it cannot
# see is what Qt and the program load by name at run time: the platform,
# input and print plugins, Qt's Russian translations, and libavformat
# (loaded at the first video export). The packages that hold those files on
# the build system are looked up here; a plugin's package that also holds a
# library the viewer links is listed by dpkg-shlibdeps already.

find_program(DPKG_QUERY dpkg-query)

# owner: the Debian package that holds file, or empty when none does.
function(orx_file_package file owner)
  set(${owner} "" PARENT_SCOPE)
  if(NOT DPKG_QUERY OR NOT EXISTS "${file}")
    return()
  endif()
  file(REAL_PATH "${file}" real)
  foreach(path IN ITEMS "${file}" "${real}")
    execute_process(COMMAND ${DPKG_QUERY} -S "${path}"
      OUTPUT_VARIABLE line RESULT_VARIABLE failed ERROR_QUIET)
    if(NOT failed)
      string(REGEX REPLACE "^([^:,]+).*" "\\1" package "${line}")
      set(${owner} "${package}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

set(linked_packages)
foreach(library IN ITEMS Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
  get_target_property(location ${library} LOCATION)
  orx_file_package("${location}" package)
  list(APPEND linked_packages ${package})
endforeach()

# What the viewer loads on an X11 desktop (QT_DEBUG_PLUGINS=1 shows it): the
# xcb platform, the compose-key input context, the image formats Qt looks
# over when it reads the window icons, and CUPS for the print dialog.
set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
set(depends)
foreach(plugin IN ITEMS platforms/libqxcb.so
                        platforminputcontexts/libcomposeplatforminputcontextplugin.so
                        imageformats/libqjpeg.so imageformats/libqgif.so imageformats/libqico.so
                        printsupport/libcupsprintersupport.so)
  orx_file_package(${qt_plugins}/${plugin} package)
  if(NOT package)
    message(WARNING "No Debian package holds ${qt_plugins}/${plugin}")
  elseif(NOT package IN_LIST linked_packages)
    list(APPEND depends ${package})
  endif()
endforeach()
orx_file_package(${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}/qtbase_ru.qm package)
list(APPEND depends ${package})
list(REMOVE_DUPLICATES depends)
list(JOIN depends ", " depends)

# The libavformat whose major version the export was built against: the
# name export/Libav.cpp loads.
pkg_check_modules(PKG_AVFORMAT REQUIRED libavformat)
string(REGEX MATCH "^[0-9]+" avformat_major "${PKG_AVFORMAT_VERSION}")
pkg_get_variable(avformat_libdir libavformat libdir)
orx_file_package(${avformat_libdir}/libavformat.so.${avformat_major} recommends)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${ORX_PACKAGE})
set(CPACK_PACKAGE_VENDOR "Orx Viewer")
set(CPACK_PACKAGE_CONTACT "${ORX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Lines as the control file shows them (at most 80 characters).
set(CPACK_PACKAGE_DESCRIPTION "\
Orx Viewer opens the archive volumes (.oxa files) of a multi-camera
video-surveillance recorder and plays them as one archive: up to 32 cameras
in a grid of up to 36 cells, forward and backward at any speed or in real
time, frozen, stepped frame by frame, limited to an interval or to kinds of
recording. It saves and prints pictures and exports a fragment of the
archive into new volumes. Its interface is in Russian.

The command-line tool orxtool inspects, verifies and walks volumes, pulls
stills out of them and exports an interval as volumes or as one video per
camera.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${recommends}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Folders the package makes are 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
message(STATUS "Package ${ORX_PACKAGE} ${PROJECT_VERSION}: Depends ${depends} (besides dpkg-shlibdeps'), Recommends ${recommends}")
