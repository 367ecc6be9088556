# Two Debian packages by CPack, zelmora and zelmora-service, from the
# install components "program" and "service" (scripts/package.sh builds
# them and gives the program's Depends).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelmora)
set(CPACK_PACKAGE_VENDOR Halvane)
set(CPACK_PACKAGE_CONTACT "Halvane <zelmora@halvane.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_SOURCE_DIR}/dist)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program service)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.halvane.example/")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME zelmora)
# package.sh runs dpkg-shlibdeps over the programs and the carried modules
# together and gives the result as CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION science)
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION "timber volume calculator for round logs and sawn boards
Zelmora gives the cubic metres of round logs (top diameter, length, count)
and sawn boards (width, height, length, count) by the GOST 2708-75 or
ISO 4480-83 table, the taper formula or the machine-rounded cylinder, with
weight, running length and mean diameter, a cubature table, reports, the
lot's acceptance document and a base of saved calculations. zelmora-calc
computes a list on the command line.")

set(CPACK_DEBIAN_SERVICE_PACKAGE_NAME zelmora-service)
set(CPACK_DEBIAN_SERVICE_PACKAGE_SECTION net)
set(CPACK_DEBIAN_SERVICE_PACKAGE_DEPENDS "adduser")
set(CPACK_COMPONENT_SERVICE_DESCRIPTION "maker's web service for the Zelmora program
Issues user IDs, passes messages to users and their replies back, takes
uploaded logs and update statistics, and serves signed updates for the
portable builds of Zelmora, with its administration commands. It runs as
a systemd service of its own, disabled until the maker enables it.")
set(CPACK_DEBIAN_SERVICE_PACKAGE_CONTROL_EXTRA
    ${CMAKE_BINARY_DIR}/debian-service/postinst ${CMAKE_BINARY_DIR}/debian-service/prerm
    ${CMAKE_BINARY_DIR}/debian-service/postrm ${CMAKE_BINARY_DIR}/debian-service/conffiles)
set(CPACK_DEBIAN_SERVICE_PACKAGE_CONTROL_STRICT_PERMISSION ON)
foreach(script postinst prerm postrm conffiles)
  configure_file(${CMAKE_SOURCE_DIR}/resources/debian/service-${script}
                 ${CMAKE_BINARY_DIR}/debian-service/${script} COPYONLY)
endforeach()

include(CPack)
