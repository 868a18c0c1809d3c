#include "CpMgmt/CmdPro/AdpDcmd.h"

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "Output/PavaneLog.h"
#include "RaidManager/Zpr/Records/Controller/ZprBiosData.h"

namespace {

int execute(CpController* cpController, MailboxZprDpParams& params)
{
    Controller* controller = controllerOf(cpController);
    if (controller == nullptr)
        return -1;
    int status = controller->execute(&params);
    if (status != 0)
        appLog(__FILE__, __LINE__, LOG_MODULE_VOLANT, LOGLEVEL_ERROR, LOG_ID_FIRMWARE_FAILED, params.getOpcode(),
               static_cast<uint32_t>(status));
    return status;
}

} // namespace

int sendDcmd(CpController* cpController, uint32_t opcode, void* buffer)
{
    DcmdZprDpParams params(opcode, 0u, 0u, 0u, buffer, 0, 0, 0);
    return execute(cpController, params);
}

int sendBiosDcmd(CpController* cpController, uint32_t opcode, void* buffer)
{
    if (opcode == DCMD_ADP_BIOS_SET_DATA && buffer != nullptr)
        ZprBiosData(static_cast<uint8_t*>(buffer), ZprBiosData::SIZE).seal();
    return sendDcmd(cpController, opcode, buffer);
}

int sendDcmdWithWord(CpController* cpController, uint32_t opcode, uint32_t word, void* buffer, uint32_t length)
{
    DcmdZprDpParams params(opcode, word, 0u, 0u, buffer, length, 0, 0);
    return execute(cpController, params);
}

int sendDcmdWithMailbox(CpController* cpController, uint32_t opcode, const uint32_t (&mailbox)[3], void* buffer,
                        uint32_t length)
{
    DcmdZprDpParams params(opcode, mailbox[0], mailbox[1], mailbox[2], buffer, length, 0, 0);
    return execute(cpController, params);
}

int sendDcmdPhySpeed(CpController* cpController, uint32_t opcode, void* buffer, uint8_t phy, uint8_t speed)
{
    uint64_t mailbox01 = static_cast<uint64_t>(phy) | (static_cast<uint64_t>(speed) << 8);
    DcmdZprDpParams params(opcode, mailbox01, 0u, buffer, 0, 0, 0);
    return execute(cpController, params);
}

int sendDriverCommand(CpController* cpController, uint32_t opcode, void* buffer)
{
    DriverZprDPParams params(opcode, 0u, 0u, 0u, buffer, 0, 0, 0);
    return execute(cpController, params);
}

int sendPrivateDcmd(CpController* cpController, uint32_t opcode, void* buffer)
{
    DcmdZprDpPrvParams params(opcode, 0u, 0u, 0u, buffer, 0, 0, 0);
    return execute(cpController, params);
}

int sendPrivateDcmdWithMailbox(CpController* cpController, uint32_t opcode, const uint32_t (&mailbox)[3],
                               void* buffer, uint32_t length)
{
    DcmdZprDpPrvParams params(opcode, mailbox[0], mailbox[1], mailbox[2], buffer, length, 0, 0);
    return execute(cpController, params);
}
