// Help texts (data).
#include "CpMgmt/CmdPro/HelpText.h"

const HelpTable ADAPTER_DRIVE_HELP = {nullptr, 0};
