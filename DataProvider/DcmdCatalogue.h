// Direction and data length of each controller command (DCMD), looked up by opcode.
//
// Three tables: the general catalogue (plain DCMD requests), the private table (the private
// variant of the DCMD request, whose flags only decide which way the transport copies data) and
// the driver table (commands to the kernel driver itself). An opcode a table does not list gets
// that table's default flags and the length 0xFFFF; the transport refuses to send such requests.
#ifndef DCMDCATALOGUE_H
#define DCMDCATALOGUE_H

enum DcmdLengthForm {
    DCMD_LEN_FIXED = 0,         // the listed number of bytes
    DCMD_LEN_REQUEST = 1,       // the length stored in the request, whatever it is
    DCMD_LEN_REQUEST_ELSE = 2   // the request's length when not 0, else the listed number
};

struct DcmdCatalogueEntry {
    unsigned int opcode;
    unsigned char flags;
    unsigned char lengthForm;   // a DcmdLengthForm
    unsigned int length;
};

class DcmdCatalogue {
public:
    enum Table { GENERAL = 0, PRIVATE = 1, DRIVER = 2 };

    // Length of an opcode that a table does not list (and of the one listed without a length).
    static const unsigned int UNLISTED_LENGTH = 0xFFFF;

    // The table's row for the opcode, or null when the table does not list it.
    static const DcmdCatalogueEntry* find(Table which, unsigned int opcode);
    // Flags of the opcode; the table's default (general 0x17, private 0x11, driver 0x07) when unlisted.
    static unsigned short frameFlags(Table which, unsigned int opcode);
    // Data length of the opcode for a request that stored requestLength; 0xFFFF when unlisted.
    static unsigned int dataLength(Table which, unsigned int opcode, unsigned int requestLength);

    static const DcmdCatalogueEntry* entries(Table which);
    static unsigned int count(Table which);
};

#endif
