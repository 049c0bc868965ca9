# The Debian package of the Linux programs: `cmake --build build --target package` makes
# aktualizacja-zuv_<version>_<architecture>.deb. Only the programs and their desktop entry, icon,
# man pages, changelog, copyright and the report's schema are installed; the test server, the
# tools, the tests and the benchmarks have no install rules, so nothing of them reaches the
# package.
include(GNUInstallDirs)

set(ZUV_DANE_LINUX "${PROJECT_SOURCE_DIR}/app/linux")
set(ZUV_DOC_PAKIETU "${CMAKE_INSTALL_DATADIR}/doc/aktualizacja-zuv")
set(ZUV_BUDOWA_PAKIETU "${CMAKE_BINARY_DIR}/pakiet")
file(MAKE_DIRECTORY "${ZUV_BUDOWA_PAKIETU}")
find_program(ZUV_GZIP gzip REQUIRED)
set(ZUV_OPIEKUN_PAKIETU "Autorzy Aktualizacji ZUV <aktualizacja-zuv@example.com>"
    CACHE STRING "The Debian package's Maintainer field; a release sets the real address")

install(TARGETS aktualizacja-zuv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)

# The unattended program joins the package once it is part of the build.
set(zuv_strony_man "${PROJECT_SOURCE_DIR}/docs/man/aktualizacja-zuv.1")
set(zuv_strona_wsadowa "${PROJECT_SOURCE_DIR}/docs/man/aktualizacja-zuv-wsadowa.1")
if(TARGET aktualizacja-zuv-wsadowa)
  install(TARGETS aktualizacja-zuv-wsadowa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          COMPONENT program)
  if(EXISTS "${zuv_strona_wsadowa}")
    list(APPEND zuv_strony_man "${zuv_strona_wsadowa}")
  endif()
endif()

# Man pages and the changelog go into the package compressed, without a time stamp in the gzip
# header, so that the same sources give the same package.
set(zuv_skompresowane)
foreach(strona IN LISTS zuv_strony_man)
  get_filename_component(nazwa "${strona}" NAME)
  set(wynik "${ZUV_BUDOWA_PAKIETU}/${nazwa}.gz")
  add_custom_command(OUTPUT "${wynik}"
                     COMMAND ${ZUV_GZIP} -9nc "${strona}" > "${wynik}"
                     DEPENDS "${strona}" VERBATIM)
  list(APPEND zuv_skompresowane "${wynik}")
  install(FILES "${wynik}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
endforeach()

configure_file("${ZUV_DANE_LINUX}/changelog.in" "${ZUV_BUDOWA_PAKIETU}/changelog" @ONLY)
add_custom_command(OUTPUT "${ZUV_BUDOWA_PAKIETU}/changelog.gz"
                   COMMAND ${ZUV_GZIP} -9nc "${ZUV_BUDOWA_PAKIETU}/changelog"
                           > "${ZUV_BUDOWA_PAKIETU}/changelog.gz"
                   DEPENDS "${ZUV_BUDOWA_PAKIETU}/changelog" VERBATIM)
list(APPEND zuv_skompresowane "${ZUV_BUDOWA_PAKIETU}/changelog.gz")
install(FILES "${ZUV_BUDOWA_PAKIETU}/changelog.gz" DESTINATION ${ZUV_DOC_PAKIETU}
        COMPONENT program)
install(FILES "${ZUV_DANE_LINUX}/copyright" DESTINATION ${ZUV_DOC_PAKIETU} COMPONENT program)
# What reads the unattended program's reports checks them against this.
install(FILES "${PROJECT_SOURCE_DIR}/docs/raport.schema.json" DESTINATION ${ZUV_DOC_PAKIETU}
        COMPONENT program)

install(FILES "${ZUV_DANE_LINUX}/aktualizacja-zuv.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES "${ZUV_DANE_LINUX}/aktualizacja-zuv.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT program)

# The menu's bitmap sizes are drawn from the SVG. Without rsvg-convert (librsvg2-bin) the package
# carries the SVG alone, which desktops scale themselves.
find_program(ZUV_RSVG_CONVERT rsvg-convert)
if(ZUV_RSVG_CONVERT)
  foreach(rozmiar 16 32 48 64 128 256)
    set(wynik "${ZUV_BUDOWA_PAKIETU}/ikony/${rozmiar}x${rozmiar}/aktualizacja-zuv.png")
    add_custom_command(OUTPUT "${wynik}"
                       COMMAND ${CMAKE_COMMAND} -E make_directory
                               "${ZUV_BUDOWA_PAKIETU}/ikony/${rozmiar}x${rozmiar}"
                       COMMAND ${ZUV_RSVG_CONVERT} -w ${rozmiar} -h ${rozmiar}
                               "${ZUV_DANE_LINUX}/aktualizacja-zuv.svg" -o "${wynik}"
                       DEPENDS "${ZUV_DANE_LINUX}/aktualizacja-zuv.svg" VERBATIM)
    list(APPEND zuv_skompresowane "${wynik}")
    install(FILES "${wynik}"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${rozmiar}x${rozmiar}/apps
            COMPONENT program)
  endforeach()
else()
  message(STATUS "rsvg-convert not found: the package gets the SVG icon without bitmap sizes")
endif()
add_custom_target(dane_pakietu ALL DEPENDS ${zuv_skompresowane})


set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME aktualizacja-zuv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ZUV_OPIEKUN_PAKIETU}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/StripPakietu.cmake")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds Qt, unixODBC and the C++ runtime from the linked libraries; the FreeTDS
# driver is loaded by unixODBC at run time, so it is named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tdsodbc, unixodbc")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "zbiorcza aktualizacja bazy danych systemu ZUV
Program w oknie (aktualizacja-zuv) loguje się do bazy systemu ZUV na
serwerze SQL Server, pokazuje zapisaną w niej wersję schematu i wykonuje
po kolei pakiety aktualizacyjne od tej wersji do najnowszej (zakres
8.1.0.0 - 11.5.0.6). Każdy pakiet jest wykonywany w jednej transakcji.
.
Program bez okna (aktualizacja-zuv-wsadowa) robi to samo dla jednej bazy
albo listy baz, także kilku naraz, z harmonogramu albo skryptu: sprawdza
plan (--sprawdz), zatrzymuje się na wskazanej wersji (--do-wersji),
zapisuje raport JSON i kończy się kodem wyjścia dla każdego wyniku.
.
Oba łączą się przez unixODBC ze sterownikiem FreeTDS.")
include(CPack)
