# Install rules: both programs, the desktop entry, icon and AppStream metadata under one
# application id, the manual pages, the shell completion, and the documentation with the examples.
include(GNUInstallDirs)

set(VESK_APP_ID org.vesk.Vesk)
# The pages name the installed examples and README by their full path.
set(VESK_DOC_DIR ${CMAKE_INSTALL_FULL_DOCDIR})
set(VESK_EXAMPLES_DIR ${VESK_DOC_DIR}/examples)

target_compile_definitions(vesk PRIVATE VESK_APP_ID="${VESK_APP_ID}")

set(vesk_packaging ${CMAKE_CURRENT_LIST_DIR})
set(vesk_generated ${CMAKE_BINARY_DIR}/packaging)
configure_file(${vesk_packaging}/vesk.desktop.in ${vesk_generated}/${VESK_APP_ID}.desktop @ONLY)
configure_file(${vesk_packaging}/vesk.metainfo.xml.in ${vesk_generated}/${VESK_APP_ID}.metainfo.xml
               @ONLY)
foreach(page vesk.1 vesk-batch.1)
  configure_file(${vesk_packaging}/man/${page}.in ${vesk_generated}/man/${page} @ONLY)
endforeach()

install(TARGETS vesk vesk-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${vesk_generated}/${VESK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${vesk_packaging}/icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VESK_APP_ID}.svg)
install(FILES ${vesk_generated}/${VESK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${vesk_generated}/man/vesk.1 ${vesk_generated}/man/vesk-batch.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${vesk_packaging}/vesk-batch.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME vesk-batch)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE
              ${vesk_packaging}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
