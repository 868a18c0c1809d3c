// The command line, as the front end runs it up to the dispatcher: scanning and the grammar,
// the parser chosen by the first word, the global options, the requests, their clones (as the
// dispatcher makes them for "-aALL") and the deletion of all of it. Nothing reaches a
// controller or a file: the first platform call ends the run as a finding.
#include "FuzzSupport.h"

#include "Parser/Grammar.h"
#include "Parser/ParsedObject.h"
#include "Parser/Parser.h"
#include "Parser/ParserFactory.h"
#include "Parser/Scanner.h"
#include "Parser/Token.h"
#include "Parser/VolantManager.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/apstring.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void deleteRequestList(ArrayList<ParsedObject*>* requests)
{
    for (unsigned char i = 0; i < requests->count(); ++i)
        delete requests->get(i);
    delete requests;
}

void runLine(const std::string& line)
{
    scannerResetState();
    Tokenizer* tokenizer = new Tokenizer;
    ArrayList<Token*>* tokens = tokenizer->tokenize(apstring(line.c_str()));
    Parser* parser = nullptr;
    if (tokens != nullptr && tokens->count() > 0 && tokens->get(0) != nullptr)
        parser = ParserFactory::instance()->create(tokens->get(0)->getId());
    ArrayList<ParsedObject*>* requests = nullptr;
    if (parser != nullptr) {
        ignoreStatus(VolantManager::instance()->processGlobalOptions(tokens), "the front end goes on after it too");
        resetConsole();
        requests = parser->parse(tokens);
    }
    // The front end's order: the parser, then the tokens, before any request is used, so a
    // request that kept a pointer into either shows as a use after free.
    delete parser;
    delete tokenizer;
    if (requests == nullptr)
        return;
    for (unsigned char i = 0; i < requests->count(); ++i)
        delete requests->get(i)->clone();
    deleteRequestList(requests);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A single word longer than the scanner's limit ends the process by design (exit status
    // 2 with a message); such inputs are left out rather than reported as findings.
    std::string line;
    if (size > static_cast<size_t>(SCANNER_MAX_MATCH) || !inputText(data, size, line))
        return -1;
    resetConsole();
    runLine(line);
    return 0;
}
