// Enclosure ids as the command processors print them.
#ifndef ENCLOSUREIDTEXT_H
#define ENCLOSUREIDTEXT_H

// "N/A" for ENCLOSURE_ID_NONE, else the id in decimal. The text lives in one static buffer and
// is overwritten by the next call: a message that needs two ids copies the first one away.
const char* formatEnclosureId(unsigned short enclosureId);

#endif
