// Direction and data length of every controller command, by opcode (data tables).
//
// Flags: 0x07 none, 0x0F write, 0x17 read, 0x1F both; the private table uses 0x01, 0x09, 0x11.
// Length forms: fixed, the request's own, or the request's own when not zero and else the
// listed number. Each table is sorted by opcode (the lookup relies on it).
#include "DataProvider/DcmdCatalogue.h"

#include "DataProvider/DcmdOpcodes.h"

static const DcmdCatalogueEntry kGeneralTable[] = {
    { DCMD_ADP_GET_INFO,                   0x17, DCMD_LEN_FIXED,        2048 },
    { DCMD_ADP_GET_PROPERTIES,             0x17, DCMD_LEN_FIXED,        64 },
    { DCMD_ADP_SET_PROPERTIES,             0x0F, DCMD_LEN_FIXED,        64 },
    { DCMD_ADP_ALARM_GET,                  0x17, DCMD_LEN_FIXED,        1 },
    { DCMD_ADP_ALARM_ENABLE,               0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_ALARM_DISABLE,              0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_ALARM_SILENCE,              0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_ALARM_SUBCMD_05,            0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_EVENT_GET_INFO,             0x17, DCMD_LEN_FIXED,        20 },
    { DCMD_ADP_EVENT_CLEAR,                0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_EVENT_GET,                  0x17, DCMD_LEN_REQUEST_ELSE, 20 },
    { DCMD_ADP_EVENT_GET_COUNT,            0x17, DCMD_LEN_FIXED,        4 },
    { DCMD_ADP_EVENT_SUBCMD_05,            0x17, DCMD_LEN_FIXED,        256 },
    { DCMD_ADP_SHUTDOWN,                   0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_PR_GET_STATUS,              0x17, DCMD_LEN_FIXED,        16 },
    { DCMD_ADP_PR_GET_PROPERTIES,          0x17, DCMD_LEN_FIXED,        208 },
    { DCMD_ADP_PR_SET_PROPERTIES,          0x0F, DCMD_LEN_FIXED,        208 },
    { DCMD_ADP_PR_START,                   0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_PR_STOP,                    0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_PR_SUSPEND_RESUME,          0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_GET_TIME,                   0x17, DCMD_LEN_FIXED,        8 },
    { DCMD_ADP_SET_TIME,                   0x0F, DCMD_LEN_FIXED,        8 },
    { DCMD_ADP_GET_TIME_SECONDS,           0x17, DCMD_LEN_FIXED,        4 },
    { DCMD_ADP_SET_TIME_SECONDS,           0x0F, DCMD_LEN_FIXED,        4 },
    { DCMD_ADP_TTY_LOG_CLEAR,              0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_TTY_LOG_GET,                0x17, DCMD_LEN_REQUEST_ELSE, 1024 },
    { DCMD_ADP_TTY_LOG_BBU_MODE_GET,       0x17, DCMD_LEN_FIXED,        1 },
    { DCMD_ADP_TTY_LOG_BBU_MODE_OFF,       0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_TTY_LOG_BBU_MODE_ON,        0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_TTY_LOG_BBU_MODE_OFF_TEMP,  0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_GET_KEY_VALUES,             0x17, DCMD_LEN_REQUEST_ELSE, 1024 },
    { DCMD_ADP_BIOS_GET_DATA,              0x17, DCMD_LEN_FIXED,        64 },
    { DCMD_ADP_BIOS_SET_DATA,              0x0F, DCMD_LEN_FIXED,        64 },
    { DCMD_ADP_BIOS_SUBCMD_03,             0x17, DCMD_LEN_FIXED,        1032 },
    { DCMD_ADP_BIOS_SUBCMD_04,             0x0F, DCMD_LEN_FIXED,        4 },
    { DCMD_ADP_SET_FACTORY_DEFAULTS,       0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_MFC_GET_PCI_IDS,            0x17, DCMD_LEN_FIXED,        8 },
    { DCMD_ADP_MFC_SUBCMD_0101,            0x17, DCMD_LEN_FIXED,        8 },
    { DCMD_ADP_MFC_SET_PCI_LINK_SPEED,     0x0F, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_MFC_GET_DEFAULTS,           0x17, DCMD_LEN_FIXED,        72 },
    { DCMD_ADP_MFC_SET_DEFAULTS,           0x0F, DCMD_LEN_FIXED,        72 },
    { DCMD_ADP_MFC_SUBCMD_0203,            0x17, DCMD_LEN_FIXED,        72 },
    { DCMD_ADP_MFC_SUBCMD_0204,            0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_MFC_GET_MFG_DATA,           0x17, DCMD_LEN_FIXED,        32 },
    { DCMD_ADP_MFC_GET_FRU_DATA,           0x17, DCMD_LEN_FIXED,        32 },
    { DCMD_ADP_MFC_SUBCMD_0384,            0x17, DCMD_LEN_REQUEST,      0 },
    { DCMD_ADP_MFC_SUBCMD_0385,            0x0F, DCMD_LEN_REQUEST,      0 },
    { DCMD_ADP_MFC_GET_OEM_DATA,           0x17, DCMD_LEN_FIXED,        24 },
    { DCMD_ADP_BBU_RAW_READ,               0x17, DCMD_LEN_REQUEST,      0 },
    { DCMD_ADP_BBU_RAW_WRITE,              0x0F, DCMD_LEN_REQUEST,      0 },
    { DCMD_ADP_FLASH_OPEN,                 0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_FLASH_DOWNLOAD,             0x0F, DCMD_LEN_REQUEST,      0 },
    { DCMD_ADP_FLASH_COMMIT,               0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_FLASH_CLOSE,                0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_CACHE_FLUSH,                0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_DIAG_START,                 0x07, DCMD_LEN_FIXED,        204800 },
    { DCMD_ADP_DIAG_SUBCMD_02,             0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_PD_FW_DOWNLOAD_PREPARE,     0x0F, DCMD_LEN_FIXED,        40 },
    { DCMD_ADP_CC_SCHEDULE_GET_STATUS,     0x17, DCMD_LEN_FIXED,        16 },
    { DCMD_ADP_CC_SCHEDULE_GET_PROPERTIES, 0x17, DCMD_LEN_FIXED,        168 },
    { DCMD_ADP_CC_SCHEDULE_SET_PROPERTIES, 0x0F, DCMD_LEN_FIXED,        168 },
    { DCMD_ADP_LOCK_KEY_CREATE,            0x0F, DCMD_LEN_FIXED,        364 },
    { DCMD_ADP_LOCK_KEY_GET_ID,            0x17, DCMD_LEN_FIXED,        256 },
    { DCMD_ADP_LOCK_KEY_GET_PD_KEY_ID,     0x17, DCMD_LEN_FIXED,        256 },
    { DCMD_ADP_LOCK_KEY_SET_PD_KEY_ID,     0x0F, DCMD_LEN_FIXED,        256 },
    { DCMD_ADP_LOCK_KEY_VERIFY,            0x0F, DCMD_LEN_FIXED,        104 },
    { DCMD_ADP_LOCK_KEY_SUBCMD_07,         0x0F, DCMD_LEN_FIXED,        104 },
    { DCMD_ADP_LOCK_KEY_SET_ESCROW,        0x0F, DCMD_LEN_FIXED,        104 },
    { DCMD_ADP_LOCK_KEY_DESTROY,           0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_PERF_MON_START,             0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_PERF_MON_GET_RESULTS,       0x17, DCMD_LEN_REQUEST,      0 },
    { DCMD_ADP_AEC_CONTROL,                0x07, DCMD_LEN_FIXED,        0xFFFF },
    { DCMD_ADP_AEC_DUMP,                   0x17, DCMD_LEN_REQUEST_ELSE, 4 },
    { DCMD_ADP_AEC_GET_SETTINGS,           0x17, DCMD_LEN_REQUEST_ELSE, 40 },
    { DCMD_ADP_DOWNGRADE,                  0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_GET_LIST,                    0x17, DCMD_LEN_REQUEST_ELSE, 32 },
    { DCMD_PD_LIST_QUERY,                  0x17, DCMD_LEN_REQUEST_ELSE, 32 },
    { DCMD_PD_GET_INFO,                    0x17, DCMD_LEN_FIXED,        512 },
    { DCMD_PD_SET_STATE,                   0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_REBUILD_START,               0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_REBUILD_STOP,                0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_CLEAR_START,                 0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_CLEAR_STOP,                  0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_GET_PROGRESS,                0x17, DCMD_LEN_FIXED,        32 },
    { DCMD_PD_LOCATE_START,                0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_LOCATE_STOP,                 0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_MARK_MISSING,                0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_REPLACE_MISSING,             0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_PREPARE_REMOVAL,             0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_UNDO_PREPARE_REMOVAL,        0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_SUBCMD_0A,                   0x17, DCMD_LEN_FIXED,        4 },
    { DCMD_PD_COPYBACK_START,              0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_COPYBACK_STOP,               0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_REPROVISION_CHECK,           0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_REPROVISION_START,           0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_LIST_SUBCMD_01,              0x17, DCMD_LEN_REQUEST_ELSE, 32 },
    { DCMD_PD_LIST_OPERATION,              0x1F, DCMD_LEN_REQUEST_ELSE, 32 },
    { DCMD_PD_REBUILD_SUSPEND_RESUME,      0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_COPYBACK_SUSPEND_RESUME,     0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_SECURE_ERASE_START,          0x0F, DCMD_LEN_FIXED,        0 },
    { DCMD_PD_SECURE_ERASE_STOP,           0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_GET_LIST,                    0x17, DCMD_LEN_FIXED,        1032 },
    { DCMD_LD_LIST_QUERY,                  0x17, DCMD_LEN_REQUEST_ELSE, 12 },
    { DCMD_LD_GET_INFO,                    0x17, DCMD_LEN_FIXED,        384 },
    { DCMD_LD_GET_PROPERTIES,              0x17, DCMD_LEN_FIXED,        32 },
    { DCMD_LD_SET_PROPERTIES,              0x0F, DCMD_LEN_FIXED,        32 },
    { DCMD_LD_SET_CACHE_POLICY,            0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_CC_START,                    0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_CC_ABORT,                    0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_INIT_START,                  0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_INIT_ABORT,                  0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_RECONSTRUCT_START,           0x0F, DCMD_LEN_FIXED,        136 },
    { DCMD_LD_RECONSTRUCT_SUBCMD_02,       0x17, DCMD_LEN_FIXED,        136 },
    { DCMD_LD_GET_PROGRESS,                0x17, DCMD_LEN_FIXED,        36 },
    { DCMD_LD_DELETE,                      0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_SUBCMD_0A01,                 0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_SUBCMD_0A02,                 0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_GET_ALLOWED_OPS,             0x17, DCMD_LEN_FIXED,        4 },
    { DCMD_LD_MAKE_SECURE,                 0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_GET_PRESERVED_CACHE_LIST,    0x17, DCMD_LEN_FIXED,        8 },
    { DCMD_LD_DISCARD_PRESERVED_CACHE,     0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_BBM_CLEAR,                   0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_BBM_GET_LOG_INFO,            0x17, DCMD_LEN_REQUEST_ELSE, 32 },
    { DCMD_LD_BBM_GET_LOG_LIST,            0x17, DCMD_LEN_REQUEST_ELSE, 2056 },
    { DCMD_LD_SNAPSHOT_SUBCMD_01,          0x0F, DCMD_LEN_REQUEST_ELSE, 16 },
    { DCMD_LD_SNAPSHOT_SUBCMD_02,          0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_SNAPSHOT_SUBCMD_03,          0x1F, DCMD_LEN_REQUEST_ELSE, 72 },
    { DCMD_LD_SNAPSHOT_SUBCMD_04,          0x0F, DCMD_LEN_REQUEST_ELSE, 8 },
    { DCMD_LD_SNAPSHOT_SUBCMD_05,          0x0F, DCMD_LEN_REQUEST_ELSE, 72 },
    { DCMD_LD_SNAPSHOT_SUBCMD_06,          0x0F, DCMD_LEN_REQUEST_ELSE, 8 },
    { DCMD_LD_SNAPSHOT_SUBCMD_07,          0x0F, DCMD_LEN_REQUEST_ELSE, 8 },
    { DCMD_LD_SNAPSHOT_SUBCMD_08,          0x17, DCMD_LEN_REQUEST_ELSE, 288 },
    { DCMD_LD_SNAPSHOT_SUBCMD_09,          0x17, DCMD_LEN_REQUEST_ELSE, 144 },
    { DCMD_LD_SNAPSHOT_SUBCMD_0A,          0x17, DCMD_LEN_REQUEST_ELSE, 152 },
    { DCMD_LD_SNAPSHOT_SUBCMD_0B,          0x17, DCMD_LEN_REQUEST_ELSE, 12 },
    { DCMD_LD_SNAPSHOT_SUBCMD_0C,          0x17, DCMD_LEN_REQUEST_ELSE, 40 },
    { DCMD_LD_SNAPSHOT_SUBCMD_0D,          0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_TIDEWELL_SET_ASSOCIATIONS,   0x0F, DCMD_LEN_REQUEST_ELSE, 12 },
    { DCMD_LD_TIDEWELL_GET_ASSOCIATIONS,   0x17, DCMD_LEN_REQUEST_ELSE, 12 },
    { DCMD_LD_MIRROR_BREAK,                0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_MIRROR_VIEW,                 0x17, DCMD_LEN_REQUEST_ELSE, 616 },
    { DCMD_LD_MIRROR_JOIN,                 0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_RECON_SUSPEND_RESUME,        0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_BGOP_SUSPEND_RESUME,         0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_SECURE_ERASE_START,          0x0F, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_SECURE_ERASE_STOP,           0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_LD_SET_PROPERTY_DIRECT,         0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_CFG_READ,                       0x17, DCMD_LEN_REQUEST_ELSE, 616 },
    { DCMD_CFG_ADD,                        0x0F, DCMD_LEN_REQUEST_ELSE, 616 },
    { DCMD_CFG_CLEAR,                      0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_CFG_MAKE_HOTSPARE,              0x0F, DCMD_LEN_FIXED,        40 },
    { DCMD_CFG_REMOVE_HOTSPARE,            0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_CFG_SET_ARRAY,                  0x0F, DCMD_LEN_REQUEST_ELSE, 288 },
    { DCMD_CFG_FOREIGN_SCAN,               0x17, DCMD_LEN_FIXED,        196 },
    { DCMD_CFG_FOREIGN_GET_CONFIG,         0x17, DCMD_LEN_REQUEST_ELSE, 616 },
    { DCMD_CFG_FOREIGN_PREVIEW,            0x17, DCMD_LEN_REQUEST_ELSE, 616 },
    { DCMD_CFG_FOREIGN_IMPORT,             0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_CFG_FOREIGN_CLEAR,              0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_CFG_GET_RUNTIME_STATUS,         0x17, DCMD_LEN_FIXED,        4 },
    { DCMD_BBU_GET_STATUS,                 0x17, DCMD_LEN_FIXED,        64 },
    { DCMD_BBU_GET_CAPACITY_INFO,          0x17, DCMD_LEN_FIXED,        48 },
    { DCMD_BBU_GET_DESIGN_INFO,            0x17, DCMD_LEN_FIXED,        64 },
    { DCMD_BBU_START_LEARN,                0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_BBU_GET_PROPERTIES,             0x17, DCMD_LEN_FIXED,        32 },
    { DCMD_BBU_SET_PROPERTIES,             0x0F, DCMD_LEN_FIXED,        32 },
    { DCMD_BBU_MFG_DORMANT,                0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_BBU_MFG_SEAL,                   0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_BBU_GET_DATA_RECORDS,           0x17, DCMD_LEN_REQUEST_ELSE, 12 },
    { DCMD_SAS_GET_PHY_INFO,               0x17, DCMD_LEN_FIXED,        264 },
    { DCMD_SAS_GET_MUX_MODE,               0x17, DCMD_LEN_FIXED,        5 },
    { DCMD_SAS_SET_MUX_MODE,               0x0F, DCMD_LEN_FIXED,        5 },
    { DCMD_SAS_GET_CONNECTOR_INFO,         0x17, DCMD_LEN_FIXED,        168 },
    { DCMD_SAS_PHY_CONTROL,                0x1F, DCMD_LEN_REQUEST_ELSE, 32 },
    { DCMD_SAS_SET_PHY_LINK_SPEED,         0x0F, DCMD_LEN_FIXED,        0 },
    { DCMD_ENCL_GET_LIST,                  0x17, DCMD_LEN_FIXED,        4616 },
    { DCMD_ENCL_SUBCMD_02,                 0x07, DCMD_LEN_FIXED,        0 },
    { DCMD_DPM_GET_CONFIG,                 0x17, DCMD_LEN_FIXED,        16 },
    { DCMD_DPM_GET_STATISTICS,             0x17, DCMD_LEN_REQUEST_ELSE, 96 },
    { DCMD_DPM_SET_CONFIG,                 0x07, DCMD_LEN_FIXED,        0 },
};

