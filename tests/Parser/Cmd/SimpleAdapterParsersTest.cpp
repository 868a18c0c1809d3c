// The parsers of the adapter commands that take at most a selector word, and of the firmware
// flash command.
#include "LineParseSupport.h"

#include "Parser/AdpParsedObjects.h"

namespace {

std::string onlyHead(const ParsedObject& request)
{
    return head(request);
}

std::string version(const CliVersionPo& request)
{
    return head(request) + " kind=" + std::to_string(request.getVersionKind());
}

std::string flash(const AdpFwFlashPo& request)
{
    return head(request) + " file=" + request.getFileName().c_str() +
           " resetNow=" + std::to_string(request.getFlag1()) +
           " noSigChk=" + std::to_string(request.getFlag2()) +
           " noVerChk=" + std::to_string(request.getFlag3()) +
           " fwType=" + std::to_string(request.getFwType());
}

}  // namespace

TEST(AdapterOnlyParsers, OneRequestPerAdapterWithTheCommandToken)
{
    expectLines<AdpAllInfoParsedObject>({
        {"-AdpAllInfo -a0", {"token=5 adapter=0"}},
        {"-AdpAllInfo -a0,2", {"token=5 adapter=0", "token=5 adapter=2"}},
        {"-AdpAllInfo -a0,1,0", {"token=5 adapter=0", "token=5 adapter=1"}},
        {"-AdpAllInfo -aALL", {"token=5 adapter=252"}},
        {"-AdpAllInfo -a251", REFUSED, "Invalid Adapter number.\n"},
    }, onlyHead);
    expectLines<AdpCacheFlushParsedObject>({{"-AdpCacheFlush -a1", {"token=9 adapter=1"}}}, onlyHead);
    expectLines<AdpShutDownParsedObject>({{"-adpshutdown -a1", {"token=67 adapter=1"}}}, onlyHead);
    expectLines<AdpRestartParsedObject>({{"-AdpRestart -aALL", {"token=140 adapter=252"}}}, onlyHead);
    expectLines<AdpDowngradeParsedObject>({{"-AdpDowngrade -a0", {"token=139 adapter=0"}}}, onlyHead);
    expectLines<AdpGetPciInfoParsedObject>({{"-AdpGetPciInfo -aALL", {"token=120 adapter=252"}}}, onlyHead);
    expectLines<AdpAllInOneLogParsedObject>({
        {"-AdpAlILog -a0,2", {"token=105 adapter=0", "token=105 adapter=2"}},
    }, onlyHead);
}

TEST(CliVersionParser, SelectorWordGivesTheVersionKind)
{
    expectLines<CliVersionPo>({
        {"-Version -a0", {"token=126 adapter=0 kind=0"}},
        {"-Version -Ctrl -a0", {"token=126 adapter=0 kind=1"}},
        {"-Version -Cli -a0", {"token=126 adapter=0 kind=2"}},
        {"-Version -Uefi -a0", {"token=126 adapter=0 kind=3"}},
        {"-Version -Driver -a0,1", {"token=126 adapter=0 kind=4", "token=126 adapter=1 kind=4"}},
        {"-Version -Pd -a0", {"token=126 adapter=0 kind=5"}},
        {"-Version -Ctrl -Pd -a0", REFUSED_BY_GRAMMAR},
    }, version);
}

TEST(AdpFlashParser, FileFlagsAndFirmwareType)
{
    expectLines<AdpFwFlashPo>({
        {"-AdpFwFlash -f fw.rom -a0",
         {"token=60 adapter=0 file=fw.rom resetNow=0 noSigChk=0 noVerChk=0 fwType=0"}},
        {"-AdpFwFlash -f fw.rom -ResetNow -NoVerChk -NoSigChk -FwType 1 -a0,1",
         {"token=60 adapter=0 file=fw.rom resetNow=1 noSigChk=1 noVerChk=1 fwType=1",
          "token=60 adapter=1 file=fw.rom resetNow=1 noSigChk=1 noVerChk=1 fwType=1"}},
        {"-adpfwflash -F fw.rom -nosigchk -a0",
         {"token=60 adapter=0 file=fw.rom resetNow=0 noSigChk=1 noVerChk=0 fwType=0"}},
        {"-AdpFwFlash -f fw.rom -NoVerChk -a0",
         {"token=60 adapter=0 file=fw.rom resetNow=0 noSigChk=0 noVerChk=1 fwType=0"}},
        {"-AdpFwFlash -f fw.rom -FwType 0 -a0",
         {"token=60 adapter=0 file=fw.rom resetNow=0 noSigChk=0 noVerChk=0 fwType=0"}},
        // The firmware type is judged when the command runs, except that it must fit its field.
        {"-AdpFwFlash -f fw.rom -FwType 5 -a0",
         {"token=60 adapter=0 file=fw.rom resetNow=0 noSigChk=0 noVerChk=0 fwType=5"}},
        {"-AdpFwFlash -f fw.rom -FwType 255 -aALL",
         {"token=60 adapter=252 file=fw.rom resetNow=0 noSigChk=0 noVerChk=0 fwType=255"}},
        {"-AdpFwFlash -f fw.rom -FwType 300 -a0", REFUSED},
        {"-AdpFwFlash -f fw.rom -FwType 256 -a0", REFUSED},
        {"-AdpFwFlash -f fw.rom -a0,0",
         {"token=60 adapter=0 file=fw.rom resetNow=0 noSigChk=0 noVerChk=0 fwType=0"}},
        {"-AdpFwFlash -NoSigChk -f fw.rom -a0", REFUSED_BY_GRAMMAR},
        {"-AdpFwFlash -f fw.rom -NoSigChk -NoSigChk -a0", REFUSED_BY_GRAMMAR},
        {"-AdpFwFlash -f fw.rom -FwType -a0", REFUSED_BY_GRAMMAR},
    }, flash);
}
