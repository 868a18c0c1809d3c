// The virtual-drive commands of VdDataZpr: each sends one firmware command about the drive,
// naming it by its reference (target id, reserved byte, sequence number) or by its target id.
#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/VdDataZpr.h"
#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/ZprFrameLayout.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProgressBlock.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProperties.h"
#include "RaidManager/Zpr/Records/Config/ZprReconstructRequest.h"

namespace {

// Mailbox byte 4 of the commands that take a choice there.
const uint8_t FAST_INIT = 0;
const uint8_t FULL_INIT = 1;
const uint8_t SUSPEND = 0;
const uint8_t RESUME = 1;

// Secure-erase patterns sent in place of a pattern of 0.
const uint8_t DEFAULT_PATTERN_1 = 0xAA;
const uint8_t DEFAULT_PATTERN_2 = 0x55;

// Mailbox byte 0 that addresses every logical drive.
const uint32_t ALL_LDS_TARGET = 0xFF;

// The one-block read through the drive: READ(10) of block 0, into a 512-byte buffer.
const uint8_t SCSI_READ_10 = 0x28;
const uint8_t READ_10_CDB_LENGTH = 10;
const uint8_t READ_10_LENGTH_LSB = 8;
const uint32_t BLOCK_SIZE = 512;

// The first read of the mirror information: a header and room for a small configuration.
const uint32_t MIRROR_FIRST_READ = static_cast<uint32_t>(ZprConfigBuffer::FIRST_READ_SIZE);

}  // namespace

int VdDataZpr::send(uint32_t opcode, uint32_t mailbox0, uint32_t mailbox1, void* data, uint32_t length)
{
    if (controller == nullptr)
        return -1;
    DcmdZprDpParams* request = new (noThrowNew) DcmdZprDpParams(opcode, mailbox0, mailbox1, 0u, data, length, 0, 0);
    if (request == nullptr)
        return -1;
    int status = controller->execute(request);
    delete request;
    return status;
}

uint32_t VdDataZpr::reference() const
{
    if (vdId == nullptr)
        return 0;
    return ZprLdProperties::makeReference(static_cast<uint8_t>(vdId->getTargetId16() & 0xFF),
                                          vdId->getSequenceNumber());
}

uint32_t VdDataZpr::targetByte() const
{
    return vdId != nullptr ? (vdId->getTargetId16() & 0xFFu) : 0u;
}

int VdDataZpr::sendByReference(uint32_t opcode, uint8_t byte4)
{
    if (vdId == nullptr)
        return -1;
    return send(opcode, reference(), byte4, nullptr, 0);
}

int VdDataZpr::startConsistencyCheck() { return sendByReference(DCMD_LD_CC_START, 0); }
int VdDataZpr::abortConsistencyCheck() { return sendByReference(DCMD_LD_CC_ABORT, 0); }
int VdDataZpr::startInitialization() { return sendByReference(DCMD_LD_INIT_START, FAST_INIT); }
int VdDataZpr::startFullInitialization() { return sendByReference(DCMD_LD_INIT_START, FULL_INIT); }
int VdDataZpr::abortInitialization() { return sendByReference(DCMD_LD_INIT_ABORT, 0); }
int VdDataZpr::suspendBgOperation() { return sendByReference(DCMD_LD_BGOP_SUSPEND_RESUME, SUSPEND); }
int VdDataZpr::resumeBgOperation() { return sendByReference(DCMD_LD_BGOP_SUSPEND_RESUME, RESUME); }
int VdDataZpr::suspendReconstruction() { return sendByReference(DCMD_LD_RECON_SUSPEND_RESUME, SUSPEND); }
int VdDataZpr::resumeReconstruction() { return sendByReference(DCMD_LD_RECON_SUSPEND_RESUME, RESUME); }
int VdDataZpr::makeSecure() { return sendByReference(DCMD_LD_MAKE_SECURE, 0); }
int VdDataZpr::clearBadBlocks() { return sendByReference(DCMD_LD_BBM_CLEAR, 0); }
int VdDataZpr::breakMirror() { return sendByReference(DCMD_LD_MIRROR_BREAK, 0); }
int VdDataZpr::joinMirror(uint8_t mode) { return sendByReference(DCMD_LD_MIRROR_JOIN, mode); }
int VdDataZpr::stopSecureErase() { return sendByReference(DCMD_LD_SECURE_ERASE_STOP, 0); }
int VdDataZpr::disablePi() { return sendByReference(DCMD_LD_PI_DISABLE, 0); }

