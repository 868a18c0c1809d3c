#include "Parser/VolantManager.h"

#include "ControllerMgmt/ControllerMgmt.h"
#include "ControllerMgmt/LinuxControllerMgmt.h"
#include "CpMgmt/CpControllerMgmt.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/FwErrorDescriptions.h"
#include "Output/PavaneLog.h"
#include "Output/VoError.h"
#include "Output/VoMessage.h"
#include "Output/VoPrint.h"
#include "Parser/Grammar.h"
#include "Parser/ParsedObject.h"
#include "Parser/Parser.h"
#include "Parser/ParserFactory.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "System/PavError.h"

namespace {

// Page length of "-page" without a number.
const unsigned char DEFAULT_PAGE_LENGTH = 24;

void setModeBits(unsigned char bits, bool on)
{
    VoPrint* printer = VoPrint::instance();
    if (printer == nullptr)
        return;
    unsigned char mode = printer->getMode();
    mode = on ? static_cast<unsigned char>(mode | bits) : static_cast<unsigned char>(mode & ~bits);
    printer->setMode(mode);
}

// The number of a TOKEN_NUMBER token; false for any other token.
bool numberOf(Token* token, int& value)
{
    if (token == nullptr || token->getId() != TOKEN_NUMBER)
        return false;
    TokenValueInt* number = dynamic_cast<TokenValueInt*>(token->getValue());
    if (number == nullptr)
        return false;
    value = number->getValue();
    return true;
}

// The text of a TOKEN_ALPHANUM_CONSTANT token; false for any other token.
bool textOf(Token* token, string& text)
{
    if (token == nullptr || token->getId() != TOKEN_ALPHANUM_CONSTANT)
        return false;
    TokenValueStr* value = dynamic_cast<TokenValueStr*>(token->getValue());
    if (value == nullptr)
        return false;
    text = value->getValue();
    return true;
}

}  // namespace

void enableOutputLog()
{
    setModeBits(VOPRINT_MODE_LOG, true);
}

void disableOutputLog()
{
    setModeBits(VOPRINT_MODE_LOG, false);
}

void disableScreenOutput()
{
    setModeBits(VOPRINT_MODE_SCREEN, false);
}

VolantManager* VolantManager::instance()
{
    static VolantManager manager;
    return &manager;
}

VolantManager::~VolantManager() {}

int VolantManager::processGlobalOptions(ArrayList<Token*>* tokens)
{
    if (tokens == nullptr)
        return 0;
    int result = 0;
    unsigned char count = tokens->count();
    // A wider cursor than the 8-bit count: stepping past an operand at the end of a full list
    // must not wrap around to its start.
    for (unsigned short i = 0; i < count; ++i) {
        Token* token = tokens->get(static_cast<unsigned char>(i));
        if (token == nullptr)
            continue;
        // The operand of an option, when the list goes on (the grammar guarantees it does for
        // every option but PAGE).
        Token* operand = i + 1 < count ? tokens->get(static_cast<unsigned char>(i + 1)) : nullptr;
        int number = 0;
        string text;
        switch (token->getId()) {
        case TOKEN_PAGEBRK:
            token->setConsumed(1);
            if (operand == nullptr) {
                VoPrint::instance()->setPageLength(DEFAULT_PAGE_LENGTH);
                break;
            }
            operand->setConsumed(1);
            if (numberOf(operand, number))
                VoPrint::instance()->setPageLength(static_cast<unsigned char>(number & 0xFF));
            else
                result = -1;
            ++i;
            break;
        case TOKEN_SILENT:
            disableScreenOutput();
            token->setConsumed(1);
            break;
        case TOKEN_SET_LOG_LEVEL:
            token->setConsumed(1);
            if (operand != nullptr)
                operand->setConsumed(1);
            if (numberOf(operand, number))
                setDebugLogLevel(static_cast<uint8_t>(number & 0xFF));
            else
                result = -1;
            ++i;
            break;
        case TOKEN_SET_LOG_FILE_NAME:
            token->setConsumed(1);
            if (operand != nullptr)
                operand->setConsumed(1);
            if (textOf(operand, text))
                setAppLogFileName(text);
            else
                result = -1;
            ++i;
            break;
        case TOKEN_APP_LOG_FILE_NAME:
            token->setConsumed(1);
            if (operand != nullptr)
                operand->setConsumed(1);
            if (textOf(operand, text))
                VoPrint::instance()->setLogFileName(text);
            else
                result = -1;
            ++i;
            break;
        case TOKEN_NOLOG:
            setAppLogMode(LOGMODE_OFF);
            setDebugLogMode(LOGMODE_OFF);
            disableOutputLog();
            token->setConsumed(1);
            break;
        case TOKEN_NEWLOGFILE:
            setAppLogMode(LOGMODE_NEWFILE);
            setDebugLogMode(LOGMODE_NEWFILE);
            token->setConsumed(1);
            break;
        case TOKEN_APPENDLOGFILE:
            // The logs start in append mode; "-Append" keeps the modes as they are, so that it
            // never switches logs back on that "-NoLog" switched off.
            token->setConsumed(1);
            break;
        default:
            break;
        }
    }
    return result;
}

