// Help texts as data: written by scripts/gen-help-tables.py from
// scripts/help-texts/HostCacheHelp.txt; change the source and run the script, never this file.
// Each row: the element for every OEM, then the OEM-2 wording where it differs.
#include "CpMgmt/CmdPro/Help/HelpText.h"

namespace {

const HelpLine ADDVD_LINES[] = {
    {"\n        \tAddVd command\n", nullptr},
    {"        \t-------------\n\n", nullptr},
    {"Syntax: %s HK -AddVd <devList>\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command adds the given virtual drives to the cache group.\n", nullptr},
    {"              <devList>  List of devices seperated by \":\" (without leading/trailing space/tab).\n", nullptr},
};

const HelpLine REMVD_LINES[] = {
    {"\n        \tRemVd command\n", nullptr},
    {"        \t-------------\n\n", nullptr},
    {"Syntax: %s HK -RemVd <devList>\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command removes the given virtual drives from the cache group.\n", nullptr},
    {"              <devList>  List of devices seperated by \":\" (without leading/trailing space/tab).\n", nullptr},
};

const HelpLine ADDCDEV_LINES[] = {
    {"\n        \tAddCdev command\n", nullptr},
    {"        \t---------------\n\n", nullptr},
    {"Syntax: %s HK -AddCdev <devList> | -force\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command adds the given cache devices to the cache group.\n", nullptr},
    {"              <devList>  List of devices seperated by \":\" (without leading/trailing space/tab).\n", nullptr},
    {"              -force     Force adding device with filesystem / MBR / swap / LVM2.\n", nullptr},
};

const HelpLine REMCDEV_LINES[] = {
    {"\n        \tRemCdev command\n", nullptr},
    {"        \t---------------\n\n", nullptr},
    {"Syntax: %s HK -RemCdev <devList>\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command removes the given cache devices from the cache group.\n", nullptr},
    {"              <devList>  List of devices seperated by \":\" (without leading/trailing space/tab).\n", nullptr},
};

const HelpLine VDLIST_LINES[] = {
    {"\n        \tVdList command\n", nullptr},
    {"        \t--------------\n\n", nullptr},
    {"Syntax: %s HK -VdList | -configured | -unconfigured\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command lists configured and unconfigured virtual drives,\n          without any option this will list both configured and unconfigured devices.\n          The information displayed are: Device Node, WWN, Capacity.\n          The capacity of the device is displayed in terms of blocks.\n", nullptr},
    {"              -configured    Lists only configured virtual drives.\n", nullptr},
    {"              -unconfigured  Lists only unconfigured virtual drives.\n", nullptr},
};

const HelpLine CDEVLIST_LINES[] = {
    {"\n        \tCdevList command\n", nullptr},
    {"        \t----------------\n\n", nullptr},
    {"Syntax: %s HK -CdevList | -configured | -unconfigured\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command lists configured and unconfigured cache devices.\n          without any option this will list both configured and unconfigured devices.\n          The information displayed are: Device Node, WWN, Capacity.\n          The capacity of the device is displayed in terms of blocks.\n", nullptr},
    {"              -configured    Lists only configured cache devices.\n", nullptr},
    {"              -unconfigured  Lists only unconfigured cache devices.\n", nullptr},
};

const HelpLine CONFIGINFO_LINES[] = {
    {"\n        \tConfigInfo command\n", nullptr},
    {"        \t------------------\n\n", nullptr},
    {"Syntax: %s HK -ConfigInfo\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command displays information about HK driver.\n", nullptr},
};

const HelpLine PERFSTATS_LINES[] = {
    {"\n        \tPerfStats command\n", nullptr},
    {"        \t-----------------\n\n", nullptr},
    {"Syntax: %s HK -PerfStats\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command displays information about HK performance statistics.\n", nullptr},
};

const HelpLine ONLINEVD_LINES[] = {
    {"\n        \tOnlineVd command\n", nullptr},
    {"        \t-----------------\n\n", nullptr},
    {"Syntax: %s HK -OnlineVd <devList> \n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command reconfigures a VD which is in Ready for Online State.\n", nullptr},
};

const HelpLine BLAZECARDINFO_LINES[] = {
    {"\n        \tBlazecardInfo command\n", nullptr},
    {"        \t----------------------\n\n", nullptr},
    {"Syntax: %s HK -BlazecardInfo -iN|-iALL \n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command displays the list of Blazecards connected to the system. \n\t  The information displayed includes controller ID and other information \n\t  about the Blazecard controller.", nullptr},
    {"\n", nullptr},
    {"              -iN\tLists info about only Nth Blazecard. N is an index of a BC from \n                        the BC list(listed by iALL).\n", nullptr},
    {"              -iALL\tLists info about all Blazecards in the system.\n", nullptr},
};

const HelpEntry ENTRIES[] = {
    {"ADDVD", {ADDVD_LINES, sizeof ADDVD_LINES / sizeof ADDVD_LINES[0]}},
    {"REMVD", {REMVD_LINES, sizeof REMVD_LINES / sizeof REMVD_LINES[0]}},
    {"ADDCDEV", {ADDCDEV_LINES, sizeof ADDCDEV_LINES / sizeof ADDCDEV_LINES[0]}},
    {"REMCDEV", {REMCDEV_LINES, sizeof REMCDEV_LINES / sizeof REMCDEV_LINES[0]}},
    {"VDLIST", {VDLIST_LINES, sizeof VDLIST_LINES / sizeof VDLIST_LINES[0]}},
    {"CDEVLIST", {CDEVLIST_LINES, sizeof CDEVLIST_LINES / sizeof CDEVLIST_LINES[0]}},
    {"CONFIGINFO", {CONFIGINFO_LINES, sizeof CONFIGINFO_LINES / sizeof CONFIGINFO_LINES[0]}},
    {"PERFSTATS", {PERFSTATS_LINES, sizeof PERFSTATS_LINES / sizeof PERFSTATS_LINES[0]}},
    {"ONLINEVD", {ONLINEVD_LINES, sizeof ONLINEVD_LINES / sizeof ONLINEVD_LINES[0]}},
    {"BLAZECARDINFO", {BLAZECARDINFO_LINES, sizeof BLAZECARDINFO_LINES / sizeof BLAZECARDINFO_LINES[0]}},
};

}  // namespace

const HelpTable HOST_CACHE_HELP = {ENTRIES, sizeof ENTRIES / sizeof ENTRIES[0]};
