# Run by cpack after it has installed the build into its staging folder, before it makes the package.
# Debian keeps the programs of a package of the games section in /usr/games, so velmora and velmora-cli
# move there from /usr/bin; a plain `cmake --install` keeps them in <prefix>/bin, which is on the user's
# PATH whatever the prefix (/usr/local/games is, ~/.local/games is not). Lintian's overrides, which mean
# nothing outside a package, go in here too.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/velmora-cli")
list(LENGTH staged found)
if(NOT found EQUAL 1)
    message(FATAL_ERROR "package: no single bin/velmora-cli in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
get_filename_component(bin "${staged}" DIRECTORY)
get_filename_component(prefix "${bin}" DIRECTORY)

file(MAKE_DIRECTORY "${prefix}/games")
foreach(program velmora velmora-cli)
    if(NOT EXISTS "${bin}/${program}")
        message(FATAL_ERROR "package: ${bin}/${program} is missing")
    endif()
    file(RENAME "${bin}/${program}" "${prefix}/games/${program}")
endforeach()
file(GLOB left "${bin}/*")
if(NOT left)
    file(REMOVE_RECURSE "${bin}") # a package ships no empty folder
endif()

# file(COPY_FILE), not file(INSTALL): cpack's DESTDIR would be put before the staging path.
file(MAKE_DIRECTORY "${prefix}/share/lintian/overrides")
file(COPY_FILE "${CPACK_VELMORA_LINTIAN_OVERRIDES}" "${prefix}/share/lintian/overrides/velmora")
