// The erase processors refuse a request of another class, and a missing one, with the standard
// message and -1 before anything is sent (the secure erase also before its progress display).
#include "Output/ConsoleFixture.h"

#include "CpMgmt/CmdPro/Drive/PdReprovisionCp.h"
#include "CpMgmt/CmdPro/Drive/SecureEraseCp.h"
#include "CpMgmt/CpController.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"

namespace {

class EraseProcessorRequest : public ConsoleFixture {};

TEST_F(EraseProcessorRequest, AnotherClassIsRefusedBeforeAnythingIsSent)
{
    CpController executor(nullptr, nullptr);   // no controller: nothing can be sent
    PdReprovisionParsedObject instant(TOKEN_PDINSTANTSECUREERASE, nullptr, 1, 3);
    SecureErasePo display(TOKEN_SECUREERASE, nullptr, TOKEN_PROGDSPLY, nullptr, 0, 0, 0, 0, 4);
    PdReprovisionCp reprovision;
    SecureEraseCp erase;
    EXPECT_EQ(reprovision.process(&executor, &display), -1);
    EXPECT_EQ(erase.process(&executor, &instant), -1);
    EXPECT_EQ(erase.process(&executor, nullptr), -1);
    EXPECT_EQ(screen(), "Adapter #4: Dynamic cast failed on PdReprovisionParsedObject *.\n"
                        "Adapter #3: Dynamic cast failed on SecureErasePo *.\n"
                        "Adapter #255: Dynamic cast failed on SecureErasePo *.\n");
}

} // namespace
