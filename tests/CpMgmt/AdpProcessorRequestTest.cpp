// A processor given a request of another class refuses it with the standard message and -1,
// before it sends anything.
#include "Output/ConsoleFixture.h"

#include "CpMgmt/CmdPro/Reports/AdpAllInfoCp.h"
#include "CpMgmt/CmdPro/Adapter/AdpFacDefSetCp.h"
#include "CpMgmt/CpController.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"

namespace {

class AdpRequestTest : public ConsoleFixture {};

TEST_F(AdpRequestTest, FactoryDefaultsRefusesAnotherRequestClass)
{
    AdpAllInfoParsedObject other(TOKEN_ADPALLINFO, 3);
    CpController executor(nullptr, nullptr);
    AdpFacDefSetCp processor;
    EXPECT_EQ(processor.process(&executor, &other), -1);
    EXPECT_EQ(screen(), "Adapter #3: Dynamic cast failed on AdpFacDefSetPo *.\n");
}

TEST_F(AdpRequestTest, AllInfoRefusesAnotherRequestClass)
{
    AdpFacDefSetPo other(TOKEN_ADPFACDEFSET, 0);
    CpController executor(nullptr, nullptr);   // no controller: its number is 255
    AdpAllInfoCp processor;
    EXPECT_EQ(processor.process(&executor, &other), -1);
    EXPECT_EQ(processor.process(&executor, nullptr), -1);
    EXPECT_EQ(screen(), "Adapter #255: Dynamic cast failed on AdpAllInfoParsedObject *.\n"
                        "Adapter #255: Dynamic cast failed on AdpAllInfoParsedObject *.\n");
}

} // namespace
