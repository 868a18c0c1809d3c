// Help texts (data).
#include "CpMgmt/CmdPro/HelpText.h"

const HelpTable LOGICAL_DRIVE_CONFIG_HELP = {nullptr, 0};
