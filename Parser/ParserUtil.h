// Parsing rules and token readers shared by the command parsers: the file-name rule ("-f"
// and a name), the reading of bracketed drive lists ("[E:S, E:S ...]") and small accessors of
// the tokens a rule looks at.
#ifndef PARSERUTIL_H
#define PARSERUTIL_H

#include "PavUtil/List.h"
#include "PavUtil/apstring.h"

class Token;
class EnclSlotId;

class ParserUtil {
public:
    // Rule of "-f name" (added with makeFunctionHandler): takes the option and the name that
    // follows and keeps the name as the process-wide file name, replacing an earlier one.
    // 0, or -1 when the token is not the file option or no name follows.
    static int onFileOption(ArrayList<Token*>* tokens, unsigned char position);
    // A copy of the file name kept by the last onFileOption ("" when none was kept).
    static string getFileName();
    // Forgets the kept file name.
    static void clearFileName();

    // The drive addresses of a drive-list text (the characters between the brackets): items
    // separated by commas and blanks, each read by parseEnclSlot, in the order of the text.
    // Null for a null text and when any item is malformed (nothing is kept then). The caller
    // owns the list and its entries (deleteEnclSlotList).
    static ArrayList<EnclSlotId*>* parseEnclSlotList(const char* text);
    // Reads one "E:S" item: "E:S" (decimal enclosure and slot), ":S" (no enclosure:
    // ENCLOSURE_ID_NONE) or "?:S" (the adapter's only enclosure: ENCLOSURE_ID_RESOLVE).
    // Leading blanks are skipped. 0 when read; 1 when the item is null or malformed: no ':',
    // characters other than digits, a slot above 255, an enclosure above 65535 or an enclosure
    // typed as one of the two reserved ids. Nothing is narrowed: the address read is the one
    // typed.
    static int parseEnclSlot(const char* item, unsigned short* enclosure, unsigned char* slot);
    // Deletes every entry of a drive list and the list; nothing for null.
    static void deleteEnclSlotList(ArrayList<EnclSlotId*>* list);

    // The token at position, or null when the position is past the end of the list.
    static Token* tokenAt(ArrayList<Token*>* tokens, int position);
    // True when the token is a number token holding a number; the number goes to *value.
    static bool getNumber(Token* token, int* value);
    // True when the token holds a value; its text goes to *text (a number as "%d").
    static bool getText(Token* token, string* text);

private:
    ParserUtil() = delete;
};

#endif
