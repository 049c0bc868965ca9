# Links every package text of a folder into a target as read-only data, with a table of names
# and sizes that packages/ZasobyProgramu.cpp searches. This is the one place that knows how the
# packages travel inside the program: here an assembled data block (.incbin); a Windows build
# would list the same files as RCDATA resources in a .rc file and look them up with
# FindResourceA instead.
#
# The resource name is the file name without its extension, in capitals (ZUV_9_5_0_10.sql gives
# ZUV_9_5_0_10). The glob is re-checked at every build, so an added or removed file re-runs the
# configuration, and the data object depends on every file, so a changed file is assembled anew.

function(zuv_dolacz_zasoby target katalog)
  file(GLOB pliki LIST_DIRECTORIES false CONFIGURE_DEPENDS "${katalog}/*.sql")
  list(SORT pliki)

  set(wyjscie "${CMAKE_CURRENT_BINARY_DIR}/zasoby")
  set(asm "/* Generated from the package folder at configuration time; do not edit. */\n")
  string(APPEND asm "#if defined(__ELF__)\n  .section .rodata.zuv_pakiety,\"a\",@progbits\n")
  string(APPEND asm "#else\n  .section .rdata,\"dr\"\n#endif\n")
  set(rozmiary "")
  set(deklaracje "")
  set(wiersze "")
  set(nazwy "")
  set(i 0)
  foreach(plik IN LISTS pliki)
    get_filename_component(nazwa "${plik}" NAME_WLE)
    string(TOUPPER "${nazwa}" nazwa)
    if(NOT nazwa MATCHES "^[A-Z0-9_]+$")
      message(FATAL_ERROR "Package file name '${plik}' must be letters, digits and underscores")
    endif()
    if(nazwa IN_LIST nazwy)
      message(FATAL_ERROR "Two package files give the resource name ${nazwa}")
    endif()
    list(APPEND nazwy "${nazwa}")

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
  string(APPEND cpp "std::span<const ZasobLinkowany> ZasobyLinkowane() {\n")
  if(i EQUAL 0)
    string(APPEND cpp "    return {};\n")
  else()
    string(APPEND cpp "    static const ZasobLinkowany zasoby[] = {\n${wiersze}    };\n    return zasoby;\n")
  endif()
  string(APPEND cpp "}\n")

  # Written only when the content changes, so that re-configuring rebuilds nothing needlessly.
  file(WRITE "${wyjscie}/PakietyDane.S.nowy" "${asm}")
  file(WRITE "${wyjscie}/PakietyTabela.cpp.nowy" "${cpp}")
  configure_file("${wyjscie}/PakietyDane.S.nowy" "${wyjscie}/PakietyDane.S" COPYONLY)
  configure_file("${wyjscie}/PakietyTabela.cpp.nowy" "${wyjscie}/PakietyTabela.cpp" COPYONLY)

  target_sources(${target} PRIVATE "${wyjscie}/PakietyDane.S" "${wyjscie}/PakietyTabela.cpp")
  set_source_files_properties("${wyjscie}/PakietyDane.S" PROPERTIES OBJECT_DEPENDS "${pliki}")
endfunction()
