# The install layout. Component "program": the desktop program and
# zelmora-calc with their desktop entry, AppStream data, icons, manual
# pages and completion. Component "service": zelmora-service with its
# systemd unit, user, settings file, manual page and completion.
set(ZEL_DOC ${CMAKE_INSTALL_DATADIR}/doc)

install(TARGETS zelmora zelmora-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(FILES resources/zelmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES resources/metainfo/com.halvane.zelmora.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)
install(FILES resources/pictures/app_icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME zelmora.svg COMPONENT program)
# The icon at the theme's usual sizes, drawn by the build as the windows draw it.
set(ZEL_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(ZEL_ICON_SPECS)
set(ZEL_ICONS)
foreach(side 16 24 32 48 64 128 256)
  list(APPEND ZEL_ICON_SPECS app_icon:${side}x${side}:png)
  list(APPEND ZEL_ICONS ${ZEL_ICON_DIR}/app_icon_${side}x${side}.png)
  install(FILES ${ZEL_ICON_DIR}/app_icon_${side}x${side}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps RENAME zelmora.png
          COMPONENT program)
endforeach()
add_custom_command(OUTPUT ${ZEL_ICONS}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:zel_drawpictures> ${CMAKE_SOURCE_DIR}/resources/pictures ${ZEL_ICON_DIR} ${ZEL_ICON_SPECS}
  DEPENDS zel_drawpictures ${CMAKE_SOURCE_DIR}/resources/pictures/app_icon.svg
  COMMENT "Drawing the program's icon for the icon theme")
add_custom_target(zel_icons ALL DEPENDS ${ZEL_ICONS})

# Manual pages, compressed as Debian keeps them.
set(ZEL_MAN_DIR ${CMAKE_BINARY_DIR}/man)
function(zel_man source section component)
  get_filename_component(name ${source} NAME)
  set(packed ${ZEL_MAN_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEL_MAN_DIR}
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" zel_man ${CMAKE_SOURCE_DIR}/${source} ${packed}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    VERBATIM)
  install(FILES ${packed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT ${component})
  set(ZEL_MAN_PAGES ${ZEL_MAN_PAGES} ${packed} PARENT_SCOPE)
endfunction()
set(ZEL_MAN_PAGES)
zel_man(resources/man/zelmora.1 1 program)
zel_man(resources/man/zelmora-calc.1 1 program)
zel_man(service/man/zelmora-service.8 8 service)
# The packages' documentation: copyright and the change log.
set(ZEL_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${ZEL_CHANGELOG}
  COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" zel_changelog ${CMAKE_SOURCE_DIR}/resources/debian/changelog ${ZEL_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/debian/changelog
  VERBATIM)
add_custom_target(zel_man_pages ALL DEPENDS ${ZEL_MAN_PAGES} ${ZEL_CHANGELOG})
foreach(component_package program:zelmora service:zelmora-service)
  string(REPLACE ":" ";" pair ${component_package})
  list(GET pair 0 component)
  list(GET pair 1 package)
  install(FILES resources/debian/copyright ${ZEL_CHANGELOG}
          DESTINATION ${ZEL_DOC}/${package} COMPONENT ${component})
endforeach()

install(FILES resources/completion/zelmora-calc
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT program)

install(TARGETS zelmora-service RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT service)
install(FILES service/completion/zelmora-service
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT service)
# The unit names the executable where this prefix puts it.
file(READ ${CMAKE_SOURCE_DIR}/service/zelmora-service.service ZEL_UNIT)
string(REPLACE "/usr/local/bin/zelmora-service" "${CMAKE_INSTALL_FULL_BINDIR}/zelmora-service" ZEL_UNIT "${ZEL_UNIT}")
file(WRITE ${CMAKE_BINARY_DIR}/zelmora-service.service "${ZEL_UNIT}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/service/zelmora-service.service)
# systemd's own folders under /usr (lib/systemd), whatever the library folder.
install(FILES ${CMAKE_BINARY_DIR}/zelmora-service.service DESTINATION lib/systemd/system COMPONENT service)
install(FILES service/zelmora-service.sysusers DESTINATION lib/sysusers.d RENAME zelmora-service.conf
        COMPONENT service)
install(FILES service/zelmora-service.default DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/default
        RENAME zelmora-service COMPONENT service)
