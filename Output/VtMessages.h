// The message table: one row per message id with the printf format of its text.
//
// Message ids: bits 16-19 give the source (0 general texts and format fragments, 1 scanner,
// 2 parser, 3 command processors, 8 entry point); within the command processors bits 12-15
// give the area, bits 8-11 the command or command group and bits 0-7 the message. The lookup
// compares whole ids and decodes nothing.
#ifndef VTMESSAGES_H
#define VTMESSAGES_H

struct VoMessageEntry {
    unsigned int id;
    const char* text;
};

// Every row, in no particular order of ids. The last row (0xFFFFFFFF, "Last Message String.")
// is an ordinary row: searches are bounded by VT_MESSAGES_COUNT, never by that id.
extern const VoMessageEntry VT_MESSAGES[];
extern const unsigned int VT_MESSAGES_COUNT;

// Message ids used by name: one constant per VT_NAMED_MESSAGE row of Output/VtMessages.def
// (MSG_SUCCESS, MSG_TEXT, MSG_NEWLINE, ...). Name a row there, not here.
#define VT_NAMED_MESSAGE(id, name, text) constexpr unsigned int name = id;
#include "Output/VtMessages.def"

#endif