int VdDataZpr::startSecureErase(uint8_t eraseType, uint8_t deleteFlag, uint8_t pattern1, uint8_t pattern2)
{
    if (vdId == nullptr)
        return -1;
    const uint32_t first = pattern1 != 0 ? pattern1 : DEFAULT_PATTERN_1;
    const uint32_t second = pattern2 != 0 ? pattern2 : DEFAULT_PATTERN_2;
    const uint32_t word1 = eraseType | (first << 8) | (second << 16) | (static_cast<uint32_t>(deleteFlag) << 24);
    return send(DCMD_LD_SECURE_ERASE_START, reference(), word1, nullptr, 0);
}

int VdDataZpr::removeBlockedAccess(uint8_t all)
{
    if (vdId == nullptr)
        return -1;
    // "All" replaces only the target byte: the sequence number stays this drive's.
    const uint32_t word0 = all != 0 ? ((reference() & ~0xFFu) | ALL_LDS_TARGET) : reference();
    return send(DCMD_LD_REMOVE_BLOCKED_ACCESS, word0, 0, nullptr, 0);
}

int VdDataZpr::setConsistent(uint32_t value)
{
    if (controller == nullptr || vdId == nullptr)
        return -1;
    DcmdZprDpPrvParams* request =
        new (noThrowNew) DcmdZprDpPrvParams(DCMD_LD_SET_CONSISTENCY, vdId->getTargetId16(), value, 0u, nullptr, 0, 0, 0);
    if (request == nullptr)
        return -1;
    int status = controller->execute(request);
    delete request;
    return status;
}

int VdDataZpr::startReconstruction(uint8_t newRaidLevel, uint8_t mode, ArrayList<PhysicalDevice*>* drives,
                                   uint8_t expansionPercent)
{
    if (vdId == nullptr)
        return -1;
    const unsigned count = drives != nullptr ? drives->count() : 0;
    // The request has room for 32 drives; a longer list would be cut short without a word.
    if (count > ZprReconstructRequest::MAX_DRIVES)
        return -1;
    uint8_t buffer[ZprReconstructRequest::SIZE];
    memset(buffer, 0, sizeof buffer);
    ZprReconstructRequest request(LeView(buffer, sizeof buffer));
    for (unsigned i = 0; i < count; ++i) {
        PhysicalDevice* pd = drives->get(static_cast<unsigned char>(i));
        uint16_t deviceId = 0;
        uint16_t sequence = 0;
        if (pd != nullptr) {
            ignoreStatus(pd->getDeviceId(&deviceId), "the member is listed: its information is read");
            ignoreStatus(pd->getSequenceNumber(&sequence), "the member is listed: its information is read");
        }
        request.setDrive(i, deviceId, sequence);
    }
    request.setDriveCount(static_cast<uint8_t>(count));
    if (mode == ZprReconstructRequest::OPERATION_ADD || mode == ZprReconstructRequest::OPERATION_REMOVE) {
        request.setOperation(mode);
    } else {
        request.setOperation(ZprReconstructRequest::OPERATION_OTHER);
        request.setExpansionPercent(expansionPercent);
    }
    request.setNewRaidLevel(newRaidLevel);
    request.setReference(reference());
    return send(DCMD_LD_RECONSTRUCT_START, reference(), 0, buffer, sizeof buffer);
}

