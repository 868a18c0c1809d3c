#include "RaidManager/Zpr/VdDataZpr.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/Span.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdParameters.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProperties.h"

namespace {

uint8_t* newZeroedRecord(size_t size)
{
    uint8_t* record = new (noThrowNew) uint8_t[size];
    if (record != nullptr)
        memset(record, 0, size);
    return record;
}

int sendLdCommand(Controller* controller, uint32_t opcode, uint32_t mailbox0, uint8_t* data, size_t length)
{
    if (controller == nullptr)
        return -1;
    DcmdZprDpParams* request = new (noThrowNew)
        DcmdZprDpParams(opcode, mailbox0, 0u, 0u, data, static_cast<uint32_t>(length), 0, 0);
    if (request == nullptr)
        return -1;
    int status = controller->execute(request);
    delete request;
    return status;
}

ZprLdProperties propertiesOf(uint8_t* record)
{
    return ZprLdProperties(LeView(record, ZprLdProperties::SIZE));
}

ZprLdParameters parametersOf(uint8_t* record)
{
    return ZprLdParameters(LeView(record, ZprLdParameters::SIZE));
}

ZprLdInfo infoOf(uint8_t* record)
{
    return ZprLdInfo(LeView(record, ZprLdInfo::SIZE));
}

}  // namespace

VdDataZpr::VdDataZpr(Controller* controller, VdIdZpr* id)
    : VdData(controller, id), foreign(0), dirty(0), properties(nullptr), parameters(nullptr), ldInfo(nullptr),
      allowedOperations(0), spans(nullptr), vdId(id), ownProperties(nullptr), ownParameters(nullptr)
{
}

VdDataZpr::VdDataZpr(Controller* controller, VdIdZpr* id, uint8_t primaryRaidLevel, uint8_t stripExponent,
                     uint8_t currentCachePolicy, uint8_t defaultCachePolicy, uint8_t encryptionType,
                     uint8_t defaultPowerSavingsPolicy)
    : VdDataZpr(controller, id)
{
    ownParameters = newZeroedRecord(ZprLdParameters::SIZE);
    ownProperties = newZeroedRecord(ZprLdProperties::SIZE);
    parameters = ownParameters;
    properties = ownProperties;
    if (parameters != nullptr) {
        ZprLdParameters p = parametersOf(parameters);
        p.setByteAt(ZprLdParameters::PRIMARY_RAID_LEVEL, primaryRaidLevel);
        p.setByteAt(ZprLdParameters::STRIP_EXPONENT, stripExponent);
        p.setByteAt(ZprLdParameters::ENCRYPTION, encryptionType);
    }
    if (properties != nullptr) {
        ZprLdProperties p = propertiesOf(properties);
        p.setByteAt(ZprLdProperties::DEFAULT_CACHE_POLICY, defaultCachePolicy);
        p.setByteAt(ZprLdProperties::CURRENT_CACHE_POLICY, currentCachePolicy);
        p.setByteAt(ZprLdProperties::DEFAULT_POWER_SAVINGS, defaultPowerSavingsPolicy);
    }
}

VdDataZpr::~VdDataZpr()
{
    delete[] ldInfo;
    // Only the records made for a planned drive are its own: never the configuration's, and
    // never the information record that the properties may have been pointed into.
    delete[] ownProperties;
    delete[] ownParameters;
    for (unsigned char i = 0; spans != nullptr && i < spans->count(); ++i)
        delete spans->get(i);
    delete spans;
}

int VdDataZpr::loadLdInfo()
{
    if (ldInfo != nullptr)
        return 0;
    if (vdId == nullptr)
        return -1;
    uint8_t* record = newZeroedRecord(ZprLdInfo::SIZE);
    if (record == nullptr)
        return -1;
    int status = sendLdCommand(controller, DCMD_LD_GET_INFO, vdId->getTargetId(), record, ZprLdInfo::SIZE);
    if (status != 0 && foreign != 0) {
        // A drive of a foreign configuration is not known to the controller yet: it reads as zeros.
        memset(record, 0, ZprLdInfo::SIZE);
        status = 0;
    }
    if (status != 0) {
        delete[] record;
        return status;
    }
    ldInfo = record;
    return 0;
}

