// Whole command lines through the scanner and the grammar, then through the parser that the
// factory gives for the first word, as the program runs them; the requests are described as
// text so that a test table can list what each line must give.
#ifndef LINEPARSESUPPORT_H
#define LINEPARSESUPPORT_H

#include "ParserTestSupport.h"

#include <gtest/gtest.h>

#include "Parser/Grammar.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Scanner.h"

#include <ctime>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// What a line gave: one description per request, in order, or one of the two refusals.
const std::vector<std::string> REFUSED_BY_GRAMMAR = {"refused by the grammar"};
const std::vector<std::string> REFUSED = {"refused by the parser"};

struct LineOutcome {
    std::vector<std::string> requests;
    std::string printed;  // what the parser printed (the grammar's echo left out)
};

// The request's command token and adapter, as every description begins.
inline std::string head(const ParsedObject& request)
{
    return "token=" + std::to_string(request.getCommandToken()) +
           " adapter=" + std::to_string(request.getAdapterNumber());
}

inline std::string byteList(const ArrayList<unsigned char>* list)
{
    if (list == nullptr)
        return "none";
    std::string text;
    for (unsigned char i = 0; i < list->count(); ++i)
        text += (i ? "," : "") + std::to_string(list->get(i));
    return text;
}

inline std::string driveList(const ArrayList<EnclSlotId*>* list)
{
    if (list == nullptr)
        return "none";
    std::string text;
    for (unsigned char i = 0; i < list->count(); ++i) {
        text += (i ? "," : "") + std::to_string(list->get(i)->getEnclosureId()) + ":" +
                std::to_string(list->get(i)->getSlotNumber());
    }
    return text;
}

// A schedule's start time as "years-since-1900/month-0-11/day h:m:s", "none" when not given.
inline std::string startTimeText(const struct tm* start)
{
    if (start->tm_year == 0)
        return "none";
    return std::to_string(start->tm_year) + "/" + std::to_string(start->tm_mon) + "/" +
           std::to_string(start->tm_mday) + " " + std::to_string(start->tm_hour) + ":" +
           std::to_string(start->tm_min) + ":" + std::to_string(start->tm_sec);
}

// Parses the line (words separated by blanks, as the program joins its arguments) in a fresh
// state: no file name kept from an earlier line. Each request must be a Request, which
// `describe` turns into text.
template <class Request, class Describe>
LineOutcome parseLine(const std::string& line, Describe describe)
{
    LineOutcome outcome;
    ParserUtil::clearFileName();
    scannerResetState();
    ArrayList<Token*>* tokens = nullptr;
    {
        PrintedText echo;
        tokens = tokenize((line + " ").c_str());
    }
    if (tokens == nullptr) {
        outcome.requests = REFUSED_BY_GRAMMAR;
        return outcome;
    }
    PrintedText printed;
    std::unique_ptr<Parser> parser(ParserFactory::instance()->create(tokens->get(0)->getId()));
    ArrayList<ParsedObject*>* requests = parser ? parser->parse(tokens) : nullptr;
    // The program deletes the parser before any request runs.
    parser.reset();
    if (requests == nullptr)
        outcome.requests = REFUSED;
    for (unsigned char i = 0; requests != nullptr && i < requests->count(); ++i) {
        const Request* request = dynamic_cast<const Request*>(requests->get(i));
        outcome.requests.push_back(request != nullptr ? describe(*request) : "another request class");
    }
    deleteRequests(requests);
    deleteTokenList(tokens);
    ParserUtil::clearFileName();
    outcome.printed = printed.text();
    return outcome;
}

// One row of a parser's table: a line and what it gives.
struct LineCase {
    std::string line;
    std::vector<std::string> requests;
    std::string printed = "";
};

template <class Request, class Describe>
void expectLines(const std::vector<LineCase>& cases, Describe describe)
{
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        LineOutcome outcome = parseLine<Request>(c.line, describe);
        EXPECT_EQ(outcome.requests, c.requests);
        EXPECT_EQ(outcome.printed, c.printed);
    }
}

#endif