static const DcmdCatalogueEntry kPrivateTable[] = {
    { DCMD_ADP_SUBCMD_0DE1,                0x01, DCMD_LEN_FIXED,        0 },
    { DCMD_ADP_MFC_SUBCMD_0182,            0x09, DCMD_LEN_FIXED,        8 },
    { DCMD_ADP_MFC_SUBCMD_0382,            0x09, DCMD_LEN_FIXED,        32 },
    { DCMD_ADP_MFC_SUBCMD_0383,            0x09, DCMD_LEN_FIXED,        32 },
    { DCMD_ADP_MFC_SUBCMD_0482,            0x09, DCMD_LEN_REQUEST,      0 },
    { DCMD_ADP_MFC_GET_OEM_DATA,           0x11, DCMD_LEN_FIXED,        24 },
    { DCMD_ADP_MFC_SUBCMD_8482,            0x09, DCMD_LEN_FIXED,        24 },
    { DCMD_ADP_MFC_SUBCMD_8483,            0x11, DCMD_LEN_FIXED,        24 },
    { DCMD_ADP_BBU_RAW_READ,               0x11, DCMD_LEN_REQUEST,      0 },
    { DCMD_ADP_BBU_RAW_WRITE,              0x09, DCMD_LEN_REQUEST,      0 },
    { DCMD_LD_PRIVATE_OP,                  0x01, DCMD_LEN_FIXED,        0 },
};