int VdDataZpr::loadProperties()
{
    if (properties != nullptr)
        return 0;
    int status = loadLdInfo();
    if (status != 0)
        return status;
    properties = ldInfo + ZprLdInfo::PROPERTIES;
    return 0;
}

int VdDataZpr::loadParameters()
{
    if (parameters != nullptr)
        return 0;
    int status = loadLdInfo();
    if (status != 0)
        return status;
    parameters = ldInfo + ZprLdInfo::PARAMETERS;
    return 0;
}

int VdDataZpr::getPropertyByte(size_t offset, uint8_t* value)
{
    int status = loadProperties();
    if (status == 0 && value != nullptr)
        *value = propertiesOf(properties).byteAt(offset);
    return status;
}

int VdDataZpr::getParameterByte(size_t offset, uint8_t* value)
{
    int status = loadParameters();
    if (status == 0 && value != nullptr)
        *value = parametersOf(parameters).byteAt(offset);
    return status;
}

int VdDataZpr::setPropertyByte(size_t offset, uint8_t value)
{
    dirty = 1;
    if (properties == nullptr)
        return -1;
    propertiesOf(properties).setByteAt(offset, value);
    return 0;
}

int VdDataZpr::getName(char* name, size_t size)
{
    int status = loadProperties();
    if (status == 0 && name != nullptr)
        propertiesOf(properties).name(name, size);
    return status;
}

int VdDataZpr::getDefaultCachePolicy(uint8_t* v) { return getPropertyByte(ZprLdProperties::DEFAULT_CACHE_POLICY, v); }
int VdDataZpr::getAccessPolicy(uint8_t* v) { return getPropertyByte(ZprLdProperties::ACCESS_POLICY, v); }
int VdDataZpr::getDiskCachePolicy(uint8_t* v) { return getPropertyByte(ZprLdProperties::DISK_CACHE_POLICY, v); }
int VdDataZpr::getCurrentCachePolicy(uint8_t* v) { return getPropertyByte(ZprLdProperties::CURRENT_CACHE_POLICY, v); }
int VdDataZpr::isBgiDisabled(uint8_t* v) { return getPropertyByte(ZprLdProperties::BGI_DISABLED, v); }
int VdDataZpr::getPowerSavingsPolicy(uint8_t* v) { return getPropertyByte(ZprLdProperties::DEFAULT_POWER_SAVINGS, v); }
int VdDataZpr::getCurrentPowerSavingsPolicy(uint8_t* v) { return getPropertyByte(ZprLdProperties::CURRENT_POWER_SAVINGS, v); }
int VdDataZpr::getRaidLevelQualifier(uint8_t* v) { return getParameterByte(ZprLdParameters::RAID_QUALIFIER, v); }
int VdDataZpr::getSecondaryRaidLevel(uint8_t* v) { return getParameterByte(ZprLdParameters::SECONDARY_RAID_LEVEL, v); }
int VdDataZpr::getStripSize(uint8_t* v) { return getParameterByte(ZprLdParameters::STRIP_EXPONENT, v); }
int VdDataZpr::getDrivesPerSpan(uint8_t* v) { return getParameterByte(ZprLdParameters::DRIVES_PER_SPAN, v); }
int VdDataZpr::getSpanDepth(uint8_t* v) { return getParameterByte(ZprLdParameters::SPAN_DEPTH, v); }
int VdDataZpr::getState(uint8_t* v) { return getParameterByte(ZprLdParameters::STATE, v); }
int VdDataZpr::isInitialized(uint8_t* v) { return getParameterByte(ZprLdParameters::INITIALIZED, v); }
int VdDataZpr::getEncryptionType(uint8_t* v) { return getParameterByte(ZprLdParameters::ENCRYPTION, v); }
int VdDataZpr::hasBadBlocks(uint8_t* v) { return getParameterByte(ZprLdParameters::BAD_BLOCKS, v); }
int VdDataZpr::getPiType(uint8_t* v) { return getParameterByte(ZprLdParameters::PI_TYPE, v); }
int VdDataZpr::getCacheAssociation(uint8_t* v) { return getParameterByte(ZprLdParameters::CACHE_ASSOCIATION, v); }
int VdDataZpr::getCurrentAccessPolicy(uint8_t* v) { return getParameterByte(ZprLdParameters::CURRENT_ACCESS_POLICY, v); }

