// The parsers of the drive-security commands (keys, key ids, secure drives, instant secure
// erase, secure erase) and of the drive firmware download. Every case is a command line
// through the real scanner and grammar unless it shows a rule on a token list the grammar
// never hands over.
#include "CmdParserTestSupport.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/Cmd/Drive/PdFwDownloadParser.h"
#include "Parser/Cmd/Drive/SecureEraseParser.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/ParserUtil.h"

#include <gtest/gtest.h>

using namespace cmdtest;

namespace {

std::vector<int> ldsOf(const LdParsedObject* request)
{
    std::vector<int> result;
    for (unsigned char i = 0; i < request->getLdCount(); ++i)
        result.push_back(request->getLd(i));
    return result;
}

}  // namespace

// ---- security keys ------------------------------------------------------------------------

TEST(KeyParsers, LockKeyRequests)
{
    struct Case {
        const char* line;
        int command;
        const char* securityKey;
        const char* passphrase;
        const char* keyId;
        const char* oldKey;
        int useEkms;
        int oldIsPassphrase;
    } cases[] = {
        {"-CreateSecurityKey -SecurityKey Abc123! -Passphrase pp1 -KeyID k1 -a0", TOKEN_CREATESECURITYKEY,
         "Abc123!", "pp1", "k1", " ", 0, 0},
        {"-CreateSecurityKey -useEKMS -a0", TOKEN_CREATESECURITYKEY, "", "", "", " ", 1, 0},
        {"-VerifySecurityKey -Passphrase pp1 -a2", TOKEN_VERIFYSECURITYKEY, "", "pp1", "", " ", 0, 0},
        {"-ChangeSecurityKey -OldPassphrase old1 -Passphrase new1 -a0", TOKEN_CHANGESECURITYKEY, "", "new1", "",
         "old1", 0, 1},
        {"-ChangeSecurityKey -OldSecurityKey a -SecurityKey b -KeyID kid -a0", TOKEN_CHANGESECURITYKEY, "b", "",
         "kid", "a", 0, 0},
        {"-ChangeSecurityKey -SecurityKey b -a0", TOKEN_CHANGESECURITYKEY, "b", "", "", "", 0, 0},
        {"-ChangeSecurityKey -useEKMS -OldSecurityKey a -a0", TOKEN_CHANGESECURITYKEY, "", "", "", "a", 1, 0},
        // Texts are taken as typed: a leading minus, an option word, any length or make-up.
        {"-CreateSecurityKey -SecurityKey -a0 -a0", TOKEN_CREATESECURITYKEY, "-a0", "", "", " ", 0, 0},
        {"-CreateSecurityKey -SecurityKey -Force -a0", TOKEN_CREATESECURITYKEY, "-Force", "", "", " ", 0, 0},
        {"-CreateSecurityKey -SecurityKey x -a0", TOKEN_CREATESECURITYKEY, "x", "", "", " ", 0, 0},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parsed.count(), 1);
        EXPECT_EQ(parsed.requests->get(0)->getCommandToken(), c.command);
        LockKeyParsedObject* r = parsed.at<LockKeyParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_STREQ(r->getSecurityKey().c_str(), c.securityKey);
        EXPECT_STREQ(r->getPassphrase().c_str(), c.passphrase);
        EXPECT_STREQ(r->getKeyId().c_str(), c.keyId);
        EXPECT_STREQ(r->getOldSecurityKey().c_str(), c.oldKey);
        EXPECT_EQ(r->useExternalKeyManagement, c.useEkms);
        EXPECT_EQ(r->oldIsPassphrase, c.oldIsPassphrase);
        EXPECT_EQ(parsed.printed, "");
    }
}

TEST(KeyParsers, LongKeyPassesUnchanged)
{
    std::string key(300, 'k');
    ParsedLine parsed("-CreateSecurityKey -SecurityKey " + key + " -a0");
    LockKeyParsedObject* r = parsed.at<LockKeyParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r->getSecurityKey().c_str()), key);
}

