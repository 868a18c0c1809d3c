// The words the disk-group and virtual-drive titles (MSG_DISK_GROUP_TITLE, MSG_VD_TITLE,
// MSG_VD_INFORMATION_TITLE) put before their number, shared by the configuration displays and
// the virtual-drive reports.
#ifndef TITLEPREFIXES_H
#define TITLEPREFIXES_H

const char* const SPANNED_PREFIX = "SPANNED ";      // a disk group of spanned arrays
const char* const SSD_GROUP_PREFIX = "TIDEWELL ";   // the disk group of an SSD-caching drive
const char* const SSD_VD_PREFIX = "Tidewell ";      // an SSD-caching virtual drive

#endif
