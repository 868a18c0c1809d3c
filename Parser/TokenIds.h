// Token ids of the command line: the vocabulary of the grammar and of every command parser.
// The ids and their names come from one list, TokenIds.def.
#ifndef PARSER_TOKENIDS_H
#define PARSER_TOKENIDS_H

// The end of the line, as the scanner reports it.
constexpr unsigned short TOKEN_END_OF_LINE = 0;

#define TOKEN_ID(name, id) constexpr unsigned short TOKEN_##name = id;
#include "Parser/TokenIds.def"
#undef TOKEN_ID

// The name of a token id ("TOKEN_ADPALLINFO"), or null for an id that has no name.
const char* tokenName(unsigned short id);
// The id named "TOKEN_" + name (name without the prefix, e.g. "ADPALLINFO"); TOKEN_UNKNOWN when
// no id has that name.
unsigned short tokenIdByName(const char* name);

#endif
