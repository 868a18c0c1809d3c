// The drive-security key commands of the adapter data over described controllers: the blocks
// they send (the simulated controller refuses a text field that is not zero after its NUL), the
// key state the controller keeps through create, change, complete, verify, escrow and destroy,
// the key ids, and the refusal of texts that do not fit their fields.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DescribedAdapter.h"

namespace {

const uint32_t LOCK_KEY_CREATE = 0x01150100;
const uint32_t LOCK_KEY_GET_ID = 0x01150200;
const uint32_t LOCK_KEY_GET_PD_KEY_ID = 0x01150301;
const uint32_t LOCK_KEY_DESTROY = 0x01150900;

using describedadapter::DescribedAdapter;
using describedadapter::failing;

// A controller with drive security and no key yet.
const char* SECURE = "\"info\": {\"storageFeatures\": \"0x24\"}";

// The mailbox word 0 each command of `opcode` carried, from the command log.
std::vector<std::string> mailboxes(const DescribedAdapter& a, const char* opcode)
{
    std::vector<std::string> out;
    for (const std::string& line : a.host.commands()) {
        const std::string prefix = std::string("opcode=") + opcode + " mbox=";
        const size_t at = line.find(prefix);
        if (at != std::string::npos)
            out.push_back(line.substr(at + prefix.size(), 10));
    }
    return out;
}

uint8_t assigned(DescribedAdapter& a)
{
    uint8_t bit = 0, value = 9;
    EXPECT_EQ(a.data->refreshControllerInfo(&bit), 0);
    EXPECT_EQ(a.data->isSecurityKeyAssigned(&value), 0);
    return value;
}

}  // namespace

TEST(AdapterSecurityKeys, CreateAssignsTheKeyAndTheNextRunSeesIt)
{
    DescribedAdapter a(SECURE);
    EXPECT_EQ(assigned(a), 0);
    // An empty pass phrase: its 72 bytes go as zeros, or the controller would refuse the block.
    ASSERT_EQ(a.data->createSecurityKey(string("Secret#1"), string(""), string("ctl-key-1"), 0), 0);
    EXPECT_EQ(mailboxes(a, "0x01150100"), (std::vector<std::string>{"0x00000000"}));
    const sim::SecurityKeys keys = a.saved().securityKeys;
    EXPECT_EQ(keys.key, "Secret#1");
    EXPECT_EQ(keys.passPhrase, "");
    EXPECT_EQ(keys.keyId, "ctl-key-1");
    EXPECT_EQ(assigned(a), 1);

    a.renew();
    EXPECT_EQ(assigned(a), 1);
    string keyId("unchanged");
    ASSERT_EQ(a.data->getControllerSecurityKeyId(&keyId), 0);
    EXPECT_STREQ(keyId.c_str(), "ctl-key-1");
    EXPECT_EQ(a.data->createSecurityKey(string("Other#2"), string(""), string(""), 0), 3) << "a key is assigned";
}

TEST(AdapterSecurityKeys, ChangeWithOldKeyTextThenVerify)
{
    DescribedAdapter a(SECURE);
    ASSERT_EQ(a.data->createSecurityKey(string("Secret#1"), string("pass phrase"), string("id-1"), 0), 0);
    ASSERT_EQ(a.data->createSecurityKey(string("Newer#22"), string("new phrase"), string("id-2"), 4), 0);
    EXPECT_EQ(a.data->changeSecurityKey(string("Wrong#99")), 3) << "the old key does not match";
    ASSERT_EQ(a.data->changeSecurityKey(string("Secret#1")), 0);
    EXPECT_EQ(mailboxes(a, "0x01150100"), (std::vector<std::string>{"0x00000000", "0x00000004"}));
    const sim::SecurityKeys keys = a.saved().securityKeys;
    EXPECT_EQ(keys.key, "Newer#22");
    EXPECT_EQ(keys.passPhrase, "new phrase");
    EXPECT_EQ(keys.keyId, "id-2");
    EXPECT_FALSE(keys.changeStaged);

    EXPECT_EQ(a.data->verifySecurityKey(string("Newer#22"), 1), 0);
    EXPECT_EQ(a.data->verifySecurityKey(string("Secret#1"), 1), 3);
    EXPECT_EQ(mailboxes(a, "0x01150500"), (std::vector<std::string>{"0x00000001", "0x00000001"}));
    EXPECT_EQ(a.data->changeSecurityKey(string("Again#333")), 3) << "no change staged";
}

TEST(AdapterSecurityKeys, CompletingAChangeWithoutKeyText)
{
    DescribedAdapter a(SECURE);
    ASSERT_EQ(a.data->createSecurityKey(string("Secret#1"), string(""), string("id-1"), 0), 0);
    ASSERT_EQ(a.data->setExternalKeyManagementKey(20), 0);
    uint8_t bit = 0, state = 0;
    ASSERT_EQ(a.data->refreshControllerInfo(&bit), 0);
    ASSERT_EQ(a.data->getKeyManagementState(&state), 0);
    EXPECT_EQ(state, 4) << "a change waits without new key text";
    // 104 zero bytes: a text would become the key.
    ASSERT_EQ(a.data->completeSecurityKeyChange(), 0);
    const sim::SecurityKeys keys = a.saved().securityKeys;
    EXPECT_TRUE(keys.external);
    EXPECT_EQ(keys.key, "");
    EXPECT_EQ(keys.keyId, "id-1");
    ASSERT_EQ(a.data->refreshControllerInfo(&bit), 0);
    ASSERT_EQ(a.data->getKeyManagementState(&state), 0);
    EXPECT_EQ(state, 0);
}

