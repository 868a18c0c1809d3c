// Help texts (data).
#include "CpMgmt/CmdPro/HelpText.h"

const HelpTable EVENT_BATTERY_SECURITY_HELP = {nullptr, 0};