int VdDataZpr::getPrimaryRaidLevel(uint8_t* level)
{
    uint8_t raw = 0;
    int status = getParameterByte(ZprLdParameters::PRIMARY_RAID_LEVEL, &raw);
    if (status == 0 && level != nullptr)
        *level = raw == ZprLdParameters::RAID_LEVEL_MULTI_MIRROR ? 1 : raw;
    return status;
}

int VdDataZpr::getPropertyFlag25Bit0(uint8_t* value)
{
    int status = loadProperties();
    if (status == 0 && value != nullptr)
        *value = propertiesOf(properties).flagBit(0) ? 1 : 0;
    return status;
}

int VdDataZpr::getPropertyFlag25Bit1(uint8_t* value)
{
    int status = loadProperties();
    if (status == 0 && value != nullptr)
        *value = propertiesOf(properties).flagBit(1) ? 1 : 0;
    return status;
}

int VdDataZpr::setName(const char* name)
{
    if (properties == nullptr)
        return -1;
    // A name that would fill the field without its NUL is refused, not cut or overrun.
    if (!propertiesOf(properties).setName(name))
        return -1;
    dirty = 1;
    return 0;
}

int VdDataZpr::setDefaultCachePolicy(uint8_t v) { return setPropertyByte(ZprLdProperties::DEFAULT_CACHE_POLICY, v); }
int VdDataZpr::setAccessPolicy(uint8_t v) { return setPropertyByte(ZprLdProperties::ACCESS_POLICY, v); }
int VdDataZpr::setDiskCachePolicy(uint8_t v) { return setPropertyByte(ZprLdProperties::DISK_CACHE_POLICY, v); }
int VdDataZpr::setCurrentCachePolicy(uint8_t v) { return setPropertyByte(ZprLdProperties::CURRENT_CACHE_POLICY, v); }
int VdDataZpr::setBgiDisabled(uint8_t v) { return setPropertyByte(ZprLdProperties::BGI_DISABLED, v); }
int VdDataZpr::setPowerSavingsPolicy(uint8_t v) { return setPropertyByte(ZprLdProperties::DEFAULT_POWER_SAVINGS, v); }

int VdDataZpr::setPropertyFlag25Bit0(uint8_t value)
{
    dirty = 1;
    if (properties == nullptr)
        return -1;
    propertiesOf(properties).setFlagBit(0, value);
    return 0;
}

int VdDataZpr::setPropertyFlag25Bit1(uint8_t value)
{
    int status = loadLdInfo();
    if (status != 0)
        return status;
    dirty = 1;
    if (properties == nullptr)
        return -1;
    properties = ldInfo + ZprLdInfo::PROPERTIES;
    propertiesOf(properties).setFlagBit(1, value);
    return 0;
}

int VdDataZpr::setPiType(uint8_t type)
{
    dirty = 1;
    if (properties == nullptr || parameters == nullptr)
        return -1;
    parametersOf(parameters).setByteAt(ZprLdParameters::PI_TYPE, type);
    return 0;
}

int VdDataZpr::beginUpdate()
{
    return loadProperties();
}

int VdDataZpr::endUpdate()
{
    if (dirty == 0)
        return 0;
    if (properties == nullptr || vdId == nullptr)
        return -1;
    const uint32_t reference = ZprLdProperties::makeReference(vdId->getTargetId(), vdId->getSequenceNumber());
    int status = sendLdCommand(controller, DCMD_LD_SET_PROPERTIES, reference, properties, ZprLdProperties::SIZE);
    // The change stays marked until the controller has taken it, so that a retry sends it.
    if (status == 0)
        dirty = 0;
    return status;
}

