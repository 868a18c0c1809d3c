// The scanner of the command line: turns the joined line into tokens, one per recognised word.
//
// Words are recognised by the keyword table (looked up without regard to case) and by a few
// fixed shapes: numbers, decimal numbers, a percent sign, bracketed drive and device lists and
// quoted text. The scanner knows three positions in a line, the command word, option words and
// free text, and switches between them by the words it meets; which word may follow which is
// the grammar's business.
//
// At each step the longest prefix that one of the shapes of the current position matches is
// taken (a tie goes to the shape listed first). A character that fits no shape is written
// unchanged to standard output, through the same stdio stream as the messages, and produces
// no token: this is how the commas of "-a0,1,2" disappear. The one exception is a '-' directly
// before a digit where a number may stand ("-L-1", "-a-1", "[252:-1]"): dropping that sign
// would aim the command at another object, so the signed number is an unknown word instead.
//
// The state is process-wide (one line is scanned per run). scannerInit starts a line but does
// not reset the position, the keyword key or the name flag: they start at their initial values
// once per process. scannerResetState puts them back, for code that scans several lines.
#ifndef PARSER_SCANNER_H
#define PARSER_SCANNER_H

#include "PavUtil/List.h"

class Token;

// Which shapes are recognised next.
enum ScanPosition {
    SCAN_COMMAND,  // the first word of a line: command words (and option words)
    SCAN_OPTION,   // option words and the value shapes
    SCAN_TEXT      // one word of free text
};

// Key of a command word's row: such rows match only while the scanner's key is 0, that is as
// the first word of a line.
constexpr unsigned short KEYWORD_KEY_COMMAND = 0;
// Key of an option word's row: it matches under any key.
constexpr unsigned short KEYWORD_KEY_ANY = 0xFFFF;
// Next of an option row whose following word is free text.
constexpr unsigned short KEYWORD_NEXT_TEXT = 2;
// Next of an option row after which the position stays.
constexpr unsigned short KEYWORD_NEXT_SAME = 0xFFFF;
// Next of a command row: the key the scanner takes after the command word. Any value other
// than 0 serves; it only keeps command words from matching again.
constexpr unsigned short KEYWORD_NEXT_OPTION = 0xFF01;

struct KeywordEntry {
    unsigned short key;      // KEYWORD_KEY_COMMAND or KEYWORD_KEY_ANY
    const char* word;        // compared without regard to ASCII letter case
    unsigned short tokenId;  // the id returned for the word
    unsigned short next;     // command row: the key after it; option row: NEXT_TEXT or NEXT_SAME
};

// The keyword table, in search order (KeywordTable.cpp).
extern const KeywordEntry KeywordTable[];
extern const int KEYWORD_TABLE_SIZE;

// Longest single match; a longer one ends the process with exit status 2.
constexpr int SCANNER_MAX_MATCH = 8191;
// Most tokens one line yields: the largest size of a token list. A word read when the list is
// full makes no token and is reported as TOKEN_UNKNOWN, so the grammar rejects the line there.
constexpr int SCANNER_MAX_TOKENS = 252;

// Starts scanning the text (read from its start) and makes a new, empty token list of
// capacity 4 (a list of an earlier scan that was not taken is deleted). The text must stay
// alive until the scan is released.
void scannerInit(const char* text);

// Recognises the next word, appends its token and returns its id; TOKEN_UNKNOWN (no token)
// for a word that is not in the table, for a number beyond the range of int, for a signed
// number (the last word text is then the sign and the number) and for a word that no longer
// fits the token list; 0 at the end of the line, in every position.
int yylex();

// The scanner's input source: copies up to max bytes of the unread rest of the line into the
// buffer, advances the read pointer and returns the count (0 at the end of the line).
int scannerReadInput(void* buffer, int max);

// Called at the end of the input; 1: there is no further input.
int yywrap();

// The first row whose key equals `key` or is KEYWORD_KEY_ANY and whose word equals `word`
// without regard to ASCII case gives the token id (and its next through `next`, when not
// null); TOKEN_UNKNOWN when no row matches (`next` untouched).
unsigned short lookupKeyword(int key, const char* word, unsigned short* next);

// Cuts trailing white space (isspace) in place; returns the text.
char* trimTrailingBlanks(char* text);
// Moves the text left over its leading white space, in place; returns the text.
char* trimLeadingBlanks(char* text);
// The text after one leading '-', or the text itself.
char* skipOneDash(char* text);

// The text of the most recently matched word (a keyword as typed, with its leading '-'; a
// number as its digits; a list as '[' and its contents; a quoted text without its quotes);
// null before the first word of a scan.
const char* scannerLastWordText();

// The list the scanner appends to; null when no scan is running or the list was taken.
ArrayList<Token*>* scannerTokenList();
// Hands the token list to the caller (who deletes its tokens and the list) and forgets it.
ArrayList<Token*>* scannerTakeTokenList();

// Releases the scanner's input buffer and the last word text at the end of a scan.
void scannerRelease();

// Position SCAN_COMMAND, key 0, name flag 0: the state of a fresh process.
void scannerResetState();

#endif
