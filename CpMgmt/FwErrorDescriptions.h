// Firmware status texts: what the entry point prints after "\nFW error description: " when a
// firmware status ended the command.
//
// Two tables of the same 100 statuses in the same order: the plain wording ("disk", "disk group",
// "passphrase") and the wording for controllers that report OEM identifier 2 ("drive", "drive
// group", "security key"). Both are columns of the one table of statuses and texts in the .cpp.
// Nothing marks the end of a table: searches are bounded by the count.
#ifndef FWERRORDESCRIPTIONS_H
#define FWERRORDESCRIPTIONS_H

#include <cstdint>

struct FwErrorDescription {
    uint32_t status;
    const char* text;
};

const int FW_ERROR_DESCRIPTION_COUNT = 100;

// FW_ERROR_DESCRIPTION_COUNT rows each.
extern const FwErrorDescription* const FW_ERROR_DESCRIPTIONS;
extern const FwErrorDescription* const FW_ERROR_DESCRIPTIONS_OEM2;

// What is printed when no row holds the value looked up.
extern const char* const FW_ERROR_UNKNOWN_TEXT;  // "\n  Unknown error \n"

// Set by the dispatcher's controller check when the controller it examined last reports OEM
// identifier 2, cleared when it reports anything else; 0 at start.
extern uint8_t useOem2FwErrorDescriptions;

// The table that the flag selects.
const FwErrorDescription* selectedFwErrorDescriptions();

// The text of the first row of the table whose status equals the value (compared as 32 bits),
// or FW_ERROR_UNKNOWN_TEXT.
const char* findFwErrorDescription(const FwErrorDescription* table, uint32_t status);

#endif