TEST(KeyParsers, DestroyAndDeleteShareOneCommand)
{
    struct Case {
        const char* line;
        int force;
        int deleteWord;
    } cases[] = {
        {"-DeleteSecurityKey -a0", 0, 1},
        {"-DestroySecurityKey -Force -a0", 1, 0},
        {"-DestroySecurityKey -a0", 0, 0},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_DESTROYSECURITYKEY, 0}}));
        DestroyLockKeyParsedObject* r = parsed.at<DestroyLockKeyParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->force, c.force);
        EXPECT_EQ(r->deleteWord, c.deleteWord);
    }
}

TEST(KeyParsers, KeyIdOfTheAdapterOrOfDrives)
{
    ParsedLine adapter("-GetKeyID -a0");
    ASSERT_EQ(adapter.summary(), (Summary{{TOKEN_GET_KEYID, 0}}));
    AdPdKeyIDGetSetParsedObject* r = adapter.at<AdPdKeyIDGetSetParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getDriveList(), nullptr);
    EXPECT_STREQ(r->getKeyId().c_str(), " ");

    ParsedLine drives("-GetKeyID -PhysDrv[32:1,32:2] -a0");
    r = drives.at<AdPdKeyIDGetSetParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(drivesOf(r->getDriveList()), (Drives{{32, 1}, {32, 2}}));

    ParsedLine set("-SetKeyID -KeyID -k1 -a1");
    ASSERT_EQ(set.summary(), (Summary{{TOKEN_SET_KEYID, 1}}));
    r = set.at<AdPdKeyIDGetSetParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->getKeyId().c_str(), "-k1");
}

TEST(KeyParsers, BlankBesideTheColonRefusesTheKeyIdLine)
{
    ParsedLine parsed("-GetKeyID -PhysDrv[32: 1] -a0");
    EXPECT_FALSE(parsed.accepted());
    EXPECT_EQ(parsed.printed, "");
}

