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

// Message ids used by name.
constexpr unsigned int MSG_SUCCESS                = 0x0;
constexpr unsigned int MSG_TEXT                   = 0x1;
constexpr unsigned int MSG_NEWLINE                = 0x2;
constexpr unsigned int MSG_DECIMAL                = 0x3;
constexpr unsigned int MSG_HEX16                  = 0x4;
constexpr unsigned int MSG_HEX32                  = 0x5;
constexpr unsigned int MSG_HEX64                  = 0x6;
constexpr unsigned int MSG_DECIMAL64              = 0x7;
constexpr unsigned int MSG_RULER_SHORT            = 0xa;
constexpr unsigned int MSG_RULER_LONG             = 0xb;
constexpr unsigned int MSG_DYNAMIC_CAST_FAILED    = 0x11;
constexpr unsigned int MSG_ADAPTER_HEADER         = 0x12;
constexpr unsigned int MSG_INVALID_OPTION         = 0x13;
constexpr unsigned int MSG_NO_MEMORY              = 0x14;
constexpr unsigned int MSG_PRESS_A_KEY            = 0x15;
constexpr unsigned int MSG_PRESS_ESC              = 0x16;
constexpr unsigned int MSG_ADAPTER_TEXT           = 0x18;
constexpr unsigned int MSG_COLUMN_10              = 0x32;
constexpr unsigned int MSG_COLUMN_15              = 0x33;
constexpr unsigned int MSG_COLUMN_20              = 0x34;
constexpr unsigned int MSG_COLUMN_25              = 0x35;
constexpr unsigned int MSG_COLUMN                 = 0x36;
constexpr unsigned int MSG_FILE_OPEN_FAILED       = 0x30009;
constexpr unsigned int MSG_RM_INSTANCE_FAILED     = 0x30021;
constexpr unsigned int MSG_RM_INIT_FAILED         = 0x30022;
constexpr unsigned int MSG_ADAPTER_COMM_FAILED    = 0x30023;
constexpr unsigned int MSG_DISK_GROUP_LIST_FAILED = 0x30024;
constexpr unsigned int MSG_VD_COUNT_FAILED        = 0x32001;
constexpr unsigned int MSG_NO_VD_CONFIGURED       = 0x32004;
constexpr unsigned int MSG_VD_NOT_FOUND           = 0x32005;
constexpr unsigned int MSG_VD_PROGRESS_TITLE      = 0x32316;
constexpr unsigned int MSG_PD_NOT_FOUND           = 0x33005;
constexpr unsigned int MSG_PD_PROGRESS_COLUMNS    = 0x33100;
constexpr unsigned int MSG_GET_FAILED             = 0x35017;
constexpr unsigned int MSG_ZPR_INSTANCE_FAILED    = 0x36016;
constexpr unsigned int MSG_OPERATION_FAILED       = 0x36017;
constexpr unsigned int MSG_FORCE_REQUIRED         = 0x3610d;
constexpr unsigned int MSG_REBOOT_REQUIRED        = 0x3611e;
constexpr unsigned int MSG_PARSE_FAILED           = 0x80001;
constexpr unsigned int MSG_EXIT_CODE              = 0x80002;

// Further names for rows that several commands print.
constexpr unsigned int MSG_TTY_LOG_READ_FAILED    = 0x36006;
constexpr unsigned int MSG_TTY_LOG_HEADER         = 0x36007;
constexpr unsigned int MSG_ENCLOSURE_LIST_FAILED  = 0x36008;
constexpr unsigned int MSG_SUMMARY_PRODUCT_NAME   = 0x37200;
constexpr unsigned int MSG_SUMMARY_SAS_ADDRESS    = 0x37201;
constexpr unsigned int MSG_SUMMARY_FW_PACKAGE     = 0x37202;

#endif
