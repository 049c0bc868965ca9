# Runs the package checker (packages/checker) over the package folder as a step of the build,
# before `target` is compiled: a package that breaks a rule the program relies on stops the build
# with the checker's report, rather than a run at a customer's database. The step runs again
# whenever a package file or the checker changes.
#
# A cross-build runs the checker through CMAKE_CROSSCOMPILING_EMULATOR (Wine for the Windows
# program); without one the step is left out, and the same folder is checked by a native build.

function(zuv_sprawdzaj_pakiety target katalog)
  if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(STATUS "Pakiety nie będą sprawdzane w tej kompilacji (brak emulatora): "
                   "sprawdź folder ${katalog} programem sprawdz-pakiety kompilacji dla Linuksa")
    return()
  endif()
  get_property(pliki GLOBAL PROPERTY ZUV_PAKIETY_PLIKI)
  set(znacznik "${CMAKE_CURRENT_BINARY_DIR}/pakiety-sprawdzone")
  add_custom_command(OUTPUT "${znacznik}"
    COMMAND sprawdz-pakiety "${katalog}"
    COMMAND "${CMAKE_COMMAND}" -E touch "${znacznik}"
    DEPENDS sprawdz-pakiety ${pliki}
    COMMENT "Sprawdzanie pakietów w ${katalog}"
    VERBATIM)
  add_custom_target(sprawdzenie_pakietow ALL DEPENDS "${znacznik}")
  add_dependencies(${target} sprawdzenie_pakietow)
endfunction()