// The text rule takes the token after its word whatever it is, and refuses what is no text.
TEST(KeyParsers, TextRuleOnTokenListsTheGrammarNeverGives)
{
    struct Case {
        const char* name;
        std::vector<TokenItem> after;
        std::vector<int> consumed;
    } cases[] = {
        {"wordAtTheEnd", {}, {1, 1}},
        {"numberAfterTheWord", {num(5), adapterOption(), num(0)}, {1, 1, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TokenLine line{word(TOKEN_CREATESECURITYKEY, "CreateSecurityKey"), word(TOKEN_SECURITYKEY, "SecurityKey")};
        appendTokens(line, c.after);
        std::unique_ptr<Parser> parser(ParserFactory::instance()->create(TOKEN_CREATESECURITYKEY));
        ASSERT_TRUE(parser);
        EXPECT_EQ(parser->parse(line.tokens()), nullptr);
        EXPECT_EQ(line.consumed(), c.consumed);
    }
}

// ---- -LDMakeSecure, -PDInstantSecureErase, -PDReprovision ---------------------------------

TEST(SecureDriveParsers, MakeSecure)
{
    ParsedLine all("-LDMakeSecure -LALL -aALL");
    ASSERT_EQ(all.summary(), (Summary{{TOKEN_LDMAKESECURE, ALL_ADAPTERS}}));
    LdMakeSecureParsedObject* r = all.at<LdMakeSecureParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(ldsOf(r), std::vector<int>{ALL_LDS});

    ParsedLine some("-LDMakeSecure -L0,2 -a0,1");
    ASSERT_EQ(some.summary(), (Summary{{TOKEN_LDMAKESECURE, 0}, {TOKEN_LDMAKESECURE, 1}}));
    r = some.at<LdMakeSecureParsedObject>(1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(ldsOf(r), (std::vector<int>{0, 2}));
}

TEST(SecureDriveParsers, MakeSecureWithoutLogicalDriveRefuses)
{
    TokenLine line{word(TOKEN_LDMAKESECURE, "LDMakeSecure"), adapterOption(), num(0)};
    std::unique_ptr<Parser> parser(ParserFactory::instance()->create(TOKEN_LDMAKESECURE));
    ASSERT_TRUE(parser);
    EXPECT_EQ(parser->parse(line.tokens()), nullptr);
}

TEST(SecureDriveParsers, Reprovision)
{
    ParsedLine instant("-PDInstantSecureErase -PhysDrv[32:1] -Force -a0");
    ASSERT_EQ(instant.summary(), (Summary{{TOKEN_PDINSTANTSECUREERASE, 0}}));
    PdReprovisionParsedObject* r = instant.at<PdReprovisionParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->force, 1);
    EXPECT_EQ(drivesOf(r->getDriveList()), (Drives{{32, 1}}));

    ParsedLine reprovision("-PDReprovision -PhysDrv[32:1,:4] -a0,1");
    ASSERT_EQ(reprovision.summary(), (Summary{{TOKEN_PDREPROVISION, 0}, {TOKEN_PDREPROVISION, 1}}));
    r = reprovision.at<PdReprovisionParsedObject>(0);
    PdReprovisionParsedObject* second = reprovision.at<PdReprovisionParsedObject>(1);
    ASSERT_TRUE(r != nullptr && second != nullptr);
    EXPECT_EQ(r->force, 0);
    // Both requests share the one list.
    EXPECT_EQ(r->getDriveList(), second->getDriveList());
    EXPECT_EQ(drivesOf(r->getDriveList()), (Drives{{32, 1}, {0xFFFF, 4}}));

    ParsedLine malformed("-PDInstantSecureErase -PhysDrv[32:300] -a0");
    EXPECT_FALSE(malformed.accepted());
}

// ---- -SecureErase -------------------------------------------------------------------------

TEST(SecureEraseParser, Requests)
{
    struct Case {
        const char* line;
        int action, eraseType, pattern1, pattern2, deleteVd;
        std::vector<int> lds;
        Drives drives;
    } cases[] = {
        {"-SecureErase -Abort -L0 -a0", 354, 0, 0, 0, 0, {0}, {}},
        {"-SecureErase -Stop -L0 -a0", 354, 0, 0, 0, 0, {0}, {}},
        {"-SecureErase -ShowProg -LALL -a0", 357, 0, 0, 0, 0, {ALL_LDS}, {}},
        {"-SecureErase -ProgDsply -PhysDrv[32:1] -a0", 358, 0, 0, 0, 0, {}, {{32, 1}}},
        {"-SecureErase -Start -Thorough -ErasePattern 10101010 -ErasePattern 01010101 -DeleteVd -L1 -a0", 353,
         618, 0xAA, 0x55, 1, {1}, {}},
        {"-SecureErase -Start -Normal -L0 -a0", 353, 617, 0, 0, 0, {0}, {}},
        {"-SecureErase -Start -Simple -ErasePattern 11111111 -L0 -a0", 353, 619, 0xFF, 0, 0, {0}, {}},
        // A first pattern of zeros reads as none, so the second lands in the first place.
        {"-SecureErase -Start -Normal -ErasePattern 00000000 -ErasePattern 00000001 -L0 -a0", 353, 617, 0x01, 0,
         0, {0}, {}},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_SECUREERASE, 0}}));
        SecureErasePo* r = parsed.at<SecureErasePo>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->getAction(), c.action);
        EXPECT_EQ(r->getEraseType(), c.eraseType);
        EXPECT_EQ(r->getPattern1(), c.pattern1);
        EXPECT_EQ(r->getPattern2(), c.pattern2);
        EXPECT_EQ(r->deleteVd, c.deleteVd);
        EXPECT_EQ(ldsOf(r), c.lds);
        EXPECT_EQ(drivesOf(r->getDriveList()), c.drives);
        EXPECT_EQ(parsed.written, "");
    }
}

