# The user's guide: the HTML pages of doc/guide with their pictures (doc/guide/img). Its contents page
# is the help file velmora.HLP. The pages are written beside the program in the build tree with the
# version filled in (@PROJECT_VERSION@), so that a program run from its build tree finds its guide as an
# installed one finds it in <prefix>/share/velmora.
set(VELMORA_GUIDE_SOURCE ${CMAKE_SOURCE_DIR}/doc/guide)
file(GLOB VELMORA_GUIDE_PAGES CONFIGURE_DEPENDS RELATIVE ${VELMORA_GUIDE_SOURCE}
    ${VELMORA_GUIDE_SOURCE}/*.HLP ${VELMORA_GUIDE_SOURCE}/*.html ${VELMORA_GUIDE_SOURCE}/*.css)
file(GLOB VELMORA_GUIDE_PICTURES CONFIGURE_DEPENDS RELATIVE ${VELMORA_GUIDE_SOURCE} ${VELMORA_GUIDE_SOURCE}/img/*.png)

foreach(page ${VELMORA_GUIDE_PAGES})
    configure_file(${VELMORA_GUIDE_SOURCE}/${page} ${CMAKE_CURRENT_BINARY_DIR}/${page} @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${page} DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora)
endforeach()
foreach(picture ${VELMORA_GUIDE_PICTURES})
    configure_file(${VELMORA_GUIDE_SOURCE}/${picture} ${CMAKE_CURRENT_BINARY_DIR}/${picture} COPYONLY)
endforeach()
install(DIRECTORY ${VELMORA_GUIDE_SOURCE}/img DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora FILES_MATCHING PATTERN "*.png")
