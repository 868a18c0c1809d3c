// The host description's enclosures and drives.
#include "Simulator/Description/SimDescriptionFormat.h"

#include "Simulator/Firmware/SimFirmware.h"

namespace sim {
namespace description {

const std::vector<std::pair<const char*, DriveOperation>> DRIVE_OPERATIONS = {
    {"rebuild", DriveOperation::REBUILD}, {"patrolRead", DriveOperation::PATROL_READ},
    {"clear", DriveOperation::CLEAR}, {"copyback", DriveOperation::COPYBACK},
    {"secureErase", DriveOperation::SECURE_ERASE},
};

template <class V>
void visit(V& v, SesElementType& t)
{
    v.num("type", t.type, REQUIRED);
    v.num("count", t.count);
    v.hex("overall", t.overall, SES_ELEMENT_SIZE);
    v.hex("status", t.status, SES_ELEMENT_SIZE * 255);
}

template <class V>
void visit(V& v, Enclosure& e)
{
    v.num("deviceId", e.deviceId, REQUIRED);
    v.num("slots", e.slots);
    v.num("powerSupplies", e.powerSupplies);
    v.num("fans", e.fans);
    v.num("temperatureSensors", e.temperatureSensors);
    v.num("alarms", e.alarms);
    v.num("simModules", e.simModules);
    v.num("status", e.status);
    v.num("type", e.type);
    v.num("position", e.position);
    v.num("connector", e.connector);
    v.num("driveCount", e.driveCount);
    v.patch("patch", e.patch, ENCL_ENTRY_SIZE);
    // The enclosure's SES pages.
    v.list("sesElements", e.sesElements, SES_MAX_ELEMENT_TYPES);
    v.num("sesTypeCount", e.sesTypeCount);
    v.num("sesDescriptorLength", e.sesDescriptorLength);
    v.num("sesConfigLength", e.sesConfigLength);
    v.num("sesStatusLength", e.sesStatusLength);
    v.patch("sesConfigPatch", e.sesConfigPatch, SES_PAGE_SIZE);
    v.patch("sesStatusPatch", e.sesStatusPatch, SES_PAGE_SIZE);
}


template <class V>
void visit(V& v, Drive& d)
{
    v.num("deviceId", d.deviceId, REQUIRED);
    v.num("sequence", d.sequence);
    v.num("enclosureId", d.enclosureId);
    v.num("slot", d.slot);
    v.num("type", d.type, HEX);
    v.num("state", d.state, HEX);
    v.text("interface", d.interface, NO_LIMIT, {"SCSI", "SAS", "SATA", "FC"});
    v.text("media", d.media, NO_LIMIT, {"HDD", "SSD"});
    v.text("vendor", d.vendor, 8);
    v.text("product", d.product, 16);
    v.text("revision", d.revision, 4);
    v.num("rawBlocks", d.rawBlocks);
    v.num("nonCoercedBlocks", d.nonCoercedBlocks);
    v.num("coercedBlocks", d.coercedBlocks);
    v.hex("vpd83", d.vpd83, PD_VPD83_SIZE);
    v.num("unsupported", d.unsupported);
    v.num("notCertified", d.notCertified);
    v.num("connectedPorts", d.connectedPorts, HEX);
    v.num("deviceSpeed", d.deviceSpeed);
    v.num("linkSpeed", d.linkSpeed);
    v.num("secondLinkSpeed", d.secondLinkSpeed);
    v.num("mediaErrors", d.mediaErrors);
    v.num("otherErrors", d.otherErrors);
    v.num("predictiveFailures", d.predictiveFailures);
    v.num("lastPredictiveSeq", d.lastPredictiveSeq);
    v.num("configFlags", d.configFlags, HEX);
    v.flag("widePort", d.widePort);
    v.list("ports", d.ports, PD_MAX_PORTS);
    v.num("powerState", d.powerState, HEX);
    v.num("position", d.position);
    v.num("slotCount", d.slotCount);
    v.num("flags361", d.flags361, HEX);
    v.num("flags362", d.flags362, HEX);
    v.num("partnerId", d.partnerId);
    v.num("security", d.security, HEX);
    v.text("bridgeVendor", d.bridgeVendor, 8);
    v.text("bridgeProduct", d.bridgeProduct, 16);
    v.text("bridgeRevision", d.bridgeRevision, 4);
    v.num("temperature", d.temperature);
    v.text("ataSerial", d.ataSerial, 20);
    v.text("ataModel", d.ataModel, 40);
    v.text("ataFirmware", d.ataFirmware, 8);
    v.text("fruText", d.fruText, 12);
    v.text("enclosureSerial", d.enclosureSerial, 8);
    v.hex("vpd01", d.vpd01, SCSI_PAGE_SIZE);
    v.hex("vpdC3", d.vpdC3, SCSI_PAGE_SIZE);
    v.hex("dpmStatistics", d.dpmStatistics, 400);
    v.num("logTemperature", d.logTemperature);
    v.text("bridgeFirmwareVersion", d.bridgeFirmwareVersion, 12);
    v.text("bridgeBootLoaderVersion", d.bridgeBootLoaderVersion, 12);
    v.text("bridgeConfigVersion", d.bridgeConfigVersion, 8);
    v.num("physicalSectorExponent", d.physicalSectorExponent);
    v.num("sectorSize", d.sectorSize);
    v.num("protection", d.protection, HEX);
    v.num("spareFlags", d.spareFlags, HEX);
    v.numbers("diagnosticsDate", d.diagnosticsDate);
    v.num("shieldCounter", d.shieldCounter);
    v.text("keyId", d.keyId, 255);
    v.list("progress", d.progress);
    v.num("allowedOperations", d.allowedOperations, HEX);
    v.flag("locating", d.locating);
    v.flag("preparedForRemoval", d.preparedForRemoval);
    v.num("spinUpRounds", d.spinUpRounds);
    v.patch("patch", d.patch, PD_INFO_SIZE);
    v.num("primaryDefects", d.primaryDefects);
    v.num("grownDefects", d.grownDefects);
    v.flag("rejectsPrimaryDefects", d.rejectsPrimaryDefects);
    v.flag("rejectsGrownDefects", d.rejectsGrownDefects);
}

template <class V>
void visit(V& v, DrivePort& p)
{
    v.num("sasAddress", p.sasAddress, HEX);
    v.num("connector", p.connector);
    v.flag("passive", p.passive);
}

template <class V>
void visit(V& v, DriveProgress& p)
{
    v.choice("operation", p.operation, DRIVE_OPERATIONS, REQUIRED);
    v.num("progress", p.progress);
    v.num("elapsed", p.elapsed);
    v.flag("suspended", p.suspended);
    v.num("since", p.since);
    v.num("source", p.source);
}

SIM_DESCRIPTION_PART(Enclosure);
SIM_DESCRIPTION_PART(Drive);

} // namespace description

} // namespace sim
