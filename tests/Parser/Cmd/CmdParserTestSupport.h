// Helpers of the command-parser tests: a command line scanned and checked by the real scanner
// and grammar, parsed by the parser the factory gives for its first word, with what the
// parse printed through the message printer and what it wrote straight to standard output.
#ifndef CMDPARSERTESTSUPPORT_H
#define CMDPARSERTESTSUPPORT_H

#include "ParserTestSupport.h"

#include "Parser/EnclSlotId.h"
#include "Parser/Grammar.h"
#include "Parser/ParserFactory.h"
#include "Parser/Scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace cmdtest {

// Sends the process's standard output to a temporary file while it lives.
class StdoutCapture {
public:
    StdoutCapture()
    {
        std::fflush(stdout);
        file = std::tmpfile();
        saved = dup(fileno(stdout));
        dup2(fileno(file), fileno(stdout));
    }
    ~StdoutCapture()
    {
        finish();
        std::fclose(file);
    }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Ends the capture and gives what was written.
    std::string text()
    {
        finish();
        std::rewind(file);
        std::string result;
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            result.append(buffer, n);
        return result;
    }

private:
    void finish()
    {
        if (saved < 0)
            return;
        std::fflush(stdout);
        dup2(saved, fileno(stdout));
        close(saved);
        saved = -1;
    }

    FILE* file;
    int saved;
};

// One command line through scanner, grammar and parser. The line must pass the grammar.
class ParsedLine {
public:
    explicit ParsedLine(const std::string& line)
    {
        parserRegistrationAnchor();
        scannerResetState();
        {
            StdoutCapture echo;  // the scanner echoes the line
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
        StdoutCapture out;
        requests = parser->parse(tokens);
        written = out.text();
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
