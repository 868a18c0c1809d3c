// The rule families that recur across the command parsers, on top of the parser base: single
// words and flags, a number after its word, a parser's own file name, and the three ways a
// parser takes a bracketed drive list ("-PhysDrv[E:S,...]"): keep it for the requests to share,
// copy its drives into the parser's own list, or keep it when it names exactly one drive.
//
// Every function follows the handler contract of Parser: it looks at the token at position,
// gives -1 when that token (or one it needs after it) is not what the rule serves, and marks
// every token it takes consumed. Numbers are range-tested whole, before they are stored in a
// field of any width, so a number that does not fit refuses the command instead of becoming
// another value.
#ifndef PARSERFRAME_H
#define PARSERFRAME_H

#include "Parser/Parser.h"
#include "PavUtil/apstring.h"

#include <initializer_list>

class EnclSlotId;
class PdIdListObject;
class SharedDriveList;
class Token;

namespace ParserFrame {

// A new list of the command tokens a parser class serves, in the order given; null when out
// of memory. The class's commandTokens returns it.
ArrayList<unsigned short>* newTokenList(std::initializer_list<unsigned short> ids);

// A new parser of class P made for the command token; null when out of memory.
template <class P>
Parser* create(unsigned short commandToken)
{
    return new (noThrowNew) P(commandToken);
}

// The token at position when its id is one of `ids`; null otherwise (also past the end).
Token* tokenWithId(ArrayList<Token*>* tokens, int position, std::initializer_list<unsigned short> ids);

// A word that takes nothing after it ("-PhysDrv" before its list, a command word): consumed.
// 0, or -1 when the token is not `id`.
int takeWord(ArrayList<Token*>* tokens, unsigned char position, unsigned short id);
// A flag word ("-Force"): consumed and *flag set to 1. 0, or -1 when the token is not `id`.
int takeFlag(ArrayList<Token*>* tokens, unsigned char position, unsigned short id, unsigned char* flag);

// The token after position must be a number token holding a number from 0 to `limit`; it is
// consumed and its value stored in *value. 0, or -1 (nothing stored) when there is no such
// token, it is no number, or the number is above the limit.
int takeNumberAfter(ArrayList<Token*>* tokens, unsigned char position, unsigned int limit, unsigned int* value);

// A parser's own file-name rule: the token at position must be "-f", the next one the name
// (free text); both are consumed and the name is copied into *name. 0, or -1 when the option
// is not "-f", no name follows, or the next token is no free text.
int takeFileName(ArrayList<Token*>* tokens, unsigned char position, string* name);

// The drive addresses of the drive-list token at position, as a new list the caller owns;
// null when the token is no drive list, carries no text, or the text is refused. The token is
// not consumed.
ArrayList<EnclSlotId*>* readDriveList(ArrayList<Token*>* tokens, unsigned char position);

// The copying drive-list rule: every drive of the list token at position is appended to
// `target` as a new PdIdListObject, in the order written, and the token is consumed. 0, or -1
// when the list is refused or `target` cannot take every drive; `target` then holds what it
// held before.
int takeDriveCopies(ArrayList<Token*>* tokens, unsigned char position, ArrayList<PdIdListObject*>* target);

}  // namespace ParserFrame

// The keeping drive-list rule: the list read from the line is handed by pointer to every
// request, which share it through the shared-list count. The parser counts as one more holder
// while it lives, so a list that no request took (a refused line, a line that names no
// adapter) goes with the parser, and a list that requests took stays with them whatever order
// they and the parser are deleted in.
class KeptDriveList {
public:
    KeptDriveList() : holder(nullptr) {}
    ~KeptDriveList();

    // Reads the drive-list token at position and keeps its list, releasing a list kept
    // before; the token is consumed. With `singleDrive` a list of two or more drives is
    // refused. 0, or -1 (the kept list unchanged) when the list is refused or memory runs out.
    int take(ArrayList<Token*>* tokens, unsigned char position, bool singleDrive);

    // The kept list; null until a list was taken.
    ArrayList<EnclSlotId*>* get() const;

private:
    KeptDriveList(const KeptDriveList&) = delete;
    KeptDriveList& operator=(const KeptDriveList&) = delete;

    SharedDriveList* holder;
};

#endif
