// The host description's answers of the integrated-RAID library stand-in.
#include "Simulator/Description/SimDescriptionFormat.h"

namespace sim {
namespace description {

template <class V>
void visit(V& v, Ir2Command& c)
{
    v.num("type", c.type);
    v.num("code", c.code);
    v.num("status", c.status);
}

template <class V>
void visit(V& v, Ir2HostCacheDevice& d)
{
    v.text("scsiId", d.scsiId, 96);
    v.text("node", d.node, 255);
    v.text("secondNode", d.secondNode, 63);
    v.text("mappedPath", d.mappedPath, 255);
    v.text("vendor", d.vendor, 63);
    v.text("model", d.model, 63);
    v.num("state", d.state);
    v.flag("configured", d.configured);
    v.num("contentWarning", d.contentWarning);
    v.num("blocks", d.blocks);
    v.flag("busy", d.busy);
}

template <class V>
void visit(V& v, Ir2HostCache& c)
{
    v.num("version", c.version, HEX);
    v.text("groupName", c.groupName, 255);
    v.num("maxCacheDevices", c.maxCacheDevices, PLAIN, 0, 256);
    v.num("maxVds", c.maxVds, PLAIN, 0, 256);
    v.num("queueDepth", c.queueDepth);
    v.num("usedBlocks", c.usedBlocks);
    v.num("cacheLineBlocks", c.cacheLineBlocks);
    v.num("cacheWindowBlocks", c.cacheWindowBlocks);
    v.num("reads", c.reads);
    v.num("writes", c.writes);
    v.num("hits", c.hits);
    v.num("misses", c.misses);
    v.list("cacheDevices", c.cacheDevices, 256);
    v.list("vds", c.vds, 256);
    v.num("cacheDeviceListCount", c.cacheDeviceListCount);
    v.num("vdListCount", c.vdListCount);
}

template <class V>
void visit(V& v, Ir2Image& i)
{
    v.text("name", i.name, 8);
    v.text("version", i.version, 31);
    v.text("buildTime", i.buildTime, 31);
}

template <class V>
void visit(V& v, Ir2ControllerInfo& c)
{
    v.num("id", c.id, REQUIRED);
    v.num("deviceId", c.deviceId, HEX);
    v.num("vendorId", c.vendorId, HEX);
    v.num("subVendorId", c.subVendorId, HEX);
    v.text("productName", c.productName, 79);
    v.text("serialNumber", c.serialNumber, 31);
    v.num("hostInterface", c.hostInterface, HEX);
    v.num("sasAddress", c.sasAddress, HEX);
    v.numbers("backendAddresses", c.backendAddresses, HEX, 16);
    v.num("portCount", c.portCount);
    v.list("images", c.images, 8);
    v.num("metadataMB", c.metadataMB);
    v.num("devicesPresent", c.devicesPresent, HEX);
    v.flag("clusterEnable", c.clusterEnable);
    v.flag("clusterActive", c.clusterActive);
    v.num("coercion", c.coercion);
    v.num("driveFlags", c.driveFlags, HEX);
    v.text("packageVersion", c.packageVersion, 95);
    v.num("piFeatures", c.piFeatures, HEX);
    v.flag("securityCapable", c.securityCapable);
    v.num("auxiliaryPower", c.auxiliaryPower);
    v.num("lifeCurveStatus", c.lifeCurveStatus);
    v.num("lifeLeftPercent", c.lifeLeftPercent);
    v.num("controllerStatus", c.controllerStatus);
}

template <class V>
void visit(V& v, Ir2Library& l)
{
    v.numbers("controllers", l.controllers);
    v.num("count", l.count);
    v.num("cardCount", l.cardCount);
    v.num("initStatus", l.initStatus);
    v.num("listStatus", l.listStatus);
    v.list("commands", l.commands);
    v.object("hostCache", l.hostCache);
    v.list("controllerInfo", l.controllerInfo, 16);
}

SIM_DESCRIPTION_PART(Ir2Library);

} // namespace description

} // namespace sim
