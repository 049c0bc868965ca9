# Run by CPack on the package's staging folder: the programs lose the compiler's .comment and
# .note sections as well as their symbols, as Debian's own packages do.
file(GLOB_RECURSE programy LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS programy)
  execute_process(COMMAND "${CPACK_STRIP}" --strip-all --remove-section=.comment
                          --remove-section=.note "${program}"
                  RESULT_VARIABLE wynik)
  if(NOT wynik EQUAL 0)
    message(FATAL_ERROR "strip failed on ${program}")
  endif()
endforeach()
