// The two reserved enclosure ids. A drive address typed on the command line may carry them
// (see RaidManager/EnclSlotId.h), and the model answers with them; they are defined here, at the
// model's level, so that the model and everything above it share one definition.
#ifndef ENCLOSUREIDS_H
#define ENCLOSUREIDS_H

// Enclosure id of a drive given without an enclosure (":S"), and of an adapter without one.
static const unsigned short ENCLOSURE_ID_NONE = 0xFFFF;
// Enclosure id of a drive whose enclosure is given as "?": the command processor replaces it
// by the adapter's only enclosure when the command runs.
static const unsigned short ENCLOSURE_ID_RESOLVE = 0xCCCC;

#endif
