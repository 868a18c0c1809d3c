// Help texts (data).
#include "CpMgmt/CmdPro/HelpText.h"

const HelpTable VERSION_MIRROR_CACHE_HELP = {nullptr, 0};

bool printHostCacheHelp(const char*, const char*, unsigned char)
{
    return false;
}
