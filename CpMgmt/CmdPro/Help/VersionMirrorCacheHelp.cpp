// Help texts as data: written by scripts/gen-help-tables.py from
// scripts/help-texts/VersionMirrorCacheHelp.txt; change the source and run the script, never this file.
// Each row: the element for every OEM, then the OEM-2 wording where it differs.
#include "CpMgmt/CmdPro/Help/HelpText.h"

namespace {

const HelpLine VERSION_LINES[] = {
    {"\n            Version   \n", nullptr},
    {"          ------------------\n\n", nullptr},
    {"Syntax: %s -Version -Cli|-Ctrl|-Driver|-Pd -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"         Displays the version corresponding to tne option\n\n", nullptr},
    {"Note: -Driver option is not supported for QuillCliKL application.\n", nullptr},
};

const HelpLine PREVENTPIIMPORT_LINES[] = {
    {"\n         PreventPIImport   \n", nullptr},
    {"          ------------------\n\n", nullptr},
    {"Syntax: %s -PreventPIImport 1 -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"         Sets adapter property to enablePI\n", nullptr},
    {"Syntax: %s -PreventPIImport -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"         Displays if PI is enabled or not\n", nullptr},
    {"Syntax: %s -CfgLdAdd rX[E0:S0,E1:S1,...] -enblPI -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"         Allows to create PIenabled configuration \n", nullptr},
    {"Syntax: %s -CfgEachDskRaid0 \x96" "enblPI -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"        Command configures each physical disk in unconfigured-good state as RAID 0 on the selected adapter.\n", nullptr},
    {"Syntax: %s -CfgSpanadd rX array0[E0:S0,E1:S1,...] array1[E0:S0,E1:S1,...] -enblPI szxxxx -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"         Allows to add PIenabled span arrays \n", nullptr},
    {"Syntax: %s -AdpSetVerify \x96" "f Filename -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"         Displays if enablePI and PreventPIImport is set or not\n", nullptr},
    {"\nConvention:   \n", nullptr},
    {"          -aN         N specifies the adapter number for the command.\n", nullptr},
    {"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. More than one adapter can be selected.\n", nullptr},
    {"          -aALL       Specifies the command is for all adapters.\n", nullptr},
    {"          -szxxxx specifies size of the configuration.\n", nullptr},
    {"          -E0,E1... specifies the enclosure number.\n", nullptr},
    {"          -S0,S1... specifies the slot number number.\n", nullptr},
};

const HelpLine ADPDOWNGRADE_LINES[] = {
    {"\n        \tAdpDowngrade command\n", nullptr},
    {"        \t---------------------------\n\n", nullptr},
    {"Syntax: %s -AdpDowngrade -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          This command downgrades KW controller to iKW mode on next reboot if controller has iKW firmware in flash and no memory is found on next reboot.\n", nullptr},
    {"          -aN         N specifies the adapter number for the command.\n", nullptr},
    {"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. More than one adapter can be selected.\n", nullptr},
    {"          -aALL       Specifies the command is for all adapters.\n", nullptr},
};

const HelpLine LDVIEWMIRROR_LINES[] = {
    {"\n        \tLDViewMirror\n", nullptr},
    {"        \t------\n\n", nullptr},
    {"Syntax: %s -LDViewMirror -Lx|-L0,1,2|-LALL -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"        command displays the information about the mirror assocaited with the VD.\n", nullptr},
    {"\nConvention:   \n", nullptr},
    {"          -aN         N specifies the adapter number for the command.\n", nullptr},
    {"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. More than one adapter can be selected.\n", nullptr},
    {"          -aALL       Specifies the command is for all adapters.\n", nullptr},
};

const HelpLine LDJOINMIRROR_LINES[] = {
    {"\n        \tLDJoinMirror\n", nullptr},
    {"        \t------\n\n", nullptr},
    {"Syntax: %s -LDJoinMirror -DataSrc <val>[-force] -Lx|-L0,1,2,...|-Lall -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"        command joins the VD with its mirror.\n", nullptr},
    {"\nConvention:   \n", nullptr},
    {"          -DataSrc <val>        if the val is 0, then data will be copied from existing VD to drives.if the val is 1 then data will be copied from drives to VD\n", nullptr},
    {"          -force        This option will force the copying of data from drives to VD otherwise the CLI will give a warning that copying data from drives to VD will result in data corruption and quit.\n", nullptr},
    {"          -aN         N specifies the adapter number for the command.\n", nullptr},
    {"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. More than one adapter can be selected.\n", nullptr},
    {"          -aALL       Specifies the command is for all adapters.\n", nullptr},
};

const HelpLine LDSETPOWERPOLICY_LINES[] = {
    {"\n            LdSetPowerPolicy   \n", nullptr},
    {"          ----------------\n\n", nullptr},
    {"Syntax: %s -LDSetPowerPolicy -Default| -Automatic| -None| -Maximum| -MaximumWithoutCaching\n", nullptr},
    {"        -Lx|-L0,1,2|-Lall -aN|-a0,1,2|-aALL \n", nullptr},
    {"\nDescription: \n", nullptr},
    {"        Sets the power saving level on the virtual disk.\n", nullptr},
    {"\nConvention:   \n", nullptr},
    {"          -Lx         x specifies the LD number for the command and the LD has to be a repository.\n", nullptr},
    {"          -aN         N specifies the adapter number for the command.\n", nullptr},
    {"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. More than one adapter can be selected.\n", nullptr},
    {"          -aALL       Specifies the command is for all adapters.\n", nullptr},
};

const HelpLine SECUREERASE_LINES[] = {
    {"\n        \tSecureErase\n", nullptr},
    {"        \t-----------\n\n", nullptr},
    {"Syntax: %s -SecureErase \n\tStart[\n\t\tSimple|\n\t\t", nullptr},
    {"[Normal   [ |ErasePattern ErasePatternA|ErasePattern ErasePatternA ErasePattern ErasePatternB]]|", nullptr},
    {"\n\t\t[Thorough [ |ErasePattern ErasePatternA|ErasePattern ErasePatternA ErasePattern ErasePatternB]]]", nullptr},
    {"\n\t| Stop\n\t| ShowProg\n\t| ProgDsply ", nullptr},
    {"\n\t[-PhysDrv [E0:S0,E1:S1,...] | -Lx|-L0,1,2|-LALL] -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"        Securely erases data on non-SEDs and unsecured VDs \n", nullptr},
    {"        The possible parameters are:\n", nullptr},
    {"        Start: Starts Secure Erase on the selected physical drive(s) or virtual drive(s).\n", nullptr},
    {"        Simple|Normal|Thorough:These are the erase types.\n", nullptr},
    {"        ErasePattern:The pattern for erasing\n", nullptr},
    {"        ErasePatternA|ErasePatternB:This is an 8-Bit binary pattern for erasing(Example:01001101)\n", nullptr},
    {"        Stop: Stops the ongoing Secure Erase on the selected physical drive(s) or virtual drive(s). \n", nullptr},
    {"        ShowProg: Displays the snapshot of ongoing SecureErase.\n", nullptr},
    {"        ProgDsply: Displays the ongoing SecureErase progress. This routine displays the SecureErase progress until at least one SecureErase is completed or a key is pressed.\n", nullptr},
    {"\nConvention:   \n", nullptr},
    {"          -aN         N specifies the adapter number for the command.\n", nullptr},
    {"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. More than one adapter can be selected.\n", nullptr},
    {"          -aALL       Specifies the command is for all adapters.\n", nullptr},
    {"          -PhysDrv[E0:S0,E1:S1....]  List of physical drives, E specifies enclosure \n", nullptr},
    {"                     id and S specifies Slot number of physical drive.  \n", nullptr},
    {"          -Lx         x specifies the LD number.\n", nullptr},
};

const HelpLine GETBBTENTRIES_LINES[] = {
    {"\n        \tGetBbtEntries\n", nullptr},
    {"        \t------\n\n", nullptr},
    {"Syntax: %s -GetBbtEntries -Lx|-L0,1,2|-Lall -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"        Command displays information about the Bad Block Entries of virtual disk(s) on the selected adapter(s).\n", nullptr},
    {"\nConvention:   \n", nullptr},
    {"          -aN         N specifies the adapter number for the command.\n", nullptr},
    {"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. More than one adapter can be selected.\n", nullptr},
    {"          -aALL       Specifies the command is for all adapters.\n", nullptr},
};

const HelpLine TIDEWELL_LINES[] = {
    {"\n        \tTidewell\n", nullptr},
    {"               ----------\n\n", nullptr},
    {"Syntax: %s -Tidewell -assign|-remove -Lx|-L0,1,2|-LALL -aN|-a0,1,2|-aALL\n", nullptr},
    {"\nDescription: \n", nullptr},
    {"        This command assigns or removes the association of VDs with the Tidewell pool.\n", nullptr},
    {"\nConvention:   \n", nullptr},
    {"          -aN         N specifies the adapter number for the command.\n", nullptr},
    {"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. More than one adapter can be selected.\n", nullptr},
    {"          -aALL       Specifies the command is for all adapters.\n", nullptr},
};

const HelpLine PERFMON_LINES[] = {
    {"\n        \tPerfmon\n", nullptr},
    {"               ----------\n\n", nullptr},
    {"Syntax: %s -Perfmon {-start -interval <val>} | {stop} | {-getresults -f <Filename>} -aN \n", nullptr},
    {"\nDescription: \n", nullptr},
    {"        This command show the performance data.\n", nullptr},
    {"interval: Interval is perfomance data capture time in minutes. \n", nullptr},
    {"          -aN         N specifies the adapter number for the command.\n", nullptr},
};

const HelpLine DPMSTAT_LINES[] = {
    {"\n                     DPMStat   \n", nullptr},
    {"                    ------------\n\n", nullptr},
    {"%s -DpmStat -Dsply {lct | hist | ra | ext } [-physdrv[E0:S0]] -aN|-a0,1,2|-aALL  \n", nullptr},
    {"%s -DpmStat -Clear {lct | hist | ra | ext } -aN|-a0,1,2|-aALL  \n", nullptr},
    {"\nDescription: \n", nullptr},
    {"          These commands display or clear the drive performance statistics on the controller.\n", nullptr},
    {"          -aN         N specifies the adapter number for the command.\n", nullptr},
    {"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. More than one adapter can be selected.\n", nullptr},
    {"          -aALL       Specifies the command is for all adapters.\n", nullptr},
};

const HelpEntry ENTRIES[] = {
    {"VERSION", {VERSION_LINES, sizeof VERSION_LINES / sizeof VERSION_LINES[0]}},
    {"PREVENTPIIMPORT", {PREVENTPIIMPORT_LINES, sizeof PREVENTPIIMPORT_LINES / sizeof PREVENTPIIMPORT_LINES[0]}},
    {"ADPDOWNGRADE", {ADPDOWNGRADE_LINES, sizeof ADPDOWNGRADE_LINES / sizeof ADPDOWNGRADE_LINES[0]}},
    {"LDVIEWMIRROR", {LDVIEWMIRROR_LINES, sizeof LDVIEWMIRROR_LINES / sizeof LDVIEWMIRROR_LINES[0]}},
    {"LDJOINMIRROR", {LDJOINMIRROR_LINES, sizeof LDJOINMIRROR_LINES / sizeof LDJOINMIRROR_LINES[0]}},
    {"LDSETPOWERPOLICY", {LDSETPOWERPOLICY_LINES, sizeof LDSETPOWERPOLICY_LINES / sizeof LDSETPOWERPOLICY_LINES[0]}},
    {"SECUREERASE", {SECUREERASE_LINES, sizeof SECUREERASE_LINES / sizeof SECUREERASE_LINES[0]}},
    {"GETBBTENTRIES", {GETBBTENTRIES_LINES, sizeof GETBBTENTRIES_LINES / sizeof GETBBTENTRIES_LINES[0]}},
    {"TIDEWELL", {TIDEWELL_LINES, sizeof TIDEWELL_LINES / sizeof TIDEWELL_LINES[0]}},
    {"PERFMON", {PERFMON_LINES, sizeof PERFMON_LINES / sizeof PERFMON_LINES[0]}},
    {"DPMSTAT", {DPMSTAT_LINES, sizeof DPMSTAT_LINES / sizeof DPMSTAT_LINES[0]}},
};

}  // namespace

const HelpTable VERSION_MIRROR_CACHE_HELP = {ENTRIES, sizeof ENTRIES / sizeof ENTRIES[0]};