int VolantManager::run(const apstring& commandLine)
{
    // The scanner's echo, the grammar's rejection and the blank-out line never reach the
    // console log.
    disableOutputLog();

    Tokenizer* tokenizer = new (noThrowNew) Tokenizer();
    if (tokenizer == nullptr)
        return -1;
    ArrayList<Token*>* tokens = tokenizer->tokenize(commandLine);
    if (tokens == nullptr || tokens->count() == 0 || tokens->get(0) == nullptr) {
        delete tokenizer;
        return -1;
    }
    unsigned short id = tokens->get(0)->getId();

    ParserFactory* factory = ParserFactory::instance();
    Parser* parser = factory != nullptr ? factory->create(id) : nullptr;
    if (parser == nullptr) {
        delete tokenizer;
        return -1;
    }

    enableOutputLog();
    ignoreStatus(processGlobalOptions(tokens),
                 "an option whose operand is of the wrong kind has no effect; the command runs all the same");

    ArrayList<ParsedObject*>* requests = parser->parse(tokens);
    if (requests == nullptr) {
        printMessage(MSG_PARSE_FAILED);
        delete parser;
        delete tokenizer;
        return -1;
    }
    // Parser first, then the tokens: neither may be referred to by a request once it runs.
    delete parser;
    delete tokenizer;

    CpControllerMgmt* dispatcher = CpControllerMgmt::instance();
    if (dispatcher == nullptr) {
        for (unsigned char i = 0; i < requests->count(); ++i)
            delete requests->get(i);
        delete requests;
        return -1;
    }
    return dispatcher->run(requests);
}

VolantCleaner::~VolantCleaner()
{
    LinuxControllerMgmt::instance(255);
    ControllerMgmt::releaseVendorDeviceIds();
}

int finishRun(int result)
{
    if (result == 0) {
        printMessage(MSG_EXIT_CODE, 0);
        return 0;
    }
    uint32_t word = PavError::takeLastError();
    int status = static_cast<int>(word & 0xFFFFu);
    if ((word & PAVERROR_KIND_MASK) == PAVERROR_KIND_FW_STATUS && status != 0) {
        if (result == -1) {
            printMessage(MSG_EXIT_CODE, 1);
            return 1;
        }
        printMessage(MSG_TEXT, "\nFW error description: ");
        // The description is that of the command's result, which the firmware status led to.
        printMessage(MSG_TEXT, findFwErrorDescription(selectedFwErrorDescriptions(), static_cast<uint32_t>(result)));
        printMessage(MSG_EXIT_CODE, status);
        return status;
    }
    if (result == -1)
        result = 1;
    printMessage(MSG_EXIT_CODE, result);
    return result;
}

int volantMain(int argc, char** argv)
{
    VolantCleaner cleaner;
    if (argc <= 1 || argv == nullptr) {
        reportError(VOERROR_WRONG_PARAMETERS);
        printMessage(MSG_EXIT_CODE, 1);
        return 1;
    }
    string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr)
            continue;
        commandLine += apstring(argv[i]);
        commandLine += ' ';
    }
    return finishRun(VolantManager::instance()->run(commandLine));
}
