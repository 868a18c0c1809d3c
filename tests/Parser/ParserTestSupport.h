// Helpers of the parser tests: token lists built by hand and the text the parsers print.
#ifndef PARSERTESTSUPPORT_H
#define PARSERTESTSUPPORT_H

#include "Output/VoPrint.h"
#include "Parser/ParsedObject.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/List.h"

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

// One token as a test writes it: a word (id and text) or a number.
struct TokenItem {
    unsigned short id;
    std::string text;
    int number;

    static TokenItem word(unsigned short id, const char* text) { return TokenItem{id, text, 0}; }
    static TokenItem num(int value) { return TokenItem{TOKEN_NUMBER, "", value}; }
};

inline TokenItem word(unsigned short id, const char* text) { return TokenItem::word(id, text); }
inline TokenItem num(int value) { return TokenItem::num(value); }
inline TokenItem adapterOption() { return word(TOKEN_ADAPTER, "a"); }
inline TokenItem allAdapters() { return word(TOKEN_ALL_ADAPTER, "aALL"); }
inline TokenItem ldOption() { return word(TOKEN_LOGICAL_DRIVE, "L"); }
inline TokenItem allLds() { return word(TOKEN_ALL_LOGICAL_DRIVE, "LALL"); }

// A token list as the scanner hands it over; owns its tokens.
class TokenLine {
public:
    TokenLine(std::initializer_list<TokenItem> items) : items(items)
    {
        list = new ArrayList<Token*>(4);
        for (const TokenItem& item : items) {
            TokenValue* value;
            if (item.id == TOKEN_NUMBER)
                value = new TokenValueInt(item.number);
            else
                value = new TokenValueStr(string(item.text.c_str()));
            list->add(new Token(item.id, value));
        }
    }
    ~TokenLine()
    {
        for (unsigned char i = 0; i < list->count(); ++i)
            delete list->get(i);
        delete list;
    }
    TokenLine(const TokenLine&) = delete;
    TokenLine& operator=(const TokenLine&) = delete;

    ArrayList<Token*>* tokens() { return list; }
    Token* at(unsigned char i) { return list->get(i); }
    // The consumed flags, in line order.
    std::vector<int> consumed() const
    {
        std::vector<int> flags;
        for (unsigned char i = 0; i < list->count(); ++i)
            flags.push_back(list->get(i)->isConsumed());
        return flags;
    }

private:
    std::vector<TokenItem> items;
    ArrayList<Token*>* list;
};

// Collects what the console printer writes to the screen while it lives; nothing reaches the
// console log.
class PrintedText {
public:
    PrintedText()
    {
        file = std::tmpfile();
        VoPrint* printer = VoPrint::instance();
        savedMode = printer->getMode();
        printer->setMode(VOPRINT_MODE_SCREEN);
        printer->setPageLength(0);
        printer->setConsoleStreams(file, nullptr);
    }
    ~PrintedText()
    {
        VoPrint* printer = VoPrint::instance();
        printer->setConsoleStreams(nullptr, nullptr);
        printer->setMode(savedMode);
        std::fclose(file);
    }
    PrintedText(const PrintedText&) = delete;
    PrintedText& operator=(const PrintedText&) = delete;

    std::string text()
    {
        std::fflush(file);
        std::rewind(file);
        std::string result;
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            result.append(buffer, n);
        std::fseek(file, 0, SEEK_END);
        return result;
    }

private:
    FILE* file;
    unsigned char savedMode;
};

// The values of a byte list, for comparisons.
inline std::vector<int> values(const ArrayList<unsigned char>& list)
{
    std::vector<int> result;
    for (unsigned char i = 0; i < list.count(); ++i)
        result.push_back(list.get(i));
    return result;
}

// Deletes the requests a parser returned, and the list.
inline void deleteRequests(ArrayList<ParsedObject*>* requests)
{
    if (requests == nullptr)
        return;
    for (unsigned char i = 0; i < requests->count(); ++i)
        delete requests->get(i);
    delete requests;
}

#endif