TEST(SecureEraseParser, DrivesOnSeveralAdaptersShareOneList)
{
    ParsedLine parsed("-SecureErase -Start -Simple -PhysDrv[32:1,32:2] -a0,1");
    ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_SECUREERASE, 0}, {TOKEN_SECUREERASE, 1}}));
    SecureErasePo* first = parsed.at<SecureErasePo>(0);
    SecureErasePo* second = parsed.at<SecureErasePo>(1);
    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_EQ(first->getLdCount(), 0);
    EXPECT_EQ(first->getDriveList(), second->getDriveList());
    EXPECT_EQ(drivesOf(second->getDriveList()), (Drives{{32, 1}, {32, 2}}));
    ArrayList<EnclSlotId*>* list = first->getDriveList();
    parsed.dropParser();
    EXPECT_EQ(SharedDriveList::holdersOf(list), 2u);
    ParsedObject* copy = first->clone();
    EXPECT_EQ(SharedDriveList::holdersOf(list), 3u);
    delete copy;
}

// Pattern texts go to standard output only: not through the message printer.
TEST(SecureEraseParser, BadPatternsRefuse)
{
    struct Case {
        const char* line;
        const char* written;
    } cases[] = {
        {"-SecureErase -Start -Normal -ErasePattern 1010101 -L0 -a0", "Invalid pattern\n"},
        {"-SecureErase -Start -Normal -ErasePattern 101010101 -L0 -a0", "Invalid pattern\n"},
        {"-SecureErase -Start -Normal -ErasePattern 1010101x -L0 -a0", "Invalid pattern 1010101x\n"},
        {"-SecureErase -Start -Normal -ErasePattern 10%s1010 -L0 -a0", "Invalid pattern 10%s1010\n"},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        EXPECT_FALSE(parsed.accepted());
        EXPECT_EQ(parsed.written, c.written);
        EXPECT_EQ(parsed.printed, "");
    }
}

TEST(SecureEraseParser, LinesWithoutATargetRefuse)
{
    // The blank beside the colon splits the item; no logical drive either.
    ParsedLine parsed("-SecureErase -ShowProg -PhysDrv[32: 1] -a0");
    EXPECT_FALSE(parsed.accepted());
    EXPECT_EQ(parsed.printed, "");
}

