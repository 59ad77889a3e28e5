# The Windows programs in one folder, as the installer and the zip hold it:
# the programs, the Qt libraries and the plugins they load (the platform,
# the style, SVG and ICO images, SVG icons), the compiler's runtime, a
# qt.conf that keeps Qt to that folder, the licence and the README.
find_package(Qt6 REQUIRED COMPONENTS Svg)
set(qt_bin ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})

install(TARGETS travenor travenor-demo travenor-cli RUNTIME DESTINATION .)
foreach(module Core Gui Widgets PrintSupport SerialPort Svg)
  install(FILES ${qt_bin}/Qt6${module}.dll DESTINATION .)
endforeach()
install(FILES ${qt_plugins}/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${qt_plugins}/styles/qwindowsvistastyle.dll DESTINATION styles)
install(FILES ${qt_plugins}/imageformats/qsvg.dll ${qt_plugins}/imageformats/qico.dll
  DESTINATION imageformats)
install(FILES ${qt_plugins}/iconengines/qsvgicon.dll DESTINATION iconengines)
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
    OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS "${runtime_path}")
    message(FATAL_ERROR "the compiler's ${runtime} is not to be found")
  endif()
  install(FILES ${runtime_path} DESTINATION .)
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/qt.conf DESTINATION .)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES README.md DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Travenor)
set(CPACK_PACKAGE_FILE_NAME travenor-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_EXECUTABLES travenor Travenor travenor-demo "Travenor demo")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Travenor)
set(CPACK_NSIS_DISPLAY_NAME Travenor)
set(CPACK_NSIS_MUI_ICON ${CMAKE_CURRENT_LIST_DIR}/travenor.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_CURRENT_LIST_DIR}/travenor.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME travenor.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit setup program for a 64-bit program: one that runs where no 32-bit
# subsystem is (a Wine without it included).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
# The setup program is named as such; the zip keeps the plain name.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackageNames.cmake)
