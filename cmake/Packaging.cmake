# The Debian package: `cpack -G DEB` in the build folder (or `cmake --build build --target package`)
# makes velmora_<version>_amd64.deb from the installation, with the library dependencies computed from
# the binaries by dpkg-shlibdeps. Besides the programs, the guide and the sample data (installed by their
# own folders) it carries the files of packaging/: the AppStream metainfo, the manual pages, the Debian
# changelog, the copyright file and lintian's overrides (each with the reason).
set(VELMORA_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(VELMORA_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)

# The release's date (changelog, metainfo) is the day of the build, or of SOURCE_DATE_EPOCH when it is
# set, so that a rebuild gives the same files.
string(TIMESTAMP VELMORA_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP VELMORA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${VELMORA_PACKAGING}/velmora.metainfo.xml ${VELMORA_PACKAGING_OUT}/org.velmora.Velmora.metainfo.xml
    @ONLY)
install(FILES ${VELMORA_PACKAGING_OUT}/org.velmora.Velmora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog go in compressed (gzip -9n: no name or time stamp inside).
find_program(VELMORA_GZIP gzip REQUIRED)
foreach(source velmora-cli.1 velmora.6 changelog)
    configure_file(${VELMORA_PACKAGING}/${source} ${VELMORA_PACKAGING_OUT}/${source} @ONLY)
    execute_process(COMMAND ${VELMORA_GZIP} -9nf ${VELMORA_PACKAGING_OUT}/${source})
endforeach()
install(FILES ${VELMORA_PACKAGING_OUT}/velmora-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VELMORA_PACKAGING_OUT}/velmora.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${VELMORA_PACKAGING_OUT}/changelog.gz ${VELMORA_PACKAGING}/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora maintainers")
set(CPACK_PACKAGE_CONTACT "Velmora maintainers <maintainers@users.noreply.c-seed-cd88e76c.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The package's own layout: the programs into /usr/games, lintian's overrides.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/PackageLayout.cmake)
set(CPACK_VELMORA_LINTIAN_OVERRIDES ${VELMORA_PACKAGING}/velmora.lintian-overrides)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # velmora_<version>_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mating planner for a horse-racing and breeding simulation")
# The long description (cpack adds the summary line, the leading blanks and the "." of empty lines).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velmora reads the horses and rules of a horse-racing and breeding simulation
from nine data files and evaluates stallion and broodmare pairs: nicks,
interesting and splendid matings, crosses and their effects, danger,
outbreeding and nitro values. It ranks partners by a compatibility value
computed from a point table of the user's own and searches the strongest
chains of matings.

The user interface is Japanese. The package holds the desktop program, the
command-line front end velmora-cli, a user's guide with pictures and a small
invented sample data set.")
include(CPack)
