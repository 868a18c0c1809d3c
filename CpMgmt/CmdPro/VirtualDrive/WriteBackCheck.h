// Whether write-back caching can take effect now: a battery that is present, sound, charged
// enough and not in a learn cycle, and no virtual drive under reconstruction. Asked before a
// write-back policy takes effect at once and by the write-back property.
#ifndef WRITEBACKCHECK_H
#define WRITEBACKCHECK_H

class CpController;

// 0 when write-back caching is possible now; -1 after the message that says why not.
int checkWriteBackPossible(CpController* cpController);

#endif
