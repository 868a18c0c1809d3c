// Contents of the three id-to-text tables: the error reporter's, the application log's and the
// debug log's. No text ends in a line feed.
#include "Output/VoError.h"

namespace {

const TextTableRow errorRows[] = {
    {0x0001, "Fatal error - Volant invoked with wrong parameters"},
    {0x0101, "Error - Invalid option %s specified"},
};

const TextTableRow appLogRows[] = {
    {0x0300, "AdpAllInfo option execution started"},
    {0x0301, "AdpAllInfo option execution completed successfully"},
    {0x0302, "AdpAlarm option execution started"},
    {0x0303, "AdpAlarm option execution completed successfully"},
    {0x0304, "CfgDisplay option execution started"},
    {0x0305, "CfgDisplay option execution completed successfully"},
    {0x0306, "LdAdd option execution started"},
    {0x0307, "LdAdd option execution completed successfully"},
};

const TextTableRow debugRows[] = {
    {0x0000, "Fatal error - cannot get VLN instance"},
    {0x0001, "VLN instance created successfully"},
    {0x0002, "Fatal error - cannot create a new tokenizer"},
    {0x0003, "Created a new tokenizer successfully"},
    {0x0004, "Parser has parsed token list successfully"},
    {0x0005, "Get Instance of CpVoMgmt successfull"},
    {0x0100, "tokenize() method called on Tokenizer "},  // the final blank belongs to the text
    {0x0200, "Fatal error - cannot get Parser Factory Instance"},
    {0x0201, "Parser Factory Instance get successfull"},
    {0x0300, "Fatal error - failed to open file %s"},
    {0x0301, "ZPR opcode 0x%.8x returned with error code 0x%.8x"},
    {0x0302, "Event Opcode: 0x%.8x, seqNum: %d, retCode: %d, Event Count: %d"},
};

} // namespace

// Groups filled: the error table 0 and 1, the application-log table 3, the debug table 0 to 3.
const TextTableData VolantErrorStrings::data = {0x03, errorRows, sizeof errorRows / sizeof errorRows[0]};
const TextTableData VoAppLogDebugStrings::data = {0x08, appLogRows, sizeof appLogRows / sizeof appLogRows[0]};
const TextTableData VolantDebugStrings::data = {0x0F, debugRows, sizeof debugRows / sizeof debugRows[0]};