TEST(SecureEraseParser, ActionRulesOnTokenListsTheGrammarNeverGives)
{
    struct Case {
        const char* name;
        std::vector<unsigned short> words;
    } cases[] = {
        {"secondAction", {TOKEN_STOP, TOKEN_SHOWPROG}},
        {"actionAtTheEnd", {TOKEN_STOP}},
        {"startAfterStop", {TOKEN_STOP, TOKEN_START, TOKEN_NORMAL}},
        {"patternAtTheEnd", {TOKEN_STOP, TOKEN_ERASEPATTERN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TokenLine line{word(TOKEN_SECUREERASE, "SecureErase"), ldOption(), num(0)};
        for (unsigned short id : c.words)
            line.tokens()->add(new Token(id, new TokenValueStr(string("w"))));
        SecureEraseParser parser(TOKEN_SECUREERASE);
        EXPECT_EQ(parser.parse(line.tokens()), nullptr);
    }
}

// ---- -PdFwDownload ------------------------------------------------------------------------

TEST(PdFwDownloadParser, Requests)
{
    struct Case {
        const char* line;
        Summary summary;
        int mode, forceActivate, sataBridge, encDevId;
        const char* fileName;
        Drives devices;
    } cases[] = {
        {"-PdFwDownload -PhysDrv[32:1] -f fw.bin -a0", {{73, 0}}, 7, 0, 0, 0, "fw.bin", {{32, 1}}},
        {"-PdFwFlash -PhysDrv[32:1] -f fw.bin -a0", {{73, 0}}, 7, 0, 0, 0, "fw.bin", {{32, 1}}},
        {"-PdFwDownload -SataBridge -PhysDrv[32:1,32:2] -f fw.bin -Mode 5 -aALL", {{73, ALL_ADAPTERS}}, 5, 0, 1, 0,
         "fw.bin", {{32, 1}, {32, 2}}},
        {"-PdFwDownload -ForceActivate -EncdevId[2, 3] -f image.esm -Mode 5 -a0,1", {{73, 0}, {73, 1}}, 5, 1, 0, 1,
         "image.esm", {{2, 0}, {3, 0}}},
        {"-PdFwDownload -EncdevId[65535] -f e.esm -Mode 7 -a0", {{73, 0}}, 7, 0, 0, 1, "e.esm", {{65535, 0}}},
        // Only ".dlp" or ".DLP" from the first point on is the retired format.
        {"-PdFwDownload -PhysDrv[32:1] -f fw.Dlp -a0", {{73, 0}}, 7, 0, 0, 0, "fw.Dlp", {{32, 1}}},
        {"-PdFwDownload -PhysDrv[32:1] -f fw.dl -a0", {{73, 0}}, 7, 0, 0, 0, "fw.dl", {{32, 1}}},
        {"-PdFwDownload -PhysDrv[32:1] -f ./fw.dlp -a0", {{73, 0}}, 7, 0, 0, 0, "./fw.dlp", {{32, 1}}},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parsed.summary(), c.summary);
        for (unsigned char i = 0; i < c.summary.size(); ++i) {
            PdFwDownloadPo* r = parsed.at<PdFwDownloadPo>(i);
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(r->getMode(), static_cast<unsigned int>(c.mode));
            EXPECT_EQ(r->getForceActivate(), c.forceActivate);
            EXPECT_EQ(r->getSataBridge(), c.sataBridge);
            EXPECT_EQ(r->getEncDevId(), c.encDevId);
            EXPECT_STREQ(r->getFileName().c_str(), c.fileName);
            EXPECT_EQ(drivesOf(r->getDeviceList()), c.devices);
        }
        EXPECT_EQ(parsed.printed, "");
    }
}

TEST(PdFwDownloadParser, RefusedLines)
{
    struct Case {
        const char* line;
        const char* printed;
    } cases[] = {
        {"-PdFwDownload -PhysDrv[32:1] -f fw.bin -Mode 6 -a0", "Unsupported mode \n"},
        {"-PdFwDownload -Offline -PhysDrv[252:0] -f fw.bin -a0", "Invalid command.\n"},
        {"-PdFwDownload -Offline -ForceActivate -EncdevId[1] -f fw.bin -Mode 7 -a0", "Invalid command.\n"},
        {"-PdFwDownload -PhysDrv[32:1] -f fw.dlp -a0", "This command is deprecated.\n"},
        {"-PdFwDownload -PhysDrv[32:1] -f FW.DLP -a0", "This command is deprecated.\n"},
        {"-PdFwDownload -PhysDrv[32:1] -f fw.dlp.bin -a0", "This command is deprecated.\n"},
        {"-PdFwDownload -PhysDrv[32: 1] -f fw.bin -a0", ""},
        // An enclosure device id is never cut to another device's.
        {"-PdFwDownload -EncdevId[65536] -f e.esm -a0", ""},
        {"-PdFwDownload -EncdevId[1,70000] -f e.esm -a0", ""},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        EXPECT_FALSE(parsed.accepted());
        EXPECT_EQ(parsed.printed, c.printed);
    }
}

TEST(PdFwDownloadParser, DeviceIdLists)
{
    struct Case {
        const char* text;
        bool accepted;
        Drives devices;
    } cases[] = {
        {"2,3", true, {{2, 0}, {3, 0}}},
        {" 2 , 3 ", true, {{2, 0}, {3, 0}}},
        {"", true, {}},
        {"0", true, {{0, 0}}},
        {"65535", true, {{65535, 0}}},
        {"65536", false, {}},
        {"99999999999", false, {}},
        {"1,,2", false, {}},
        {"1a", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ArrayList<EnclSlotId*>* list = PdFwDownloadParser::parseDeviceIdList(c.text);
        EXPECT_EQ(list != nullptr, c.accepted);
        EXPECT_EQ(drivesOf(list), c.devices);
        ParserUtil::deleteEnclSlotList(list);
    }
}
