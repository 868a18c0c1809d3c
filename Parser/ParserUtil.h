// Parsing rules and token readers shared by the command parsers: the file-name rule ("-f"
// and a name), the reading of bracketed drive lists ("[E:S, E:S ...]"), of sizes and of
// bounded numbers, and small accessors of the tokens a rule looks at.
#ifndef PARSERUTIL_H
#define PARSERUTIL_H

#include "PavUtil/List.h"
#include "PavUtil/apstring.h"

#include <ctime>
#include <initializer_list>

class Token;
class EnclSlotId;
class SharedDriveList;
class ParserDriveList;
class PdIdListObject;

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
    // The drive-list rule of the parsers that hand the list to their requests: the token at
    // position must be a bracketed drive list with a value; its drives become the list the
    // holder holds (no list when an item is malformed) and the token is consumed. 0, or -1
    // for another token, a token without a value, memory running out, or a malformed item
    // when refuseMalformed is set (the token then stays unconsumed).
    static int takeDriveList(ArrayList<Token*>* tokens, int position, ParserDriveList* holder,
                             bool refuseMalformed);
    // Reads the drives of a drive-list text (as parseEnclSlotList) and appends each to
    // `target` as a new PdIdListObject, in text order. 0, or -1 when an item is malformed
    // (nothing appended) or memory runs out (the entries appended so far stay in `target`).
    static int appendDriveEntries(const char* text, ArrayList<PdIdListObject*>* target);
    // The drive-list rule of the parsers that keep their own entries (each request copies
    // them): the token at position must be a bracketed drive list with a value; its drives are
    // appended to `target` (appendDriveEntries) and the token is consumed. 0, or -1 for another
    // token, a malformed item or memory running out.
    static int takeDriveEntries(ArrayList<Token*>* tokens, int position, ArrayList<PdIdListObject*>* target);
    // Reads one "E:S" item: "E:S" (decimal enclosure and slot), ":S" (no enclosure:
    // ENCLOSURE_ID_NONE) or "?:S" (the adapter's only enclosure: ENCLOSURE_ID_RESOLVE).
    // Leading blanks are skipped. 0 when read; 1 when the item is null or malformed: no ':',
    // characters other than digits, a slot above 255, an enclosure above 65535 or an enclosure
    // typed as one of the two reserved ids. Nothing is narrowed: the address read is the one
    // typed.
    static int parseEnclSlot(const char* item, unsigned short* enclosure, unsigned char* slot);
    // Deletes every entry of a drive list and the list; nothing for null.
    static void deleteEnclSlotList(ArrayList<EnclSlotId*>* list);

    // The ids a parser class serves, as the new list its commandTokens() hands to the
    // registration; null when out of memory.
    static ArrayList<unsigned short>* tokenList(std::initializer_list<unsigned short> ids);

    // The token at position when it carries one of the ids, marked consumed; null (nothing
    // consumed) for another id or no token. The common first step of a rule.
    static Token* takeWord(ArrayList<Token*>* tokens, int position, std::initializer_list<unsigned short> ids);
    // A rule that only takes its word: 0 when the token at position carries one of the ids
    // (now consumed), else -1.
    static int acceptWord(ArrayList<Token*>* tokens, int position, std::initializer_list<unsigned short> ids);
    // The one operation word of a command word that reads it from the rest of the line: every
    // token after position that carries one of the ids is looked at. 0 with its id in *word
    // when exactly one stands there (now consumed); -1 when none does or a second one follows
    // (the second is left unconsumed). *word must be 0 on entry.
    static int takeOnlyWordAfter(ArrayList<Token*>* tokens, int position, std::initializer_list<unsigned short> ids,
                                 unsigned short* word);
    // A flag rule: the word at position must carry wordId; it is consumed and *flag = value.
    // 0, or -1 for another word.
    static int takeFlagWord(ArrayList<Token*>* tokens, int position, unsigned short wordId, unsigned char* flag,
                            unsigned char value = 1);
    // Takes the number token at position: 0 with its value in *value when it is a number token
    // holding a value from 0 to `limit`, now consumed; -1 (nothing consumed) otherwise. A
    // number that does not fit the field it is meant for is refused, never cut.
    static int takeNumber(ArrayList<Token*>* tokens, int position, int limit, int* value);
    // A number rule: the word at position must carry wordId (consumed), and a number of at
    // most `limit` must follow it (consumed, into *value). 0, or -1 otherwise.
    static int takeNumberAfterWord(ArrayList<Token*>* tokens, int position, unsigned short wordId, int limit,
                                   int* value);
    // The text rule of the free-text options (keys, pass phrases, key ids): the word at
    // position must carry wordId and is consumed; the token after it is consumed whatever it
    // is, and must be a text token with a value, whose text goes to *text unchanged. 0, or -1
    // when the word is another, nothing follows it or the follower is no text (a text token
    // without a value also prints MSG_DYNAMIC_CAST_FAILED).
    static int takeTextAfterWord(ArrayList<Token*>* tokens, int position, unsigned short wordId, string* text);

    // A logical-drive number typed on the line, appended to the list: 0, or -1 after printing
    // "Invalid Logical Drive number.\n" when it is no logical drive (negative, above 255, or
    // the value that stands for every logical drive), or when the list is full.
    static int addLogicalDrive(ArrayList<unsigned char>* list, int value);
    // The logical-drive option: "-L" at position (consumed) and the numbers right after it,
    // each consumed and added by addLogicalDrive. 0, or -1 when the option is another word or
    // a number is refused.
    static int takeLogicalDriveOption(ArrayList<Token*>* tokens, int position, ArrayList<unsigned char>* list);

    // A date typed as one number yyyymmdd: true with its parts when the month is 1 to 12 and
    // the day lies within the month. February has 28 days, 29 in every year divisible by 4 (the
    // controllers' own calendar rule, kept so that a date the firmware takes is never refused).
    static bool readDate(int value, unsigned int* year, unsigned int* month, unsigned int* day);
    // The start time of a schedule: a date yyyymmdd from FIRST_SCHEDULE_YEAR on (readDate) at
    // position and an hour 0 to 23 right after it, both consumed, into the broken-down time
    // (year since 1900, month 0-11, day, hour; minutes and seconds 0) with the daylight-saving
    // state in force now, as the hour is local time. 0, or -1 (the time untouched) otherwise.
    static int takeStartTime(ArrayList<Token*>* tokens, int position, struct tm* startTime);
    static constexpr unsigned int FIRST_SCHEDULE_YEAR = 2000;
    // The last hour of a day that a typed hour may name.
    static constexpr int LAST_HOUR = 23;

    // A size typed after "-sz": the text of a number token or of a decimal-number token
    // ("100", "1.5", "1.05"). The whole part goes to *whole and the fraction, in thousandths
    // of the unit, to *thousandths (0 without a point). 0, or -1 for a text that is no size,
    // a whole part beyond 64 bits, or more than three digits after the point (thousandths are
    // the finest unit a size is typed in; a longer fraction is refused, not misread).
    static int readSizeText(const char* text, unsigned long long* whole, unsigned int* thousandths);

    // The token at position, or null when the position is past the end of the list.
    static Token* tokenAt(ArrayList<Token*>* tokens, int position);
    // True when the token is a number token holding a number; the number goes to *value.
    static bool getNumber(Token* token, int* value);
    // True when the token holds a value; its text goes to *text (a number as "%d").
    static bool getText(Token* token, string* text);

private:
    ParserUtil() = delete;
};

// A drive list read from the command line (ArrayList<EnclSlotId*>), as a parser holds it
// until its requests take it over. The parser counts as one holder of the shared list: the
// requests that take it over add themselves, and whichever of them all goes last deletes
// the list. A list that no request took over (the line was refused after it was read) is
// therefore freed with the parser.
class ParserDriveList {
public:
    ParserDriveList();
    ~ParserDriveList();

    // Holds the list (the one held before is released); null holds nothing. 0, or -1 when
    // out of memory (the list is deleted then).
    int set(ArrayList<EnclSlotId*>* list);
    ArrayList<EnclSlotId*>* get() const;

private:
    ParserDriveList(const ParserDriveList&) = delete;
    ParserDriveList& operator=(const ParserDriveList&) = delete;

    SharedDriveList* holder;
};

#endif