int VdDataZpr::getProgress(LdProgressBlock* block)
{
    if (block == nullptr || vdId == nullptr)
        return -1;
    return send(DCMD_LD_GET_PROGRESS, targetByte(), 0, block->bytes(), LdProgressBlock::SIZE);
}

int VdDataZpr::readAllowedOperations(uint8_t* supported)
{
    RaidManager* manager = controller != nullptr ? getRaidManager(controller) : nullptr;
    Adapter* adapter = nullptr;
    if (manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr || vdId == nullptr)
        return -1;
    uint8_t answer = 0;
    int status = adapter->isAllowedOperationsSupported(&answer);
    if (supported != nullptr)
        *supported = answer;
    if (status != 0 || answer == 0)
        return status;
    allowedOperations = 0;
    uint8_t word[4] = {0, 0, 0, 0};
    status = send(DCMD_LD_GET_ALLOWED_OPS, targetByte(), 0, word, sizeof word);
    if (status == 0)
        allowedOperations = LeView(static_cast<const uint8_t*>(word), sizeof word).u32(0);
    return status;
}

int VdDataZpr::getAllowedOperations(uint8_t* word)
{
    uint8_t supported = 0;
    int status = readAllowedOperations(&supported);
    if (status != 0 || supported == 0)
        return status;
    if (word != nullptr)
        LeView(word, 4).setU32(0, allowedOperations);
    return 0;
}

int VdDataZpr::allowedBitStatus(unsigned bit, uint8_t* answer)
{
    uint8_t supported = 0;
    int status = readAllowedOperations(&supported);
    if (status != 0)
        return status;
    if (answer != nullptr)
        *answer = supported != 0 ? static_cast<uint8_t>((allowedOperations >> bit) & 1u) : 1;
    return 0;
}

int VdDataZpr::allowedBitAnswer(unsigned bit, int unsupportedAnswer)
{
    uint8_t supported = 0;
    allowedOperations = 0;
    // The answer is the bit whatever the read's status: a failed read leaves the word at 0.
    ignoreStatus(readAllowedOperations(&supported), "a failed read leaves the word at 0");
    if (supported == 0)
        return unsupportedAnswer;
    return static_cast<int>((allowedOperations >> bit) & 1u);
}

int VdDataZpr::isLdAllowedOperationBit0(uint8_t* a) { return allowedBitStatus(0, a); }
int VdDataZpr::isLdAllowedOperationBit1(uint8_t* a) { return allowedBitStatus(1, a); }
int VdDataZpr::isCcAllowed(uint8_t* a) { return allowedBitStatus(2, a); }
int VdDataZpr::isLdAllowedOperationBit3(uint8_t* a) { return allowedBitStatus(3, a); }
int VdDataZpr::isExpansionAllowed(uint8_t* a) { return allowedBitStatus(4, a); }
int VdDataZpr::isLdAllowedOperationBit5(uint8_t* a) { return allowedBitStatus(5, a); }
int VdDataZpr::isMakeSecureAllowed(uint8_t* a) { return allowedBitStatus(6, a); }
int VdDataZpr::isLdAllowedOperationBit14(uint8_t* a) { return allowedBitStatus(14, a); }
int VdDataZpr::isLdAllowedOperationBit24(uint8_t* a) { return allowedBitStatus(24, a); }
int VdDataZpr::isLdAllowedOperationBit25(uint8_t* a) { return allowedBitStatus(25, a); }
int VdDataZpr::canStartSecureErase(uint8_t* a) { return allowedBitStatus(21, a); }
int VdDataZpr::canStopSecureErase(uint8_t* a) { return allowedBitStatus(22, a); }
int VdDataZpr::isLdAllowedOperationBit7() { return allowedBitAnswer(7, 1); }
int VdDataZpr::isLdAllowedOperationBit8() { return allowedBitAnswer(8, 1); }
int VdDataZpr::isLdAllowedOperationBit9() { return allowedBitAnswer(9, 1); }
int VdDataZpr::hasMirror() { return allowedBitAnswer(16, 1); }
int VdDataZpr::isLdAllowedOperationBit15() { return allowedBitAnswer(15, 1); }
int VdDataZpr::isSecureEraseAllowed() { return allowedBitAnswer(21, 1); }
int VdDataZpr::isSecureEraseStopAllowed() { return allowedBitAnswer(22, 1); }
int VdDataZpr::isLdAllowedOperationBit26() { return allowedBitAnswer(26, 0); }

