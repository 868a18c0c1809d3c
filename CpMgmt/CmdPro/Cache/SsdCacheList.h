// The SSD cache's association list as the configuration processors read and write it: the
// controller's first SSD-caching drive, the target ids it serves, and the whole list to write
// back (12 bytes per entry: the size and the count in the head, one id per byte from 11).
#ifndef SSDCACHELIST_H
#define SSDCACHELIST_H

#include <cstdint>
#include <vector>

class Adapter;
class RaidManager;
class VirtualDisk;

// The first SSD-caching virtual drive in ascending target-id order: 0 with the drive, or with
// null when a configuration that was read has none; the configuration read's status after
// message 0x30025 when it cannot be read.
int findFirstSsdCache(RaidManager* manager, VirtualDisk** cache);

// The target ids the SSD cache `cacheTargetId` serves, appended to `ids`: 0, or the status of
// the list's read when it cannot be read (never 0). The walk stays within the ids the list was
// read with.
int readSsdCacheList(Adapter* adapter, uint8_t cacheTargetId, std::vector<uint8_t>* ids);

// The list to write for the target ids; an empty list still has one entry's room.
std::vector<uint8_t> makeSsdCacheList(const std::vector<uint8_t>& ids);

#endif
