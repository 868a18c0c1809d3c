// The host description's controllers: a controller and the records it answers with.
#include "Simulator/Description/SimDescriptionFormat.h"

#include "Simulator/Firmware/SimFirmware.h"

namespace sim {
namespace description {

template <class V>
void visit(V& v, ImageInfo& i)
{
    v.text("name", i.name, 7);
    v.text("version", i.version, 31);
    v.text("buildTime", i.buildTime, 31);
}

template <class V>
void visit(V& v, ControllerInfo& i)
{
    v.num("vendorId", i.vendorId, HEX);
    v.num("deviceId", i.deviceId, HEX);
    v.num("subVendorId", i.subVendorId, HEX);
    v.num("subDeviceId", i.subDeviceId, HEX);
    v.num("controllerId", i.controllerId);
    v.num("hostInterface", i.hostInterface, HEX);
    v.num("deviceInterface", i.deviceInterface, HEX);
    v.num("sasAddress", i.sasAddress, HEX);
    v.num("backendPorts", i.backendPorts, PLAIN, 0, 16);
    v.list("images", i.images, 8);
    v.num("maxArms", i.maxArms);
    v.num("maxSpans", i.maxSpans);
    v.num("maxArrays", i.maxArrays);
    v.num("maxVirtualDrives", i.maxVirtualDrives);
    v.text("productName", i.productName, 79);
    v.text("serialNumber", i.serialNumber, 31);
    v.num("devicesPresent", i.devicesPresent, HEX);
    v.num("memoryMB", i.memoryMB);
    v.num("raidLevels", i.raidLevels, HEX);
    v.num("adapterOperations", i.adapterOperations, HEX);
    v.num("raidFeatures", i.raidFeatures, HEX);
    v.num("ldOperations", i.ldOperations, HEX);
    v.num("minStripExponent", i.minStripExponent);
    v.num("maxStripExponent", i.maxStripExponent);
    v.num("forwardCompatibility", i.forwardCompatibility);
    v.num("backwardCompatibility", i.backwardCompatibility);
    v.text("packageBuild", i.packageBuild, 95);
    v.text("driverVersion", i.driverVersion, 31);
    v.num("maxVdsPerArray", i.maxVdsPerArray);
    v.num("sensorsPresent", i.sensorsPresent, HEX);
    v.num("raidLevelOptions", i.raidLevelOptions, HEX);
    v.num("reportingFeatures", i.reportingFeatures, HEX);
    v.num("storageFeatures", i.storageFeatures, HEX);
    v.num("ldFeatures", i.ldFeatures, HEX);
    v.num("sscFeatures", i.sscFeatures, HEX);
    v.num("pdOperations", i.pdOperations, HEX);
    v.num("powerFeatures", i.powerFeatures, HEX);
    v.num("driveMixing", i.driveMixing, HEX);
    v.num("eccBucketCount", i.eccBucketCount);
    v.num("securityState", i.securityState, HEX);
    v.num("sscAndBootState", i.sscAndBootState, HEX);
    v.object("driveLimits", i.driveLimits);
    v.num("keyManagementState", i.keyManagementState);
    v.num("maxSscSizeGB", i.maxSscSizeGB);
    v.num("sscSizeGB", i.sscSizeGB);
    v.num("piFeatures", i.piFeatures, HEX);
    v.num("spareFeatures", i.spareFeatures, HEX);
    v.num("firmwareFeatures", i.firmwareFeatures, HEX);
    v.num("rocTemperature", i.rocTemperature);
    v.num("controllerTemperature", i.controllerTemperature);
    v.text("chipRevision", i.chipRevision, 2);
    v.num("linkSpeed", i.linkSpeed);
    v.num("pciMaxLinkSpeed", i.pciMaxLinkSpeed);
    v.numbers("frontendPorts", i.frontendPorts, HEX, 8);
    v.list("pendingImages", i.pendingImages, 8);
    v.num("maxParallelCommands", i.maxParallelCommands);
    v.num("maxSgeCount", i.maxSgeCount);
    v.num("maxTransferSectors", i.maxTransferSectors);
    v.num("correctableErrors", i.correctableErrors);
    v.num("uncorrectableErrors", i.uncorrectableErrors);
    v.num("clusterPermitted", i.clusterPermitted);
    v.num("clusterActive", i.clusterActive);
    v.num("maxStripsPerIo", i.maxStripsPerIo);
    v.text("expanderVersion", i.expanderVersion, 12);
    v.num("fwCacheMB", i.fwCacheMB);
    v.num("spinupPerMinute", i.spinupPerMinute);
    v.num("imageCheckWord", i.imageCheckWord, HEX);
    v.patch("patch", i.patch, CONTROLLER_INFO_SIZE);
}

template <class V>
void visit(V& v, DriveLimit& l)
{
    v.num("min", l.min, PLAIN, 0, 15);
    v.num("max", l.max, PLAIN, 0, 4095);
}

template <class V>
void visit(V& v, DriveLimits& l)
{
    v.object("raid0", l.raid0);
    v.object("raid1", l.raid1);
    v.object("raid5", l.raid5);
    v.object("raid6", l.raid6);
    v.object("raid10", l.raid10);
    v.object("raid50", l.raid50);
    v.object("raid60", l.raid60);
    v.object("level35", l.level35);
    v.object("raid10Prl11", l.raid10Prl11);
}

template <class V>
void visit(V& v, MfcDefaults& d)
{
    v.num("sasAddress", d.sasAddress, HEX);
    v.num("stripExponent", d.stripExponent);
    v.num("writePolicy", d.writePolicy);
    v.num("readPolicy", d.readPolicy);
    v.num("cacheWhenBbuBad", d.cacheWhenBbuBad);
    v.num("cachedIo", d.cachedIo);
    v.num("alarm", d.alarm);
    v.num("coercion", d.coercion);
    v.num("uncertifiedDrives", d.uncertifiedDrives);
    v.num("treatR1eAsR10", d.treatR1eAsR10);
    v.num("maxVdsPerArray", d.maxVdsPerArray);
    v.num("powerSavingOptions", d.powerSavingOptions, HEX);
    v.num("spinDownTime", d.spinDownTime);
    v.num("jbod", d.jbod);
    v.num("directPdMapping", d.directPdMapping);
    v.num("features", d.features, HEX);
    v.patch("patch", d.patch, MFC_DEFAULTS_SIZE);
}

template <class V>
void visit(V& v, ControllerProperties& p)
{
    v.num("sequence", p.sequence);
    v.num("predictiveFailPoll", p.predictiveFailPoll);
    v.num("throttleCount", p.throttleCount);
    v.num("throttleTime", p.throttleTime);
    v.num("rebuildRate", p.rebuildRate);
    v.num("patrolReadRate", p.patrolReadRate);
    v.num("bgiRate", p.bgiRate);
    v.num("ccRate", p.ccRate);
    v.num("reconstructionRate", p.reconstructionRate);
    v.num("cacheFlushInterval", p.cacheFlushInterval);
    v.num("spinupDriveCount", p.spinupDriveCount);
    v.num("spinupDelay", p.spinupDelay);
    v.num("clusterEnable", p.clusterEnable);
    v.num("coercionMode", p.coercionMode);
    v.num("alarmEnabled", p.alarmEnabled);
    v.num("autoRebuildDisabled", p.autoRebuildDisabled);
    v.num("batteryWarningDisabled", p.batteryWarningDisabled);
    v.num("eccBucketSize", p.eccBucketSize);
    v.num("eccBucketLeakRate", p.eccBucketLeakRate);
    v.num("restoreHotSpare", p.restoreHotSpare);
    v.num("exposeEnclosureDevices", p.exposeEnclosureDevices);
    v.num("maintainPdFailHistory", p.maintainPdFailHistory);
    v.num("reorderingDisabled", p.reorderingDisabled);
    v.num("abortCcOnError", p.abortCcOnError);
    v.num("loadBalanceMode", p.loadBalanceMode);
    v.num("autoDetectBackplaneDisabled", p.autoDetectBackplaneDisabled);
    v.num("defaultSnapshotSpace", p.defaultSnapshotSpace);
    v.num("driveFlags", p.driveFlags, HEX);
    v.num("controllerFlags", p.controllerFlags, HEX);
    v.num("spareFlags", p.spareFlags, HEX);
    v.num("autoSnapshotSpace", p.autoSnapshotSpace);
    v.num("defaultViewSpace", p.defaultViewSpace);
    v.num("spinDownTime", p.spinDownTime);
    v.num("defaultLdPowerSaving", p.defaultLdPowerSaving);
    v.num("powerSavingDisabledInterval", p.powerSavingDisabledInterval);
    v.num("powerSavingDisabledTime", p.powerSavingDisabledTime);
    v.num("spinupEnclosureDriveCount", p.spinupEnclosureDriveCount);
    v.num("spinupEnclosureDelay", p.spinupEnclosureDelay);
    v.num("perfTunedMode", p.perfTunedMode, HEX);
    v.hex("perfModeValues", p.perfModeValues, PERF_MODE_VALUES_SIZE);
    v.patch("patch", p.patch, PROPERTIES_SIZE);
}

template <class V>
void visit(V& v, MfgData& m)
{
    v.num("mfgYear", m.mfgYear, PLAIN, 0, 127);
    v.num("mfgMonth", m.mfgMonth, PLAIN, 0, 15);
    v.num("mfgDay", m.mfgDay, PLAIN, 0, 31);
    v.num("reworkYear", m.reworkYear, PLAIN, 0, 127);
    v.num("reworkMonth", m.reworkMonth, PLAIN, 0, 15);
    v.num("reworkDay", m.reworkDay, PLAIN, 0, 31);
    v.text("serialNumber", m.serialNumber, 16);
    v.text("revision", m.revision, 8);
    v.patch("patch", m.patch, MFG_DATA_SIZE);
}

template <class V>
void visit(V& v, FruData& f)
{
    v.text("batteryFru", f.batteryFru, 8);
    v.text("cacheModuleFru", f.cacheModuleFru, 24);
    v.patch("patch", f.patch, FRU_DATA_SIZE);
}

template <class V>
void visit(V& v, BbuStatus& b)
{
    v.num("type", b.type);
    v.num("variant", b.variant);
    v.num("voltage", b.voltage);
    v.num("current", b.current);
    v.num("temperature", b.temperature);
    v.num("firmwareStatus", b.firmwareStatus, HEX);
    v.num("gasGauge", b.gasGauge, HEX);
    v.numbers("readings", b.readings, PLAIN, BBU_STATUS_READINGS);
    v.num("chargeTime", b.chargeTime);
    v.patch("patch", b.patch, BBU_STATUS_SIZE);
}

template <class V>
void visit(V& v, BbuCapacity& b)
{
    v.num("relativeCharge", b.relativeCharge);
    v.num("absoluteCharge", b.absoluteCharge);
    v.num("remainingCapacity", b.remainingCapacity);
    v.num("fullChargeCapacity", b.fullChargeCapacity);
    v.num("runTimeToEmpty", b.runTimeToEmpty);
    v.num("averageTimeToEmpty", b.averageTimeToEmpty);
    v.num("averageTimeToFull", b.averageTimeToFull);
    v.num("cycleCount", b.cycleCount);
    v.num("maxError", b.maxError);
    v.num("remainingCapacityAlarm", b.remainingCapacityAlarm);
    v.num("remainingTimeAlarm", b.remainingTimeAlarm);
    v.patch("patch", b.patch, BBU_CAPACITY_SIZE);
}

template <class V>
void visit(V& v, BbuDesign& b)
{
    v.num("year", b.year, PLAIN, 0, 0xFFFF);
    v.num("month", b.month, PLAIN, 0, 15);
    v.num("day", b.day, PLAIN, 0, 31);
    v.num("designCapacity", b.designCapacity);
    v.num("designVoltage", b.designVoltage);
    v.num("specificationInfo", b.specificationInfo);
    v.num("serialNumber", b.serialNumber);
    v.num("packStatConfig", b.packStatConfig, HEX);
    v.text("manufacturerName", b.manufacturerName, 12);
    v.text("deviceName", b.deviceName, 8);
    v.text("deviceChemistry", b.deviceChemistry, 5);
    v.num("modesSupported", b.modesSupported);
    v.num("transparentLearn", b.transparentLearn);
    v.num("appData", b.appData);
    v.patch("patch", b.patch, BBU_DESIGN_SIZE);
}

template <class V>
void visit(V& v, BbuProperties& b)
{
    v.num("autoLearnPeriod", b.autoLearnPeriod);
    v.num("nextLearnTime", b.nextLearnTime);
    v.num("learnDelayInterval", b.learnDelayInterval);
    v.num("autoLearnMode", b.autoLearnMode);
    v.num("bbuMode", b.bbuMode);
    v.patch("patch", b.patch, BBU_PROPERTIES_SIZE);
}

template <class V>
void visit(V& v, BbuMode& m)
{
    v.num("id", m.id);
    v.num("retention", m.retention);
    v.num("serviceLife", m.serviceLife);
    v.num("flags", m.flags, HEX);
}

template <class V>
void visit(V& v, Battery& b)
{
    v.object("status", b.status);
    v.object("capacity", b.capacity);
    v.object("design", b.design);
    v.object("properties", b.properties);
    v.flag("modesAvailable", b.modesAvailable);
    v.list("modes", b.modes, BBU_MAX_MODES);
    v.hex("gasGaugeMemory", b.gasGaugeMemory, BBU_GAS_GAUGE_MEMORY_SIZE);
}

template <class V>
void visit(V& v, KeyValue& k)
{
    v.text("key", k.key, 255);
    v.text("value", k.value, 255);
}

template <class V>
void visit(V& v, ControllerClock& c)
{
    v.num("year", c.year);
    v.num("month", c.month);
    v.num("day", c.day);
    v.num("hour", c.hour);
    v.num("minute", c.minute);
    v.num("second", c.second);
}

template <class V>
void visit(V& v, TermLog& t)
{
    v.text("text", t.text, TERM_LOG_MAX_TEXT);
    v.num("bbuMode", t.bbuMode);
}

template <class V>
void visit(V& v, BiosData& b)
{
    v.num("bootDevice", b.bootDevice, HEX);
    v.num("biosDisabled", b.biosDisabled);
    v.num("errorHandling", b.errorHandling);
    v.num("bootIsPhysical", b.bootIsPhysical);
    v.num("keyManagementMode", b.keyManagementMode, HEX);
    v.num("autoSelectBoot", b.autoSelectBoot);
    v.patch("patch", b.patch, BIOS_DATA_SIZE);
}

template <class V>
void visit(V& v, SecurityKeys& k)
{
    v.text("key", k.key, 35);
    v.text("passPhrase", k.passPhrase, 71);
    v.text("keyId", k.keyId, 255);
    v.text("escrowKey", k.escrowKey, 103);
    v.flag("external", k.external);
    v.flag("changeStaged", k.changeStaged);
    v.text("stagedKey", k.stagedKey, 35);
    v.text("stagedPassPhrase", k.stagedPassPhrase, 71);
    v.text("stagedKeyId", k.stagedKeyId, 255);
    v.flag("stagedExternal", k.stagedExternal);
}

template <class V>
void visit(V& v, PatrolReadProperties& p)
{
    v.num("mode", p.mode);
    v.num("maxConcurrentPds", p.maxConcurrentPds);
    v.num("onSsd", p.onSsd);
    v.num("nextStart", p.nextStart);
    v.num("executionDelay", p.executionDelay);
    v.patch("patch", p.patch, PR_PROPERTIES_SIZE);
    v.num("state", p.state);
    v.num("iterations", p.iterations);
    v.num("pdsCompleted", p.pdsCompleted);
    v.num("startedAt", p.startedAt);
    v.num("suspendedAt", p.suspendedAt);
    v.num("secondsPerDrive", p.secondsPerDrive, PLAIN, 1, UINT32_MAX);
}

template <class V>
void visit(V& v, CcSchedule& c)
{
    v.flag("supported", c.supported);
    v.num("mode", c.mode);
    v.numbers("excluded", c.excluded, PLAIN, CC_SCHEDULE_MAX_EXCLUDED);
    v.num("nextStart", c.nextStart);
    v.num("executionDelay", c.executionDelay, HEX);
    v.patch("patch", c.patch, CC_SCHEDULE_SIZE);
    v.num("state", c.state);
    v.num("iterations", c.iterations);
    v.num("vdsCompleted", c.vdsCompleted);
}

template <class V>
void visit(V& v, Event& e)
{
    v.num("seq", e.seq, REQUIRED | HEX);
    v.num("time", e.time, HEX);
    v.num("code", e.code, HEX);
    v.num("locale", e.locale, HEX);
    v.num("class", e.eventClass);
    v.num("argType", e.argType);
    v.hex("args", e.args, EVENT_ARGS_SIZE);
    v.text("description", e.description, EVENT_DESCRIPTION_LENGTH);
}

template <class V>
void visit(V& v, EventLog& l)
{
    v.num("newest", l.newest, HEX);
    v.num("oldest", l.oldest, HEX);
    v.num("clear", l.clear, HEX);
    v.num("shutdown", l.shutdown, HEX);
    v.num("boot", l.boot, HEX);
    v.list("events", l.events);
}

template <class V>
void visit(V& v, EventCapture& c)
{
    v.num("state", c.state, PLAIN, 0, 2);
    v.num("startValue", c.startValue, HEX);
    v.num("mode", c.mode);
    v.num("filterMask", c.filterMask, HEX);
    v.num("captured", c.captured);
    v.num("segments", c.segments, PLAIN, 0, 64);
}

template <class V>
void visit(V& v, PerfMon& p)
{
    v.num("running", p.running, PLAIN, 0, 1);
    v.num("interval", p.interval);
    v.hex("results", p.results, 4096);
}

template <class V>
void visit(V& v, DpmConfig& d)
{
    v.num("configuration", d.configuration);
    v.num("value", d.value);
    v.num("maxAveragingCommands", d.maxAveragingCommands);
    v.num("maxLatencyCommands", d.maxLatencyCommands);
    v.num("ticksPerSecond", d.ticksPerSecond);
    v.num("cleared", d.cleared, HEX);
}

template <class V>
void visit(V& v, ConnectorModes& m)
{
    v.numbers("modes", m.modes, PLAIN, MUX_MAX_CONNECTORS);
    v.patch("patch", m.patch, MUX_MODES_SIZE);
}

template <class V>
void visit(V& v, Connector& c)
{
    v.num("location", c.location);
    v.text("name", c.name, CONNECTOR_NAME_LENGTH);
}

template <class V>
void visit(V& v, ConnectorInfo& i)
{
    v.list("connectors", i.connectors, CONNECTOR_MAX_ENTRIES);
    v.patch("patch", i.patch, CONNECTOR_INFO_SIZE);
}

template <class V>
void visit(V& v, Phy& p)
{
    v.num("sasAddress", p.sasAddress, HEX);
    v.num("phyId", p.phyId);
    v.flag("disabled", p.disabled);
    v.num("deviceType", p.deviceType, HEX);
    v.num("targetFlags", p.targetFlags, HEX);
    v.num("linkRate", p.linkRate);
    v.num("invalidDwords", p.invalidDwords);
    v.num("disparityErrors", p.disparityErrors);
    v.num("lossOfSync", p.lossOfSync);
    v.num("resetProblems", p.resetProblems);
}

template <class V>
void visit(V& v, PhyControl& c)
{
    v.hex("block", c.block, PHY_CONTROL_MAX_RESPONSE);
    v.hex("list", c.list, PHY_CONTROL_MAX_RESPONSE);
    v.num("listCount", c.listCount);
    v.hex("written", c.written, PHY_CONTROL_MAX_RESPONSE);
}

template <class V>
void visit(V& v, PhyList& l)
{
    v.list("phys", l.phys, PHY_MAX_ENTRIES);
    v.patch("patch", l.patch, PHY_LIST_SIZE);
}

template <class V>
void visit(V& v, OemData& o)
{
    v.num("oemId", o.oemId);
    v.num("clusterDisable", o.clusterDisable);
    v.num("disableSAS", o.disableSAS);
    v.num("maxDisks", o.maxDisks);
    v.num("enableRaid6", o.enableRaid6);
    v.num("disableWideCache", o.disableWideCache);
    v.num("disableRaid5", o.disableRaid5);
    v.num("enableSecurity", o.enableSecurity);
    v.num("enableCTIO", o.enableCTIO);
    v.num("enableSnapShot", o.enableSnapShot);
    v.num("enableSSC", o.enableSSC);
    v.num("enableReducedFeatureSet", o.enableReducedFeatureSet);
    v.num("enableCacheOffload", o.enableCacheOffload);
    v.num("enableSSCWB", o.enableSSCWB);
    v.patch("patch", o.patch, OEM_DATA_SIZE);
}

template <class V>
void visit(V& v, Controller& c)
{
    v.num("host", c.host, REQUIRED);
    v.num("driverKind", c.driverKind, PLAIN, DRIVER_KIND_SAS, DRIVER_KIND_SWR);
    v.object("pci", c.pci);
    v.text("procName", c.procName, ATTRIBUTE_LENGTH);
    v.text("procNameFile", c.procNameFile, ATTRIBUTE_LENGTH);
    v.flag("sysfsLinkedClass", c.sysfsLinkedClass);
    v.object("info", c.info);
    v.object("mfcOemData", c.mfcOemData);
    v.object("mfcDefaults", c.mfcDefaults);
    v.num("runtimeStatus", c.runtimeStatus, HEX);
    v.object("properties", c.properties);
    v.object("bios", c.bios);
    v.object("mfgData", c.mfgData);
    v.object("fruData", c.fruData);
    v.list("keyValues", c.keyValues);
    v.patch("keyValuesPatch", c.keyValuesPatch, KEY_VALUES_SIZE);
    v.object("time", c.time);
    v.object("termLog", c.termLog);
    v.object("securityKeys", c.securityKeys);
    v.object("patrolRead", c.patrolRead);
    v.object("ccSchedule", c.ccSchedule);
    v.object("eventLog", c.eventLog);
    v.object("eventCapture", c.eventCapture);
    v.object("dpm", c.dpm);
    v.object("perfMon", c.perfMon);
    v.object("connectorModes", c.connectorModes);
    v.object("connectorInfo", c.connectorInfo);
    v.object("phyList", c.phyList);
    v.object("phyControl", c.phyControl);
    v.list("enclosures", c.enclosures);
    v.list("drives", c.drives);
    v.list("lds", c.lds);
    v.list("arrays", c.arrays);
    v.list("spares", c.spares);
    v.list("foreignConfigs", c.foreignConfigs);
    v.numbers("reservedTargetIds", c.reservedTargetIds);
    v.text("bbuModuleVersion", c.bbuModuleVersion, 8);
    v.num("operationSeconds", c.operationSeconds, PLAIN, 1, 0xFFFF);
    v.num("jbodConversionsLeft", c.jbodConversionsLeft);
    v.object("battery", c.battery);
    v.flag("hostScan", c.hostScan);
}

SIM_DESCRIPTION_PART(Controller);

} // namespace description

} // namespace sim
