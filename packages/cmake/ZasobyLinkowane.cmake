# Links the packages of the list made by ListaPakietow.cmake into a target as read-only data,
# with a table of names and sizes that packages/ZasobyProgramu.cpp searches. This is the one place
# that knows how the packages travel inside the program: in the Linux program an assembled data
# block (.incbin); in the Windows program the same files as RCDATA resources of a generated .rc,
# which packages/ZasobyProgramuWin32.cpp finds with FindResourceA.

function(zuv_dolacz_zasoby target)
  get_property(pliki GLOBAL PROPERTY ZUV_PAKIETY_PLIKI)
  get_property(nazwy GLOBAL PROPERTY ZUV_PAKIETY_NAZWY)
  if(WIN32)
    zuv_zasoby_windows(${target} "${pliki}" "${nazwy}")
    return()
  endif()

  set(wyjscie "${CMAKE_CURRENT_BINARY_DIR}/zasoby")
  set(asm "/* Generated from the package folder at configuration time; do not edit. */\n")
  string(APPEND asm "#if defined(__ELF__)\n  .section .rodata.zuv_pakiety,\"a\",@progbits\n")
  string(APPEND asm "#else\n  .section .rdata,\"dr\"\n#endif\n")
  set(rozmiary "")
  set(deklaracje "")
  set(wiersze "")
  set(i 0)
  foreach(plik nazwa IN ZIP_LISTS pliki nazwy)
    string(REPLACE "\\" "\\\\" sciezka "${plik}")
    string(REPLACE "\"" "\\\"" sciezka "${sciezka}")
    set(symbol "zuv_pakiet_${i}")
    string(APPEND asm "  .globl ${symbol}\n${symbol}:\n  .incbin \"${sciezka}\"\n${symbol}_koniec:\n")
    # The size is the difference of two labels of one section, known when assembling; C++ could
    # not subtract pointers into two different objects.
    string(APPEND rozmiary "  .globl ${symbol}_rozmiar\n${symbol}_rozmiar:\n  .quad ${symbol}_koniec - ${symbol}\n")
    string(APPEND deklaracje "extern \"C\" const char ${symbol}[];\nextern \"C\" const std::uint64_t ${symbol}_rozmiar;\n")
    string(APPEND wiersze "        {\"${nazwa}\", ${symbol}, &${symbol}_rozmiar},\n")
    math(EXPR i "${i} + 1")
  endforeach()

  string(APPEND asm "#if defined(__ELF__)\n  .section .rodata.zuv_rozmiary,\"a\",@progbits\n")
  string(APPEND asm "#else\n  .section .rdata,\"dr\"\n#endif\n  .balign 8\n${rozmiary}")
  # The data block needs no executable stack.
  string(APPEND asm "#if defined(__ELF__)\n  .section .note.GNU-stack,\"\",@progbits\n#endif\n")

  set(cpp "// Generated from the package folder at configuration time; do not edit.\n")
  string(APPEND cpp "#include \"packages/ZasobyProgramu.h\"\n\n${deklaracje}\n")
  string(APPEND cpp "std::span<const zuv::ZasobLinkowany> zuv::ZasobyLinkowane() {\n")
  string(APPEND cpp "    static const zuv::ZasobLinkowany zasoby[] = {\n${wiersze}    };\n    return zasoby;\n")
  string(APPEND cpp "}\n")

  # Written only when the content changes, so that re-configuring rebuilds nothing needlessly.
  file(WRITE "${wyjscie}/PakietyDane.S.nowy" "${asm}")
  file(WRITE "${wyjscie}/PakietyTabela.cpp.nowy" "${cpp}")
  configure_file("${wyjscie}/PakietyDane.S.nowy" "${wyjscie}/PakietyDane.S" COPYONLY)
  configure_file("${wyjscie}/PakietyTabela.cpp.nowy" "${wyjscie}/PakietyTabela.cpp" COPYONLY)

  target_sources(${target} PRIVATE "${wyjscie}/PakietyDane.S" "${wyjscie}/PakietyTabela.cpp")
  # The data object depends on every file, so a changed file is assembled anew.
  set_source_files_properties("${wyjscie}/PakietyDane.S" PROPERTIES OBJECT_DEPENDS "${pliki}")
endfunction()

# The Windows form: one RCDATA resource a file, named as above; windres reads the files' bytes as
# they are. A linker takes nothing from a static library that no symbol reaches, and a resource
# object has no symbols, so the compiled resources go into every program that links the target.
function(zuv_zasoby_windows target pliki nazwy)
  set(wyjscie "${CMAKE_CURRENT_BINARY_DIR}/zasoby")
  set(rc "// Generated from the package folder at configuration time; do not edit.\n")
  foreach(plik nazwa IN ZIP_LISTS pliki nazwy)
    string(REPLACE "\\" "/" sciezka "${plik}")
    string(REPLACE "\"" "\"\"" sciezka "${sciezka}")
    string(APPEND rc "${nazwa} RCDATA \"${sciezka}\"\n")
  endforeach()
  file(WRITE "${wyjscie}/Pakiety.rc.nowy" "${rc}")
  configure_file("${wyjscie}/Pakiety.rc.nowy" "${wyjscie}/Pakiety.rc" COPYONLY)
  add_library(${target}_zasoby OBJECT "${wyjscie}/Pakiety.rc")
  set_source_files_properties("${wyjscie}/Pakiety.rc" PROPERTIES OBJECT_DEPENDS "${pliki}")
  target_sources(${target} INTERFACE $<TARGET_OBJECTS:${target}_zasoby>)
endfunction()