static const DcmdCatalogueEntry kDriverTable[] = {
    { DCMD_DRIVER_SUBCMD_0101,             0x17, DCMD_LEN_FIXED,        112 },
    { DCMD_DRIVER_GET_INFO,                0x17, DCMD_LEN_FIXED,        112 },
    { DCMD_DRIVER_SUBCMD_0103,             0x17, DCMD_LEN_FIXED,        1536 },
    { DCMD_DRIVER_SUBCMD_0201,             0x17, DCMD_LEN_FIXED,        0 },
    { DCMD_DRIVER_SUBCMD_0202,             0x07, DCMD_LEN_FIXED,        4 },
    { DCMD_DRIVER_SUBCMD_0203,             0x17, DCMD_LEN_FIXED,        4 },
    { DCMD_DRIVER_SUBCMD_0402,             0x07, DCMD_LEN_FIXED,        64 },
};

namespace {

struct CatalogueTable {
    const DcmdCatalogueEntry* entries;
    unsigned int count;
    unsigned short defaultFlags;
};

const CatalogueTable kTables[] = {
    { kGeneralTable, sizeof(kGeneralTable) / sizeof(kGeneralTable[0]), 0x17 },
    { kPrivateTable, sizeof(kPrivateTable) / sizeof(kPrivateTable[0]), 0x11 },
    { kDriverTable, sizeof(kDriverTable) / sizeof(kDriverTable[0]), 0x07 },
};

const CatalogueTable& table(DcmdCatalogue::Table which)
{
    return kTables[which];
}

} // namespace

