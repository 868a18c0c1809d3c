// The base of every command parser.
//
// A parser turns the token list of one accepted command line into requests, one per adapter
// named on the line. It holds a table of rules (a token id and the handler that takes tokens of
// that id), walks the token list and hands each token not yet taken to the rule for its id;
// a token without a rule goes to the default rule, which reports it and lets parsing go on.
//
// The base supplies the rules every command shares: the command word itself and the adapter
// choice ("-aN", "-a0,1,2", "-aALL"). LdObjectsParser adds the logical-drive choice ("-Lx",
// "-L0,1,2", "-LALL").
//
// Handler contract: handler(tokens, position) is called for the token at position; it returns
// 0 when it has taken the token (and possibly tokens after it) and -1 when the token is not
// its own or its operands are wrong. Every token a handler takes is marked consumed, so the
// walk passes over it.
//
// A concrete parser class XParser provides:
//   static Parser* create(unsigned short commandToken);      // a new XParser for that token
//   static ArrayList<unsigned short>* commandTokens();        // new list of the ids it serves
//   ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;
// and adds its own rules in its constructor, after the base rules. A rule added later for an
// id wins over an earlier one, so a class may replace the base's rules, the command word's
// included.
#ifndef PARSER_H
#define PARSER_H

#include "PavUtil/Functor.h"
#include "PavUtil/List.h"
#include "PavUtil/Memory.h"

class Token;
class ParsedObject;

// Largest adapter number a command line may name.
constexpr int MAX_ADAPTER_NUMBER = 250;

// One rule of a parser: the token id it serves and its handler. An empty rule has an empty
// handler.
struct TokenRule {
    short tokenId;
    TokenHandler handler;

    TokenRule() : tokenId(0) {}
};

// Accepts every syntax list; kept so that every parser runs the same steps.
int checkSyntaxList(ArrayList<Token*>* syntaxList);

class Parser {
public:
    // Most rules any parser holds, the base's three included.
    static constexpr int MAX_RULES = 40;

    explicit Parser(int commandToken);
    virtual ~Parser();

    // Turns the token list into a new list of requests (one per adapter; empty when the line
    // names no adapter), or null when the command is rejected. The caller owns the list and
    // its requests.
    virtual ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) = 0;

    // Appends a rule. 0, or -1 (nothing added) when the table already holds MAX_RULES rules.
    int addRule(short tokenId, TokenHandler handler);
    // The handler of the rule added last for the id; the default rule when no rule serves it.
    TokenHandler findRule(short tokenId) const;
    // Walks the tokens from the first and gives each token not yet consumed to its rule. The
    // first non-zero result stops the walk and is returned; 0 when every call returned 0.
    int dispatchTokens(ArrayList<Token*>* tokens);

    // A rule handler bound to this parser, from a member function of its class (or of a base).
    template <class P>
    TokenHandler makeHandler(int (P::*member)(ArrayList<Token*>*, unsigned char))
    {
        return makeFunctor(static_cast<P*>(this), member);
    }

    // The shared rules.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onAdapterOption(ArrayList<Token*>* tokens, unsigned char position);
    int onAllAdapters(ArrayList<Token*>* tokens, unsigned char position);
    int onUnexpectedToken(ArrayList<Token*>* tokens, unsigned char position);

    unsigned short getCommandToken() const { return static_cast<unsigned short>(commandToken); }
    // The adapter numbers chosen on the line, in the order given, each at most once;
    // ALL_ADAPTERS for "-aALL".
    const ArrayList<unsigned char>& getAdapters() const { return adapters; }
    unsigned char getRuleCount() const { return ruleCount; }
    const ArrayList<Token*>* getSyntaxList() const { return syntaxList; }

protected:
    // The command's words as its usage shows them. Creates the (empty) list when there is
    // none yet; 0, or -1 when out of memory.
    int createSyntaxList();
    // Appends one word to the syntax list (creating the list first); 0, or -1 when out of
    // memory.
    int addSyntaxWord(unsigned short tokenId, const char* word);

    // The common first step of parse: the syntax check and the walk over the tokens.
    // 0 when every rule accepted its tokens, -1 when the command is rejected.
    int acceptTokens(ArrayList<Token*>* tokens);

    // The common last step of parse: a new list with one request per entry of the adapter
    // list, in list order, each made by makeRequest(adapterNumber). When an allocation fails
    // the requests made so far are deleted and the result is null.
    template <class MakeRequest>
    ArrayList<ParsedObject*>* makeRequestsPerAdapter(MakeRequest makeRequest)
    {
        ArrayList<ParsedObject*>* requests =
            new (noThrowNew) ArrayList<ParsedObject*>(adapters.count());
        if (requests == nullptr)
            return nullptr;
        for (unsigned char i = 0; i < adapters.count(); ++i) {
            ParsedObject* request = makeRequest(adapters.get(i));
            if (request == nullptr || requests->add(request) != 0) {
                deleteRequest(request);
                deleteRequests(requests);
                return nullptr;
            }
        }
        return requests;
    }

    // Deletes every request of the list and the list; nothing for null.
    static void deleteRequests(ArrayList<ParsedObject*>* requests);
    static void deleteRequest(ParsedObject* request);

    ArrayList<Token*>* syntaxList;   // owned, with its tokens; null until a class makes it
    unsigned char ruleCount;
    TokenRule rules[MAX_RULES];      // in the order the rules were added
    ArrayList<unsigned char> adapters;
    short commandToken;              // the command word this parser was created for
    TokenHandler defaultRule;        // onUnexpectedToken

private:
    // The rules hold handlers bound to this object: a copy would call into the original.
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
};

// A parser of the commands that also take a logical-drive choice.
class LdObjectsParser : public Parser {
public:
    explicit LdObjectsParser(int commandToken);
    ~LdObjectsParser() override;

    // "-L" followed by numbers. A number that is no logical drive (above 255), or the value
    // that stands for every logical drive (ALL_LDS) typed as a number, rejects the command:
    // it must never widen the command to other drives than the ones typed.
    int onLogicalDriveOption(ArrayList<Token*>* tokens, unsigned char position);
    int onAllLogicalDrives(ArrayList<Token*>* tokens, unsigned char position);

    // The logical-drive numbers given, in the order given, duplicates kept; ALL_LDS for
    // "-LALL".
    const ArrayList<unsigned char>& getLogicalDrives() const { return logicalDrives; }

protected:
    // The common first step of the parsers whose commands need a logical drive: the walk over
    // the tokens (acceptTokens), then at least one logical drive. 0, or -1 when the command is
    // rejected.
    int acceptLogicalDriveTokens(ArrayList<Token*>* tokens);

    ArrayList<unsigned char> logicalDrives;
};

#endif
