// The adapter data's controller properties and alarm. Every getter answers from the cached
// properties record, every setter changes the cached copy and marks it changed; the record is
// written whole by commitProperties. The alarm is read and changed with commands of its own.
#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/Zpr/AdapterDataZpr.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerProperties.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"

namespace {

typedef ZprControllerProperties Props;

// What getAlarmState reports for a controller without an alarm.
const uint8_t ALARM_STATE_ABSENT = 3;
// The alarm actions of setAlarmState.
const uint8_t ALARM_DISABLE = 0;
const uint8_t ALARM_ENABLE = 1;
const uint8_t ALARM_SILENCE = 2;

// Four tuning modes have room in the record (the two bits of byte 47).
const uint8_t PERF_MODE_COUNT = 4;

// `value` is taken by reference: it is read only after the call that fills it has run.
template <typename T>
int copyOut(int status, const uint32_t& value, T* out)
{
    if (status == 0 && out != nullptr)
        *out = static_cast<T>(value);
    return status;
}

}  // namespace

int AdapterDataZpr::propertyValue(size_t offset, size_t width, uint32_t* out)
{
    int status = loadRecord(PROPERTIES);
    if (status == 0) {
        Props props(records[PROPERTIES], Props::SIZE);
        *out = width == 2 ? props.view().u16(offset) : props.view().u8(offset);
    }
    return status;
}

int AdapterDataZpr::propertyBit(size_t offset, unsigned bit, uint32_t* out)
{
    int status = loadRecord(PROPERTIES);
    if (status == 0)
        *out = Props(records[PROPERTIES], Props::SIZE).view().bit(offset, bit) ? 1 : 0;
    return status;
}

int AdapterDataZpr::changeProperty(size_t offset, size_t width, uint32_t value)
{
    int status = loadRecord(PROPERTIES);
    if (status != 0)
        return status;
    Props props(records[PROPERTIES], Props::SIZE);
    if (width == 2)
        props.view().setU16(offset, static_cast<uint16_t>(value));
    else
        props.view().setU8(offset, static_cast<uint8_t>(value));
    propertiesChanged = true;
    return 0;
}

