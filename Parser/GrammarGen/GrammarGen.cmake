# The command grammar's automaton is compiled from its descriptions when the program is built:
# grammargen writes it as constant data into the parser library, so a run compiles nothing.
# The compiler and the descriptions stay out of the program; the tests link them. They see the
# parser's folder (token ids, the tables' layout) without linking the library they feed.
add_library(grammarcompiler STATIC
  ${CMAKE_SOURCE_DIR}/Parser/GrammarGen/SyntaxCompiler.cpp
  ${CMAKE_SOURCE_DIR}/Parser/GrammarGen/GrammarTables.cpp)
target_include_directories(grammarcompiler PUBLIC ${QUILL_STAGING}/parser)

add_executable(grammargen ${CMAKE_SOURCE_DIR}/Parser/GrammarGen/GrammarGenMain.cpp)
target_link_libraries(grammargen PRIVATE grammarcompiler)

set(QUILL_GRAMMAR_TABLES ${CMAKE_BINARY_DIR}/generated/GrammarAutomaton.cpp)
add_custom_command(OUTPUT ${QUILL_GRAMMAR_TABLES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND grammargen ${QUILL_GRAMMAR_TABLES}
  DEPENDS grammargen
  COMMENT "Compiling the command grammar into tables"
  VERBATIM)
target_sources(parser PRIVATE ${QUILL_GRAMMAR_TABLES})