int VdDataZpr::getTidewellAssociations(uint8_t** list)
{
    ZprData* data = controller != nullptr ? ZprData::instance(controller) : nullptr;
    if (list == nullptr || data == nullptr || vdId == nullptr)
        return -1;
    uint32_t size = 0;
    return data->readLdIdList(DCMD_LD_TIDEWELL_GET_ASSOCIATIONS, targetByte(), list, &size);
}

int VdDataZpr::getMirrorInfo(uint8_t** info)
{
    if (info == nullptr || vdId == nullptr)
        return -1;
    uint8_t* first = new (noThrowNew) uint8_t[MIRROR_FIRST_READ];
    if (first == nullptr)
        return -1;
    memset(first, 0, MIRROR_FIRST_READ);
    int status = send(DCMD_LD_MIRROR_VIEW, reference(), 0, first, MIRROR_FIRST_READ);
    if (status != 0) {
        delete[] first;
        return status;
    }
    // The buffer takes what its counts call for; a header that does not describe a walkable
    // buffer is refused rather than read past.
    ZprConfigBuffer view(first, MIRROR_FIRST_READ);
    const ZprConfigBuffer::Layout layout = view.checkLayout();
    const uint64_t size = view.requiredSize();
    if (layout == ZprConfigBuffer::LAYOUT_OK) {
        *info = first;
        return 0;
    }
    delete[] first;
    if (layout != ZprConfigBuffer::LAYOUT_TRUNCATED || size > UINT32_MAX)
        return -1;
    uint8_t* whole = new (noThrowNew) uint8_t[size];
    if (whole == nullptr)
        return -1;
    memset(whole, 0, size);
    status = send(DCMD_LD_MIRROR_VIEW, reference(), 0, whole, static_cast<uint32_t>(size));
    if (status == 0 && ZprConfigBuffer(whole, size).checkLayout() != ZprConfigBuffer::LAYOUT_OK)
        status = -1;
    if (status != 0) {
        delete[] whole;
        return status;
    }
    *info = whole;
    return 0;
}

int VdDataZpr::sendScsiPassThrough()
{
    if (LinuxZprDataProvider::instance() == nullptr)
        return 1;
    if (controller == nullptr || vdId == nullptr)
        return 1;
    uint8_t cdb[READ_10_CDB_LENGTH];
    memset(cdb, 0, sizeof cdb);
    cdb[0] = SCSI_READ_10;
    cdb[READ_10_LENGTH_LSB] = 1;
    uint8_t block[BLOCK_SIZE];
    uint8_t sense[zprframe::SENSE_SIZE];
    memset(block, 0, sizeof block);
    memset(sense, 0, sizeof sense);
    DcdbZprDpParams* request = new (noThrowNew) DcdbZprDpParams(
        ZPR_FRAME_LD_SCSI_IO, static_cast<uint8_t>(targetByte()), 0, sizeof cdb, cdb, sizeof block, block,
        DP_DIRECTION_READ, sizeof sense, reinterpret_cast<uintptr_t>(sense), 0, 0);
    if (request == nullptr)
        return 1;
    // What the read answers does not matter: it only makes the drive be read once.
    ignoreStatus(controller->execute(request), "the read only makes the drive be read once");
    delete request;
    return 0;
}
