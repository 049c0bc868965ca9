# The list of the packages the program carries, made once from the package folder when the build
# is configured, and the checks that refuse a folder the program could not use: a catalogue
# version without its file, a file that is no catalogue version's, two files giving one resource
# name. Every consumer reads the same list from three global properties of equal length, in
# catalogue order:
#   ZUV_PAKIETY_PLIKI   absolute paths of the files
#   ZUV_PAKIETY_NAZWY   resource names: the file name without its extension, in capitals
#   ZUV_PAKIETY_WERSJE  catalogue versions
# and ZUV_PAKIETY_KATALOG, the absolute path of the folder.
# The Linux data block (ZasobyLinkowane.cmake) is assembled from them. A Windows .rc of RT_RCDATA
# resources is written from the same properties, one line a package, for example:
#   get_property(pliki GLOBAL PROPERTY ZUV_PAKIETY_PLIKI)
#   get_property(nazwy GLOBAL PROPERTY ZUV_PAKIETY_NAZWY)
#   foreach(nazwa plik IN ZIP_LISTS nazwy pliki)
#     string(APPEND rc "${nazwa} RCDATA \"${plik}\"\n")
#   endforeach()
#
# The catalogue is read from versions/KatalogWersji.h, the one place it is written down; the
# program looks a package up as "zuv_" and the version's four numbers joined by underscores,
# letters' case ignored, so that is the name each catalogue version needs.
#
# Usable in script mode too (cmake -P), which is how the tests call it.

set(_zuv_naglowek_katalogu "${CMAKE_CURRENT_LIST_DIR}/../../versions/KatalogWersji.h")
cmake_path(NORMAL_PATH _zuv_naglowek_katalogu)

# The catalogue versions, in order, from the C++ header.
function(zuv_katalog_wersji wynik)
  file(READ "${_zuv_naglowek_katalogu}" tekst)
  if(NOT tekst MATCHES "KatalogWersji = {([^}]*)}")
    message(FATAL_ERROR "Nie znaleziono katalogu wersji w ${_zuv_naglowek_katalogu}")
  endif()
  string(REGEX MATCHALL "\"[0-9.]+\"" wersje "${CMAKE_MATCH_1}")
  list(TRANSFORM wersje REPLACE "\"" "")
  set(${wynik} "${wersje}" PARENT_SCOPE)
endfunction()

# Fills the three properties from the folder `katalog`, or stops the configuration with every
# problem found, each naming its file or version. Files whose names begin with a full stop
# (.gitattributes and the like) are not packages and are passed over.
function(zuv_lista_pakietow katalog)
  if(NOT IS_DIRECTORY "${katalog}")
    message(FATAL_ERROR "Folder pakietów ${katalog} nie istnieje (ZUV_KATALOG_PAKIETOW)")
  endif()
  zuv_katalog_wersji(wersje)
  if(CMAKE_SCRIPT_MODE_FILE)
    file(GLOB pliki LIST_DIRECTORIES false "${katalog}/*")
  else()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_zuv_naglowek_katalogu}")
    # Re-checked at every build: an added, removed or renamed file configures anew.
    file(GLOB pliki LIST_DIRECTORIES false CONFIGURE_DEPENDS "${katalog}/*")
  endif()
  list(SORT pliki)

  set(bledy "")
  set(nazwy "")
  foreach(plik IN LISTS pliki)
    get_filename_component(nazwaPliku "${plik}" NAME)
    if(nazwaPliku MATCHES "^\\.")
      continue()
    endif()
    get_filename_component(nazwa "${plik}" NAME_WLE)
    string(TOUPPER "${nazwa}" nazwa)
    list(FIND nazwy "${nazwa}" poprzedni)
    if(NOT poprzedni EQUAL -1)
      list(GET pliki_${nazwa} 0 pierwszy)
      list(APPEND bledy "Pliki ${pierwszy} i ${plik} dają tę samą nazwę zasobu ${nazwa}")
      continue()
    endif()
    list(APPEND nazwy "${nazwa}")
    set(pliki_${nazwa} "${plik}")
  endforeach()

  set(oczekiwane "")
  foreach(wersja IN LISTS wersje)
    string(REPLACE "." "_" nazwa "ZUV_${wersja}")
    list(APPEND oczekiwane "${nazwa}")
  endforeach()
  list(GET oczekiwane 0 pierwsza)
  list(GET oczekiwane -1 ostatnia)
  foreach(nazwa IN LISTS nazwy)
    if(NOT nazwa IN_LIST oczekiwane)
      string(CONCAT blad "Plik ${pliki_${nazwa}} nie jest pakietem żadnej wersji katalogu "
                         "(nazwa zasobu ${nazwa}; katalog zna nazwy od ${pierwsza} do ${ostatnia})")
      list(APPEND bledy "${blad}")
    endif()
  endforeach()

  set(wynikPliki "")
  set(wynikNazwy "")
  foreach(wersja nazwa IN ZIP_LISTS wersje oczekiwane)
    if(NOT nazwa IN_LIST nazwy)
      list(APPEND bledy "Brak pakietu wersji ${wersja} (plik ${nazwa}.sql w ${katalog})")
    else()
      list(APPEND wynikPliki "${pliki_${nazwa}}")
      list(APPEND wynikNazwy "${nazwa}")
    endif()
  endforeach()

  if(bledy)
    list(JOIN bledy "\n  " tekst)
    message(FATAL_ERROR "Folder pakietów ${katalog} nie nadaje się do programu:\n  ${tekst}")
  endif()
  set_property(GLOBAL PROPERTY ZUV_PAKIETY_PLIKI "${wynikPliki}")
  set_property(GLOBAL PROPERTY ZUV_PAKIETY_NAZWY "${wynikNazwy}")
  set_property(GLOBAL PROPERTY ZUV_PAKIETY_WERSJE "${wersje}")
  set_property(GLOBAL PROPERTY ZUV_PAKIETY_KATALOG "${katalog}")
endfunction()