const DcmdCatalogueEntry* DcmdCatalogue::find(Table which, unsigned int opcode)
{
    const CatalogueTable& t = table(which);
    unsigned int lo = 0;
    unsigned int hi = t.count;
    while (lo < hi) {
        unsigned int mid = lo + (hi - lo) / 2;
        if (t.entries[mid].opcode == opcode) {
            return &t.entries[mid];
        }
        if (t.entries[mid].opcode < opcode) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return nullptr;
}

unsigned short DcmdCatalogue::frameFlags(Table which, unsigned int opcode)
{
    const DcmdCatalogueEntry* e = find(which, opcode);
    return e ? e->flags : table(which).defaultFlags;
}

unsigned int DcmdCatalogue::dataLength(Table which, unsigned int opcode, unsigned int requestLength)
{
    const DcmdCatalogueEntry* e = find(which, opcode);
    if (!e) {
        return UNLISTED_LENGTH;
    }
    switch (e->lengthForm) {
    case DCMD_LEN_REQUEST:
        return requestLength;
    case DCMD_LEN_REQUEST_ELSE:
        return requestLength != 0 ? requestLength : e->length;
    default:
        return e->length;
    }
}

const DcmdCatalogueEntry* DcmdCatalogue::entries(Table which)
{
    return table(which).entries;
}

unsigned int DcmdCatalogue::count(Table which)
{
    return table(which).count;
}
