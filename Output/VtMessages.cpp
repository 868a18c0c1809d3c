// The message table: the rows of Output/VtMessages.def, in its order.
#include "Output/VtMessages.h"

const VoMessageEntry VT_MESSAGES[] = {
#define VT_MESSAGE(id, text) {id, text},
#include "Output/VtMessages.def"
};

const unsigned int VT_MESSAGES_COUNT = sizeof(VT_MESSAGES) / sizeof(VT_MESSAGES[0]);