int AdapterDataZpr::changePropertyBits(size_t offset, uint8_t mask, uint8_t bits)
{
    int status = loadRecord(PROPERTIES);
    if (status != 0)
        return status;
    Props props(records[PROPERTIES], Props::SIZE);
    const uint8_t kept = static_cast<uint8_t>(props.view().u8(offset) & ~mask);
    props.view().setU8(offset, static_cast<uint8_t>(kept | (bits & mask)));
    propertiesChanged = true;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The getters and setters, one field each: the operation, its field (and bit) and the type it
// takes. A setter given a pointer reads the value through it; a null pointer is refused before
// anything is read. A one-bit setter uses bit 0 of its argument.

#define GET_BYTE(operation, field, T) \
    int AdapterDataZpr::operation(T* out) { uint32_t v = 0; return copyOut(propertyValue(Props::field, 1, &v), v, out); }
#define GET_WORD(operation, field) \
    int AdapterDataZpr::operation(uint16_t* out) { uint32_t v = 0; return copyOut(propertyValue(Props::field, 2, &v), v, out); }
#define GET_BIT(operation, field, bit, T) \
    int AdapterDataZpr::operation(T* out) { uint32_t v = 0; return copyOut(propertyBit(Props::field, bit, &v), v, out); }
#define SET_BYTE(operation, field, T) \
    int AdapterDataZpr::operation(T value) { return changeProperty(Props::field, 1, value); }
#define SET_BYTE_AT(operation, field, T) \
    int AdapterDataZpr::operation(T* value) { return value != nullptr ? changeProperty(Props::field, 1, *value) : -1; }
#define SET_WORD(operation, field) \
    int AdapterDataZpr::operation(uint16_t value) { return changeProperty(Props::field, 2, value); }
#define SET_WORD_AT(operation, field) \
    int AdapterDataZpr::operation(uint16_t* value) { return value != nullptr ? changeProperty(Props::field, 2, *value) : -1; }
#define SET_BIT(operation, field, bit, T) \
    int AdapterDataZpr::operation(T value) { return changePropertyBits(Props::field, 1u << (bit), (value & 1u) << (bit)); }
#define SET_BIT_AT(operation, field, bit, T) \
    int AdapterDataZpr::operation(T* value) \
    { return value != nullptr ? changePropertyBits(Props::field, 1u << (bit), (*value & 1u) << (bit)) : -1; }

GET_WORD(getPropertiesSequenceNumber, SEQUENCE_NUMBER)
SET_WORD_AT(setPropertiesSequenceNumber, SEQUENCE_NUMBER)
GET_WORD(getPredictiveFailPollInterval, PREDICTIVE_FAIL_POLL)
SET_WORD_AT(setPredictiveFailPollInterval, PREDICTIVE_FAIL_POLL)
GET_WORD(getInterruptThrottleCount, INTERRUPT_THROTTLE_COUNT)
SET_WORD_AT(setInterruptThrottleCount, INTERRUPT_THROTTLE_COUNT)
GET_WORD(getInterruptThrottleTime, INTERRUPT_THROTTLE_TIME)
SET_WORD_AT(setInterruptThrottleTime, INTERRUPT_THROTTLE_TIME)
GET_BYTE(getRebuildRate, REBUILD_RATE, uint8_t)
SET_BYTE_AT(setRebuildRate, REBUILD_RATE, uint8_t)
GET_BYTE(getPatrolReadRate, PATROL_READ_RATE, uint8_t)
SET_BYTE_AT(setPatrolReadRate, PATROL_READ_RATE, uint8_t)
GET_BYTE(getBgiRate, BGI_RATE, uint8_t)
SET_BYTE_AT(setBgiRate, BGI_RATE, uint8_t)
GET_BYTE(getCheckConsistencyRate, CC_RATE, uint8_t)
SET_BYTE_AT(setCheckConsistencyRate, CC_RATE, uint8_t)
GET_BYTE(getReconstructionRate, RECONSTRUCTION_RATE, uint8_t)
SET_BYTE_AT(setReconstructionRate, RECONSTRUCTION_RATE, uint8_t)
GET_BYTE(getCacheFlushInterval, CACHE_FLUSH_INTERVAL, uint8_t)
SET_BYTE_AT(setCacheFlushInterval, CACHE_FLUSH_INTERVAL, uint8_t)
GET_BYTE(getSpinupDriveCount, SPINUP_DRIVE_COUNT, uint8_t)
SET_BYTE_AT(setSpinupDriveCount, SPINUP_DRIVE_COUNT, uint8_t)
GET_BYTE(getSpinupDelay, SPINUP_DELAY, uint8_t)
SET_BYTE_AT(setSpinupDelay, SPINUP_DELAY, uint8_t)
SET_BYTE(setClusterEnable, CLUSTER_ENABLE, uint8_t)
GET_BYTE(getCoercionMode, COERCION_MODE, uint8_t)
SET_BYTE_AT(setCoercionMode, COERCION_MODE, uint8_t)
GET_BYTE(getAutoRebuildDisabled, AUTO_REBUILD_DISABLED, uint8_t)
SET_BYTE_AT(setAutoRebuildDisabled, AUTO_REBUILD_DISABLED, uint8_t)
GET_BYTE(getBatteryWarningDisabled, BATTERY_WARNING_DISABLED, uint8_t)
SET_BYTE(setBatteryWarningDisabled, BATTERY_WARNING_DISABLED, uint8_t)
GET_BYTE(getEccBucketSize, ECC_BUCKET_SIZE, uint8_t)
SET_BYTE(setEccBucketSize, ECC_BUCKET_SIZE, uint8_t)
GET_WORD(getEccBucketLeakRate, ECC_BUCKET_LEAK_RATE)
SET_WORD(setEccBucketLeakRate, ECC_BUCKET_LEAK_RATE)
GET_BYTE(getRestoreHotSpareOnInsertion, RESTORE_HOT_SPARE, uint8_t)
SET_BYTE(setRestoreHotSpareOnInsertion, RESTORE_HOT_SPARE, uint8_t)
GET_BYTE(getExposeEnclosureDevices, EXPOSE_ENCLOSURE_DEVICES, uint8_t)
SET_BYTE_AT(setExposeEnclosureDevices, EXPOSE_ENCLOSURE_DEVICES, uint8_t)
GET_BYTE(getMaintainPdFailHistory, MAINTAIN_PD_FAIL_HISTORY, uint8_t)
SET_BYTE_AT(setMaintainPdFailHistory, MAINTAIN_PD_FAIL_HISTORY, uint8_t)
GET_BYTE(getAbortCcOnError, ABORT_CC_ON_ERROR, uint8_t)
SET_BYTE(setAbortCcOnError, ABORT_CC_ON_ERROR, uint8_t)
GET_BYTE(getLoadBalanceMode, LOAD_BALANCE_MODE, uint32_t)
SET_BYTE_AT(setLoadBalanceMode, LOAD_BALANCE_MODE, uint32_t)
GET_BYTE(getAutoDetectBackplaneDisabled, AUTO_DETECT_BACKPLANE_DISABLED, uint8_t)
SET_BYTE_AT(setAutoDetectBackplaneDisabled, AUTO_DETECT_BACKPLANE_DISABLED, uint8_t)
GET_BYTE(getDefaultSnapshotSpace, DEFAULT_SNAPSHOT_SPACE, uint8_t)
SET_BYTE(setDefaultSnapshotSpace, DEFAULT_SNAPSHOT_SPACE, uint8_t)

GET_BIT(getCopybackDisabled, DRIVE_FLAGS, 0, uint32_t)
SET_BIT_AT(setCopybackDisabled, DRIVE_FLAGS, 0, uint32_t)
GET_BIT(getSmartCopybackEnabled, DRIVE_FLAGS, 1, uint32_t)
SET_BIT_AT(setSmartCopybackEnabled, DRIVE_FLAGS, 1, uint32_t)
GET_BIT(getPatrolReadCorrectsUnconfigured, DRIVE_FLAGS, 2, uint32_t)
SET_BIT_AT(setPatrolReadCorrectsUnconfigured, DRIVE_FLAGS, 2, uint32_t)
GET_BIT(getUseFdeOnlyEncryption, DRIVE_FLAGS, 3, uint32_t)
SET_BIT_AT(setUseFdeOnlyEncryption, DRIVE_FLAGS, 3, uint32_t)
GET_BIT(getNcqDisabled, DRIVE_FLAGS, 4, uint32_t)
SET_BIT(setNcqDisabled, DRIVE_FLAGS, 4, uint8_t)
GET_BIT(getSsdSmartCopybackEnabled, DRIVE_FLAGS, 5, uint32_t)
SET_BIT_AT(setSsdSmartCopybackEnabled, DRIVE_FLAGS, 5, uint32_t)
GET_BIT(getPatrolReadOnSsd, DRIVE_FLAGS, 6, uint8_t)
SET_BIT(setPatrolReadOnSsd, DRIVE_FLAGS, 6, uint8_t)
GET_BIT(getSpinDownUnconfiguredDrives, DRIVE_FLAGS, 7, uint32_t)
SET_BIT(setSpinDownUnconfiguredDrives, DRIVE_FLAGS, 7, uint8_t)

GET_BIT(getAutoEnhancedImport, CONTROLLER_FLAGS, 0, uint32_t)
SET_BIT(setAutoEnhancedImport, CONTROLLER_FLAGS, 0, uint8_t)
GET_BIT(getOnlineControllerReset, CONTROLLER_FLAGS, 2, uint8_t)
SET_BIT(setOnlineControllerReset, CONTROLLER_FLAGS, 2, uint8_t)
GET_BIT(getBootWithPinnedCache, CONTROLLER_FLAGS, 3, uint8_t)
SET_BIT(setBootWithPinnedCache, CONTROLLER_FLAGS, 3, uint8_t)
GET_BIT(getSpinDownHotSpares, CONTROLLER_FLAGS, 4, uint32_t)
SET_BIT(setSpinDownHotSpares, CONTROLLER_FLAGS, 4, uint8_t)
GET_BIT(getJbodEnabled, CONTROLLER_FLAGS, 5, uint32_t)
SET_BIT_AT(setJbodEnabled, CONTROLLER_FLAGS, 5, uint32_t)
GET_BIT(getPropertyFlag21Bit6, CONTROLLER_FLAGS, 6, uint32_t)
SET_BIT_AT(setPropertyFlag21Bit6, CONTROLLER_FLAGS, 6, uint32_t)
GET_BIT(getUseDiskActivityForLocate, CONTROLLER_FLAGS, 7, uint8_t)
SET_BIT(setUseDiskActivityForLocate, CONTROLLER_FLAGS, 7, uint8_t)

GET_BIT(getPiEnabled, SPARE_FLAGS, 0, uint8_t)
SET_BIT_AT(setPiEnabled, SPARE_FLAGS, 0, uint8_t)
GET_BIT(getPreventPiImport, SPARE_FLAGS, 1, uint8_t)
SET_BIT_AT(setPreventPiImport, SPARE_FLAGS, 1, uint8_t)
GET_BIT(getEmergencyGlobalHotSpare, SPARE_FLAGS, 2, uint8_t)
SET_BIT_AT(setEmergencyGlobalHotSpare, SPARE_FLAGS, 2, uint8_t)
GET_BIT(getEmergencyUnconfiguredGoodSpare, SPARE_FLAGS, 3, uint8_t)
SET_BIT_AT(setEmergencyUnconfiguredGoodSpare, SPARE_FLAGS, 3, uint8_t)
GET_BIT(getEmergencySpareForSmarter, SPARE_FLAGS, 4, uint8_t)
SET_BIT_AT(setEmergencySpareForSmarter, SPARE_FLAGS, 4, uint8_t)
GET_BIT(getForceSgpio, SPARE_FLAGS, 5, uint8_t)
SET_BIT_AT(setForceSgpio, SPARE_FLAGS, 5, uint8_t)

GET_BYTE(getAutoSnapshotSpace, AUTO_SNAPSHOT_SPACE, uint8_t)
SET_BYTE(setAutoSnapshotSpace, AUTO_SNAPSHOT_SPACE, uint8_t)
GET_BYTE(getDefaultViewSpace, DEFAULT_VIEW_SPACE, uint8_t)
SET_BYTE(setDefaultViewSpace, DEFAULT_VIEW_SPACE, uint8_t)
GET_WORD(getSpinDownTime, SPIN_DOWN_TIME)
SET_WORD(setSpinDownTime, SPIN_DOWN_TIME)
GET_BYTE(getDefaultLdPowerSavingPolicy, DEFAULT_LD_POWER_SAVING, uint8_t)
SET_BYTE(setDefaultLdPowerSavingPolicy, DEFAULT_LD_POWER_SAVING, uint8_t)
GET_BYTE(getLdPowerSavingDisabledInterval, POWER_SAVING_DISABLED_INTERVAL, uint8_t)
SET_BYTE(setLdPowerSavingDisabledInterval, POWER_SAVING_DISABLED_INTERVAL, uint8_t)
GET_WORD(getLdPowerSavingDisabledTime, POWER_SAVING_DISABLED_TIME)
SET_WORD(setLdPowerSavingDisabledTime, POWER_SAVING_DISABLED_TIME)
GET_BYTE(getSpinupEnclosureDriveCount, SPINUP_ENCLOSURE_DRIVE_COUNT, uint8_t)
SET_BYTE(setSpinupEnclosureDriveCount, SPINUP_ENCLOSURE_DRIVE_COUNT, uint8_t)
GET_BYTE(getSpinupEnclosureDelay, SPINUP_ENCLOSURE_DELAY, uint8_t)
SET_BYTE(setSpinupEnclosureDelay, SPINUP_ENCLOSURE_DELAY, uint8_t)

#undef GET_BYTE
#undef GET_WORD
#undef GET_BIT
#undef SET_BYTE
#undef SET_BYTE_AT
#undef SET_WORD
#undef SET_WORD_AT
#undef SET_BIT
#undef SET_BIT_AT

// ---------------------------------------------------------------------------------------------
// The fields with a rule of their own.

int AdapterDataZpr::getClusterEnable(uint8_t* enabled)
{
    uint32_t v = 0;
    int status = propertyValue(Props::CLUSTER_ENABLE, 1, &v);
    return copyOut(status, v != 0 ? 1u : 0u, enabled);
}

int AdapterDataZpr::setPerfTunedMode(uint8_t mode)
{
    return changePropertyBits(Props::PERF_TUNED_MODE, 0x03, mode);
}

int AdapterDataZpr::setPerfModeValues(uint8_t mode, uint8_t flushLines, uint8_t latency)
{
    // A mode beyond the record's four would write into the bytes after the tuning values.
    if (mode >= PERF_MODE_COUNT)
        return -1;
    const size_t at = Props::PERF_MODE_VALUES + 2u * mode;
    int status = changeProperty(at, 1, flushLines);
    if (status == 0)
        status = changeProperty(at + 1, 1, latency);
    return status;
}

// The operations kept in the interface that only read the record; two of them mark it changed
// even when it could not be read (the commit then finds no record and refuses).
#define READING_STUB(operation, T) \
    int AdapterDataZpr::operation(T) { return loadRecord(PROPERTIES); }
#define MARKING_STUB(operation) \
    int AdapterDataZpr::operation(uint8_t) { int status = loadRecord(PROPERTIES); propertiesChanged = true; return status; }

READING_STUB(getPropertyStub48, void*)
READING_STUB(getPropertyStub49, void*)
READING_STUB(setPropertyStub89, void*)
READING_STUB(setPropertyStub90, void*)
READING_STUB(getPropertyStub223, void*)
READING_STUB(getPropertyStub225, void*)
MARKING_STUB(setPropertyStub224)
MARKING_STUB(setPropertyStub226)

#undef READING_STUB
#undef MARKING_STUB

// ---------------------------------------------------------------------------------------------
// The alarm.

int AdapterDataZpr::getAlarmState(uint8_t* state)
{
    uint8_t answer = 0;
    int status = send(DCMD_ADP_ALARM_GET, &answer, sizeof answer);
    if (status == STATUS_HARDWARE_NOT_PRESENT)
        return copyOut(0, ALARM_STATE_ABSENT, state);
    return copyOut(status, answer != 0 ? 1u : 0u, state);
}

int AdapterDataZpr::setAlarmState(uint8_t state)
{
    static const uint32_t COMMANDS[] = {DCMD_ADP_ALARM_DISABLE, DCMD_ADP_ALARM_ENABLE, DCMD_ADP_ALARM_SILENCE};
    if (state > ALARM_SILENCE)
        return -1;
    int status = send(COMMANDS[state], nullptr, 0);
    // The cached properties follow the alarm's switch; that is no change of ours to write.
    if (status == 0 && (state == ALARM_DISABLE || state == ALARM_ENABLE) && records[PROPERTIES] != nullptr)
        Props(records[PROPERTIES], Props::SIZE).view().setU8(Props::ALARM_ENABLED, state);
    return status;
}
