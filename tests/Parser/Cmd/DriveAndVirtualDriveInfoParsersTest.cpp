// The parsers of the drive list, drive information and virtual-drive information commands.
#include "LineParseSupport.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/PdParsedObjects.h"

namespace {

std::string onlyHead(const ParsedObject& request)
{
    return head(request);
}

std::string pdInfo(const PdInfoParsedObject& request)
{
    return head(request) + " drives=" + driveList(request.getDriveList());
}

std::string ldList(const LdParsedObject& request)
{
    std::string text;
    for (unsigned char i = 0; i < request.getLdCount(); ++i)
        text += (i ? "," : "") + std::to_string(request.getLd(i));
    return text;
}

std::string ldInfo(const LdInfoParsedObject& request)
{
    return head(request) + " lds=" + ldList(request) + " force=" + std::to_string(request.getForce());
}

}  // namespace

TEST(PdListParser, RequestCarriesTheCommandWordGiven)
{
    expectLines<PdListParsedObject>({
        {"-PDList -a0", {"token=36 adapter=0"}},
        {"-PDList -aALL", {"token=36 adapter=252"}},
        {"-GetPreservedCacheList -a0", {"token=94 adapter=0"}},
        {"-GetPreservedCacheList -a1,0", {"token=94 adapter=1", "token=94 adapter=0"}},
        {"-PDList -a0,251", REFUSED, "Invalid Adapter number.\n"},
    }, onlyHead);
}

TEST(PdInfoParser, DrivesInTheOrderWrittenSharedByEveryRequest)
{
    expectLines<PdInfoParsedObject>({
        {"-pdInfo -PhysDrv[252:2,252:14] -a0", {"token=37 adapter=0 drives=252:2,252:14"}},
        {"-pdInfo -PhysDrv[252:3,:1,?:7] -a0,1",
         {"token=37 adapter=0 drives=252:3,65535:1,52428:7", "token=37 adapter=1 drives=252:3,65535:1,52428:7"}},
        {"-PDInfo -PhysDrv[:3] -aALL", {"token=37 adapter=252 drives=65535:3"}},
        {"-pdInfo -PhysDrv[252:2,252:2] -a0", {"token=37 adapter=0 drives=252:2,252:2"}},
        {"-pdInfo -PhysDrv[252:256] -a0", REFUSED},
        {"-pdInfo -PhysDrv[252:2] -a251", REFUSED, "Invalid Adapter number.\n"},
    }, pdInfo);
}

TEST(PdInfoParser, RequestsPointToTheOneList)
{
    LineOutcome outcome = parseLine<PdInfoParsedObject>(
        "-pdInfo -PhysDrv[252:1,252:2,252:3] -a0,1", [](const PdInfoParsedObject& request) {
            std::ostringstream address;
            address << request.getDriveList() << " " << SharedDriveList::holdersOf(request.getDriveList());
            return address.str();
        });
    ASSERT_EQ(outcome.requests.size(), 2u);
    EXPECT_EQ(outcome.requests[0], outcome.requests[1]);
    EXPECT_EQ(outcome.requests[0].substr(outcome.requests[0].find(' ')), " 2");
}

TEST(LdInfoParser, VirtualDrivesInTheOrderGivenAndForce)
{
    expectLines<LdInfoParsedObject>({
        {"-LDInfo -L3,1,3 -a0", {"token=27 adapter=0 lds=3,1,3 force=0"}},
        {"-LDInfo -Lall -a0,1", {"token=27 adapter=0 lds=64 force=0", "token=27 adapter=1 lds=64 force=0"}},
        {"-LDInfo -L0 -aALL", {"token=27 adapter=252 lds=0 force=0"}},
        {"-DiscardPreservedCache -L2 -Force -a0", {"token=95 adapter=0 lds=2 force=1"}},
        {"-DiscardPreservedCache -L2 -a0", {"token=95 adapter=0 lds=2 force=0"}},
        {"-DiscardPreservedCache -Lall -Force -a0", {"token=95 adapter=0 lds=64 force=1"}},
        {"-LDInfo -L300 -a0", REFUSED, "Invalid Logical Drive number.\n"},
        {"-LDInfo -L1 -a251", REFUSED, "Invalid Adapter number.\n"},
        {"-LDInfo -L1 -Force -a0", REFUSED_BY_GRAMMAR},
    }, ldInfo);
}

TEST(LdPdInfoAndFreeSpaceInfoParsers, CommandTokenAndAdapterOnly)
{
    expectLines<LdPdInfoParsedObject>({
        {"-LdPdInfo -aALL", {"token=31 adapter=252"}},
        {"-LdPdInfo -a0,2", {"token=31 adapter=0", "token=31 adapter=2"}},
    }, onlyHead);
    expectLines<FreeSpaceInfoParsedObject>({
        {"-CfgFreeSpaceinfo -a0", {"token=56 adapter=0"}},
        {"-CfgFreeSpaceinfo -a999", REFUSED, "Invalid Adapter number.\n"},
    }, onlyHead);
}
