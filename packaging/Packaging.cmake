# Installing and the Debian package: the program, its menu entry and its icon in the hicolor
# sizes, drawn at build time by the same code that gives the windows their icon.

add_executable(talvor_icons packaging/icons/main.cpp)
target_link_libraries(talvor_icons PRIVATE talvor_ui)
set(icon_dir ${CMAKE_BINARY_DIR}/icons/hicolor)
add_custom_command(OUTPUT ${icon_dir}/256x256/apps/talvor.png
  COMMAND talvor_icons ${icon_dir}
  DEPENDS talvor_icons
  COMMENT "Drawing the program's icon")
add_custom_target(talvor_icon_files ALL DEPENDS ${icon_dir}/256x256/apps/talvor.png)

include(GNUInstallDirs)
install(TARGETS talvor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/talvor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${icon_dir} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvor)
set(CPACK_PACKAGE_VENDOR "禾岚")
set(CPACK_PACKAGE_CONTACT "禾岚进销存 <talvor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "禾岚进销存管理系统 - purchase, sales and inventory")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Follows the summary line in the package's description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A desktop program for a small trading business: goods, \
customers and suppliers, purchase and sales bills with their returns, a stock ledger with \
weighted-average cost, monthly stock-taking, receipts and payments, statistics and printed \
reports.")
# The libraries the program links are found by dpkg-shlibdeps. What it only loads at run time
# is named here: the Song-style fonts its texts ask for, Qt's Chinese translations and Qt's
# platform plugins beyond the X11 one that comes with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "fonts-arphic-uming, fonts-wqy-zenhei, qt6-translations-l10n, qt6-qpa-plugins")
include(CPack)

add_test(NAME package COMMAND ${CMAKE_SOURCE_DIR}/packaging/check-package ${CMAKE_BINARY_DIR})
set_tests_properties(package PROPERTIES TIMEOUT 600)
