// Helpers of the command-parser tests: a command line scanned and checked by the real scanner
// and grammar, parsed by the parser the factory gives for its first word, with what the
// parse printed through the message printer and what it wrote straight to standard output.
#ifndef CMDPARSERTESTSUPPORT_H
#define CMDPARSERTESTSUPPORT_H

#include "ParserTestSupport.h"
#include "TestSupport.h"

#include "RaidManager/EnclSlotId.h"
#include "Parser/Grammar.h"
#include "Parser/ParserFactory.h"
#include "Parser/Scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace cmdtest {

// Appends tokens to a hand-made line, for token lists the grammar never hands over.
inline void appendTokens(TokenLine& line, const std::vector<TokenItem>& items)
{
    for (const TokenItem& item : items) {
        TokenValue* value = item.id == TOKEN_NUMBER ? static_cast<TokenValue*>(new TokenValueInt(item.number))
                                                    : new TokenValueStr(string(item.text.c_str()));
        line.tokens()->add(new Token(item.id, value));
    }
}

// One command line through scanner, grammar and parser. The line must pass the grammar.
class ParsedLine {
public:
    explicit ParsedLine(const std::string& line)
    {
        scannerResetState();
        {
            testsupport::StreamCapture echo;  // the scanner echoes the line
            tokens = tokenize((line + " ").c_str());
        }
        if (tokens == nullptr || tokens->count() == 0) {
            ADD_FAILURE() << "the grammar refused: " << line;
            return;
        }
        parser.reset(ParserFactory::instance()->create(tokens->get(0)->getId()));
        if (!parser) {
            ADD_FAILURE() << "no parser for: " << line;
            return;
        }
        PrintedText printer;
        testsupport::StreamCapture out;
        requests = parser->parse(tokens);
        written = out.take();
        printed = printer.text();
    }
    ~ParsedLine()
    {
        deleteRequests(requests);
        parser.reset();
        deleteTokenList(tokens);
    }
    ParsedLine(const ParsedLine&) = delete;
    ParsedLine& operator=(const ParsedLine&) = delete;

    bool accepted() const { return requests != nullptr; }
    int count() const { return requests != nullptr ? requests->count() : -1; }
    // The request at the index as its class; a test failure (and null) when it is another.
    template <class Request>
    Request* at(unsigned char index) const
    {
        if (requests == nullptr || index >= requests->count()) {
            ADD_FAILURE() << "no request " << int(index);
            return nullptr;
        }
        Request* request = dynamic_cast<Request*>(requests->get(index));
        EXPECT_NE(request, nullptr) << "request " << int(index) << " is of another class";
        return request;
    }
    // (command token, adapter) of every request, in order.
    std::vector<std::pair<int, int>> summary() const
    {
        std::vector<std::pair<int, int>> result;
        for (unsigned char i = 0; requests != nullptr && i < requests->count(); ++i)
            result.push_back({requests->get(i)->getCommandToken(), requests->get(i)->getAdapterNumber()});
        return result;
    }
    // Deletes the parser now (the front end does so before the requests run).
    void dropParser() { parser.reset(); }

    std::unique_ptr<Parser> parser;
    ArrayList<Token*>* tokens = nullptr;
    ArrayList<ParsedObject*>* requests = nullptr;
    std::string printed;  // through the message printer
    std::string written;  // straight to standard output
};

typedef std::vector<std::pair<int, int>> Summary;
typedef std::vector<std::pair<int, int>> Drives;  // (enclosure, slot)

inline Drives drivesOf(const ArrayList<EnclSlotId*>* list)
{
    Drives result;
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i)
        result.push_back({list->get(i)->getEnclosureId(), list->get(i)->getSlotNumber()});
    return result;
}

template <class Entry>
Drives entriesOf(const ArrayList<Entry*>* list)
{
    Drives result;
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i)
        result.push_back({list->get(i)->getEnclosureId(), list->get(i)->getSlot()});
    return result;
}


}  // namespace cmdtest

#endif
