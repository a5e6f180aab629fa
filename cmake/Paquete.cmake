# Installation and the Debian package (scripts/paquete). The program folder keeps the
# executables, the service library and the report files side by side, as the program finds them
# beside itself; the commands are on the PATH through links in /usr/bin.
set(MIRAVEL_CARPETA /opt/miravel)

add_executable(miravel-icono src/app/icono/main.cpp)
target_link_libraries(miravel-icono PRIVATE miravel-ui)
target_include_directories(miravel-icono PRIVATE ${CMAKE_SOURCE_DIR}/src)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/iconos/256x256/apps/miravel.png
  COMMAND miravel-icono ${CMAKE_BINARY_DIR}/iconos DEPENDS miravel-icono)
configure_file(packaging/miravel-export.1 ${CMAKE_BINARY_DIR}/paquete/miravel-export.1 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/paquete/miravel-export.1.gz
                          ${CMAKE_BINARY_DIR}/paquete/changelog.gz
  COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/paquete/miravel-export.1
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/paquete/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/paquete/miravel-export.1 ${CMAKE_SOURCE_DIR}/packaging/changelog)
add_custom_target(miravel-instalables ALL DEPENDS
  ${CMAKE_BINARY_DIR}/iconos/256x256/apps/miravel.png ${CMAKE_BINARY_DIR}/paquete/miravel-export.1.gz)

set_target_properties(miravel miravel-export tramo5 miravel-platform PROPERTIES
  INSTALL_RPATH "$ORIGIN")
install(TARGETS miravel miravel-export tramo5 miravel-platform
  RUNTIME DESTINATION ${MIRAVEL_CARPETA} LIBRARY DESTINATION ${MIRAVEL_CARPETA})
install(FILES ${MIRAVEL_REPORTES} DESTINATION ${MIRAVEL_CARPETA})
foreach(orden miravel miravel-export)
  file(CREATE_LINK ${MIRAVEL_CARPETA}/${orden} ${CMAKE_BINARY_DIR}/paquete/${orden} SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/paquete/${orden} DESTINATION bin)
endforeach()
install(FILES packaging/miravel.desktop DESTINATION share/applications)
install(DIRECTORY ${CMAKE_BINARY_DIR}/iconos/ DESTINATION share/icons/hicolor)
install(FILES ${CMAKE_BINARY_DIR}/paquete/miravel-export.1.gz DESTINATION share/man/man1)
install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/paquete/changelog.gz
  DESTINATION share/doc/miravel)
install(FILES packaging/lintian-overrides DESTINATION share/lintian/overrides RENAME miravel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME miravel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Miravel)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reportes gráficos de las ventas de Orvalo")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Imprime las ventas netas de tres años por mes, por línea de producto y por\nvendedor, leídas de la base de datos MySQL de Orvalo, y las exporta a PDF,\nPNG, CSV y Excel; miravel-export escribe los mismos reportes sin ventana.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Miravel <soporte@miravel.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
# What is loaded at run time and no binary names: the MySQL driver, the platform plugins, the
# report font and Qt's own Spanish texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-mysql, qt6-qpa-plugins, fonts-dejavu-core, qt6-translations-l10n, xdg-utils")
include(CPack)
