// The host description's configuration: logical drives, arrays, spares, foreign configurations.
#include "Simulator/Description/SimDescriptionFormat.h"

#include "Simulator/Firmware/SimFirmware.h"

namespace sim {
namespace description {

const std::vector<std::pair<const char*, LdOperation>> LD_OPERATIONS = {
    {"consistencyCheck", LdOperation::CONSISTENCY_CHECK}, {"backgroundInit", LdOperation::BACKGROUND_INIT},
    {"foregroundInit", LdOperation::FOREGROUND_INIT}, {"reconstruction", LdOperation::RECONSTRUCTION},
    {"secureErase", LdOperation::SECURE_ERASE},
};
const std::vector<std::pair<const char*, ReconstructKind>> RECONSTRUCT_KINDS = {
    {"other", ReconstructKind::OTHER}, {"add", ReconstructKind::ADD}, {"remove", ReconstructKind::REMOVE},
};

template <class V>
void visit(V& v, Span& s)
{
    v.num("array", s.array, REQUIRED);
    v.num("startBlock", s.startBlock);
    v.num("blockCount", s.blockCount);
}

template <class V>
void visit(V& v, LdDisk& d)
{
    v.flag("present", d.present);
    v.text("name", d.name, 8);
    v.num("channel", d.channel);
    v.num("target", d.target);
    v.num("lun", d.lun);
    v.hex("vpd83", d.vpd83, DISK_VPD83_MAX);
    v.num("sgVersion", d.sgVersion);
    v.flag("rejectsInquiry", d.rejectsInquiry);
    v.flag("ioctlFails", d.ioctlFails);
}

template <class V>
void visit(V& v, LogicalDrive& l)
{
    v.num("targetId", l.targetId, REQUIRED);
    v.num("sequence", l.sequence);
    v.text("name", l.name, 15);
    v.num("defaultCachePolicy", l.defaultCachePolicy, HEX);
    v.num("accessPolicy", l.accessPolicy);
    v.num("diskCachePolicy", l.diskCachePolicy);
    v.num("currentCachePolicy", l.currentCachePolicy, HEX);
    v.num("bgiDisabled", l.bgiDisabled);
    v.num("powerSavingPolicy", l.powerSavingPolicy);
    v.num("currentPowerSavingPolicy", l.currentPowerSavingPolicy);
    v.num("propertyFlags", l.propertyFlags, HEX);
    v.num("raidLevel", l.raidLevel);
    v.num("raidQualifier", l.raidQualifier);
    v.num("secondaryRaidLevel", l.secondaryRaidLevel);
    v.num("stripExponent", l.stripExponent);
    v.num("drivesPerSpan", l.drivesPerSpan);
    v.num("spanDepth", l.spanDepth);
    v.num("state", l.state);
    v.num("initialized", l.initialized);
    v.num("encryption", l.encryption);
    v.num("sscCache", l.sscCache);
    v.num("piType", l.piType);
    v.num("currentAccessPolicy", l.currentAccessPolicy);
    v.num("preservedCache", l.preservedCache);
    v.num("badBlocks", l.badBlocks);
    v.num("bbmCorrected", l.bbmCorrected);
    v.num("bbmUncorrected", l.bbmUncorrected);
    v.num("snapshot", l.snapshot);
    v.num("powerConditions", l.powerConditions, HEX);
    v.num("cacheAssociation", l.cacheAssociation);
    v.num("allowedOperations", l.allowedOperations, HEX);
    v.num("sizeBlocks", l.sizeBlocks);
    v.flag("sizeIsDriveSize", l.sizeIsDriveSize);
    v.list("progress", l.progress);
    v.hex("vpd83", l.vpd83, VPD83_PAGE_SIZE);
    v.flag("blockAsDirectory", l.blockAsDirectory);
    v.object("disk", l.disk);
    v.numbers("drives", l.drives);
    v.list("spans", l.spans, CFG_LD_MAX_SPANS);
    v.patch("patch", l.patch, LD_INFO_SIZE);
    v.patch("configPatch", l.configPatch, CFG_LD_SIZE);
}

template <class V>
void visit(V& v, LdProgress& p)
{
    v.choice("operation", p.operation, LD_OPERATIONS, REQUIRED);
    v.num("progress", p.progress);
    v.num("elapsed", p.elapsed);
    v.num("rate", p.rate);
    v.flag("suspended", p.suspended);
    v.num("newRaidLevel", p.newRaidLevel);
    v.choice("reconstructKind", p.reconstructKind, RECONSTRUCT_KINDS);
    v.numbers("reconstructDrives", p.reconstructDrives);
    v.num("expansionPercent", p.expansionPercent);
    v.flag("deleteAfter", p.deleteAfter);
}

template <class V>
void visit(V& v, ArrayMember& m)
{
    v.num("row", m.row, REQUIRED, 0, CFG_ARRAY_MAX_DRIVES - 1);
    v.num("sequence", m.sequence);
    v.num("state", m.state, HEX);
}

template <class V>
void visit(V& v, Array& a)
{
    v.num("ref", a.ref, REQUIRED);
    v.numbers("drives", a.drives);
    v.num("sizeBlocks", a.sizeBlocks);
    v.list("members", a.members, CFG_ARRAY_MAX_DRIVES);
    v.patch("patch", a.patch, CFG_ARRAY_SIZE);
}

template <class V>
void visit(V& v, Spare& s)
{
    v.num("deviceId", s.deviceId, REQUIRED);
    v.flag("dedicated", s.dedicated);
    v.flag("revertible", s.revertible);
    v.flag("enclosureAffinity", s.enclosureAffinity);
    v.numbers("arrays", s.arrays);
    v.patch("patch", s.patch, CFG_SPARE_SIZE);
}

template <class V>
void visit(V& v, ForeignConfig& f)
{
    v.list("arrays", f.arrays);
    v.list("lds", f.lds);
    v.list("spares", f.spares);
    v.num("memberState", f.memberState, HEX);
    v.numbers("outdated", f.outdated);
    v.text("lockKey", f.lockKey, 103);
}

SIM_DESCRIPTION_PART(LogicalDrive);
SIM_DESCRIPTION_PART(Array);
SIM_DESCRIPTION_PART(Spare);
SIM_DESCRIPTION_PART(ForeignConfig);

} // namespace description

} // namespace sim