int VdDataZpr::addSpan(Span* span)
{
    return appendToList(spans, span);
}

int VdDataZpr::getSpans(ArrayList<Span*>** list)
{
    if (spans == nullptr)
        return -1;
    if (list != nullptr)
        *list = spans;
    return 0;
}

int VdDataZpr::getStartBlock(uint64_t* block)
{
    Span* first = spans != nullptr ? spans->get(0) : nullptr;
    return first == nullptr ? -1 : first->getStartBlock(block);
}

int VdDataZpr::getSpanBlockCount(uint64_t* blocks, uint8_t span)
{
    Span* at = spans != nullptr ? spans->get(span) : nullptr;
    return at == nullptr ? -1 : at->getBlockCount(blocks);
}

int VdDataZpr::sumSpans(uint64_t* dataBlocks, uint64_t* redundancyBlocks)
{
    uint8_t n = 0, depth = 0, level = 0;
    ignoreStatus(getDrivesPerSpan(&n), "an unread count keeps 0");
    ignoreStatus(getSpanDepth(&depth), "an unread depth keeps 0: no span summed");
    ignoreStatus(getPrimaryRaidLevel(&level), "an unread level keeps 0");
    *dataBlocks = 0;
    *redundancyBlocks = 0;
    // A level-5 record without drives or a level-6 record with fewer than two would give a
    // negative drive count: refused instead of wrapping into an enormous size.
    if ((level == 5 && n < 1) || (level == 6 && n < 2))
        return -1;
    for (uint8_t i = 0; i < depth; ++i) {
        uint64_t b = 0;
        ignoreStatus(getSpanBlockCount(&b, i), "an unread span keeps 0 blocks");
        switch (level) {
        case 0:
            *dataBlocks += n * b;
            break;
        case 1:
            *dataBlocks += (n * b) / 2;
            *redundancyBlocks += (n * b) / 2;
            break;
        case 5:
            *dataBlocks += (n - 1u) * b;
            *redundancyBlocks += b;
            break;
        case 6:
            *dataBlocks += (n - 2u) * b;
            *redundancyBlocks += 2 * b;
            break;
        default:
            return -1;
        }
    }
    return 0;
}

int VdDataZpr::getSize(uint64_t* blocks)
{
    uint64_t data = 0, redundancy = 0;
    int status = sumSpans(&data, &redundancy);
    if (blocks != nullptr)
        *blocks = data;
    return status;
}

int VdDataZpr::getSizes(uint64_t* dataBlocks, uint64_t* redundancyBlocks)
{
    uint64_t data = 0, redundancy = 0;
    int status = sumSpans(&data, &redundancy);
    if (dataBlocks != nullptr)
        *dataBlocks = data;
    if (redundancyBlocks != nullptr)
        *redundancyBlocks = redundancy;
    return status;
}

int VdDataZpr::returnsZero53()
{
    return 0;
}

int VdDataZpr::markForeign()
{
    foreign = 1;
    return 0;
}

int VdDataZpr::getLdInfoFlag303()
{
    int status = loadLdInfo();
    return status != 0 ? status : (infoOf(ldInfo).sizeIsDriveSize() ? 1 : 0);
}

int VdDataZpr::getLdInfoFlag303b()
{
    return getLdInfoFlag303();
}

int VdDataZpr::isSnapshotEnabled()
{
    int status = loadLdInfo();
    return status != 0 ? status : (infoOf(ldInfo).snapshotEnabled() != 0 ? 1 : 0);
}

int VdDataZpr::isTidewellCache()
{
    if (loadParameters() != 0)
        return 1;
    return parametersOf(parameters).isSsdCache() ? 1 : 0;
}

int VdDataZpr::getLdInfoBlock256(uint64_t* blocks)
{
    int status = loadLdInfo();
    if (status == 0 && blocks != nullptr)
        *blocks = infoOf(ldInfo).sizeBlocks();
    return status;
}