TEST(AdapterSecurityKeys, EscrowAndDestroy)
{
    {
        DescribedAdapter a(std::string(SECURE) + ", \"lds\": [{\"targetId\": 0, \"encryption\": 1}]");
        ASSERT_EQ(a.data->createSecurityKey(string("Secret#1"), string(""), string(""), 0), 0);
        ASSERT_EQ(a.data->setEscrowKey(string("escrow-copy")), 0);
        EXPECT_EQ(a.saved().securityKeys.escrowKey, "escrow-copy");
        EXPECT_EQ(a.data->destroySecurityKey(), 0x4B) << "a secure virtual drive exists";
        EXPECT_EQ(a.saved().securityKeys.key, "Secret#1");
    }
    DescribedAdapter a(SECURE);
    ASSERT_EQ(a.data->createSecurityKey(string("Secret#1"), string(""), string(""), 0), 0);
    ASSERT_EQ(a.data->destroySecurityKey(), 0);
    EXPECT_EQ(a.sent(LOCK_KEY_DESTROY), 1u);
    EXPECT_EQ(a.saved().securityKeys.key, "");
    EXPECT_EQ(assigned(a), 0);
}

TEST(AdapterSecurityKeys, KeyIds)
{
    DescribedAdapter a(std::string(SECURE) + ", \"securityKeys\": {\"keyId\": \"controller-id\"}",
                       failing(LOCK_KEY_GET_PD_KEY_ID, 0x2d));
    string keyId("unchanged");
    EXPECT_EQ(a.data->getSecurityKeyId(&keyId), 0x2d);
    EXPECT_STREQ(keyId.c_str(), "unchanged");
    ASSERT_EQ(a.data->getSecurityKeyId(&keyId), 0);
    EXPECT_STREQ(keyId.c_str(), "controller-id");
    ASSERT_EQ(a.data->setSecurityKeyId(string("renamed-id")), 0);
    EXPECT_EQ(mailboxes(a, "0x01150301"), (std::vector<std::string>{"0x0000ffff", "0x0000ffff"}));
    EXPECT_EQ(mailboxes(a, "0x01150302"), (std::vector<std::string>{"0x0000ffff"}));
    ASSERT_EQ(a.data->getControllerSecurityKeyId(&keyId), 0);
    EXPECT_STREQ(keyId.c_str(), "renamed-id");
    EXPECT_EQ(a.sent(LOCK_KEY_GET_ID), 1u);
}

TEST(AdapterSecurityKeys, TextsThatDoNotFitTheirFieldsAreRefusedUnsent)
{
    const std::string k35(35, 'k'), k36(36, 'k'), p71(71, 'p'), p72(72, 'p'), i255(255, 'i'), i256(256, 'i');
    const std::string t103(103, 't'), t104(104, 't');
    struct Case {
        const char* name;
        std::function<int(AdapterDataZpr&)> call;
        int expected;   // -1: refused, nothing sent; else the status of the simulated controller
    } cases[] = {
        {"key of 36", [&](AdapterDataZpr& d) { return d.createSecurityKey(string(k36.c_str()), string(""), string(""), 0); }, -1},
        {"pass phrase of 72", [&](AdapterDataZpr& d) { return d.createSecurityKey(string("k"), string(p72.c_str()), string(""), 0); }, -1},
        {"key id of 256", [&](AdapterDataZpr& d) { return d.createSecurityKey(string("k"), string(""), string(i256.c_str()), 0); }, -1},
        {"new key of 104", [&](AdapterDataZpr& d) { return d.changeSecurityKey(string(t104.c_str())); }, -1},
        {"escrow key of 104", [&](AdapterDataZpr& d) { return d.setEscrowKey(string(t104.c_str())); }, -1},
        {"verified key of 104", [&](AdapterDataZpr& d) { return d.verifySecurityKey(string(t104.c_str()), 0); }, -1},
        {"drive key id of 256", [&](AdapterDataZpr& d) { return d.setSecurityKeyId(string(i256.c_str())); }, -1},
        {"each field full", [&](AdapterDataZpr& d) {
             return d.createSecurityKey(string(k35.c_str()), string(p71.c_str()), string(i255.c_str()), 0); }, 0},
        {"escrow key of 103", [&](AdapterDataZpr& d) { return d.setEscrowKey(string(t103.c_str())); }, 3},
        {"drive key id of 255", [&](AdapterDataZpr& d) { return d.setSecurityKeyId(string(i255.c_str())); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DescribedAdapter a(SECURE);
        EXPECT_EQ(c.call(*a.data), c.expected);
        EXPECT_EQ(a.host.commands().size(), c.expected == -1 ? 0u : 1u);
    }
    DescribedAdapter a(SECURE);
    ASSERT_EQ(a.data->createSecurityKey(string(k35.c_str()), string(p71.c_str()), string(i255.c_str()), 0), 0);
    EXPECT_EQ(a.saved().securityKeys.key, k35);
    EXPECT_EQ(a.saved().securityKeys.passPhrase, p71);
    EXPECT_EQ(a.saved().securityKeys.keyId, i255);
    EXPECT_EQ(a.sent(LOCK_KEY_CREATE), 1u);
}
