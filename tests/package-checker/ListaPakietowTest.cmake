# One case of the package-folder checks made at configuration time, run in script mode:
#   cmake -DPRZYPADEK=<case> -DFOLDER=<empty folder to use> -P ListaPakietowTest.cmake
# The folder gets an empty file for every catalogue version, then the case's fault. The test
# reads the output: the configuration error, or the list that a sound folder gives.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../packages/cmake/ListaPakietow.cmake)

file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
zuv_katalog_wersji(wersje)
foreach(wersja IN LISTS wersje)
  string(REPLACE "." "_" nazwa "ZUV_${wersja}")
  file(TOUCH "${FOLDER}/${nazwa}.sql")
endforeach()

if(PRZYPADEK STREQUAL "brak_wersji")
  file(REMOVE "${FOLDER}/ZUV_9_5_0_10.sql")
elseif(PRZYPADEK STREQUAL "plik_spoza")
  file(TOUCH "${FOLDER}/ZUV_11_6_0_0.sql")
elseif(PRZYPADEK STREQUAL "dwie_nazwy")
  file(TOUCH "${FOLDER}/zuv_8_1_0_0.txt")
elseif(PRZYPADEK STREQUAL "poprawny")
  file(TOUCH "${FOLDER}/.gitattributes")
else()
  message(FATAL_ERROR "Nieznany przypadek ${PRZYPADEK}")
endif()

zuv_lista_pakietow("${FOLDER}")
get_property(pliki GLOBAL PROPERTY ZUV_PAKIETY_PLIKI)
get_property(nazwy GLOBAL PROPERTY ZUV_PAKIETY_NAZWY)
get_property(wersje GLOBAL PROPERTY ZUV_PAKIETY_WERSJE)
set(wiersze "")
foreach(nazwa wersja plik IN ZIP_LISTS nazwy wersje pliki)
  get_filename_component(plik "${plik}" NAME)
  list(APPEND wiersze "${nazwa} ${wersja} ${plik}")
endforeach()
list(LENGTH wiersze liczba)
list(JOIN wiersze ", " tekst)
message("${liczba} pakietów: ${tekst}")
