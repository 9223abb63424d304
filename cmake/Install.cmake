# What `cmake --install` puts where (GNU layout under the prefix):
#   bin/                      K27, hy3tool, in4tool
#   share/applications/       the desktop entry
#   share/metainfo/           the AppStream metainfo
#   share/icons/hicolor/      the icon, SVG and PNG sizes
#   share/k27/demo/           the demo routes with their sounds, pictures,
#                             plug-ins and settings source
#   share/doc/k27/            the user guide and the plug-in guide
# An installed K27 finds the demo from its own folder by the same relative
# path (app/DemoSettings), so the tree can be moved or packaged as a whole.
set(K27_APP_ID io.github.k27sim.K27)

install(TARGETS K27 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(tool hy3tool in4tool)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${K27_ROOT}/assets/${K27_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${K27_ROOT}/assets/${K27_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${K27_ROOT}/assets/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

install(DIRECTORY ${K27_ROOT}/data/demo/ DESTINATION ${CMAKE_INSTALL_DATADIR}/k27/demo
        PATTERN "make-*" EXCLUDE)

install(FILES ${K27_ROOT}/README.md ${K27_ROOT}/docs/plugins.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/k27)

# The test installs into a temporary DESTDIR and starts the installed K27.
if(K27_BUILD_TESTS AND TARGET hy3tool AND TARGET in4tool)
  add_test(NAME install_tst_Install
           COMMAND bash ${K27_ROOT}/tests/install/install-test.sh ${CMAKE_BINARY_DIR} ${K27_ROOT})
  set_tests_properties(install_tst_Install PROPERTIES LABELS install TIMEOUT 600)
endif()
