# The Debian package: what the install rules put under /usr, with its dependencies found from the
# shared libraries the program links (dpkg-shlibdeps). "cpack -G DEB" in the build folder makes it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalmir)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Авторы программы Калмир")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "программа расчета трудового стажа")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Калмир считает трудовой стаж по списку периодов работы: совокупный стаж в годах, месяцах и днях, "
    "стаж выбранного периода и дату непрерывного стажа. Списки периодов сохраняются под именем.")
set(CPACK_PACKAGE_CONTACT "Авторы программы Калмир <kalmir@kalmir.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://kalmir.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The icon is an SVG: without the plugin that draws it, the windows show none.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
# Qt's own texts (context menus, dialog buttons, file errors) in Russian; without it they are English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)

include(CPack)
