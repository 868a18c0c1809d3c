/* The call interface of the integrated-RAID library: one entry point, ProcessLibCommandIR2,
 * taking a pointer to a command block and returning an int status (0 = success).
 *
 * The block is built and owned by the caller. The library reads type, code, controller id,
 * parameters, data length and buffer pointer, writes at most data-length bytes into the buffer
 * and returns 0 or a status of its own. Little-endian, 40 bytes. Plain C, so that a library
 * can be built against it without the rest of the program. */
#ifndef AKLIBCOMMAND_H
#define AKLIBCOMMAND_H

#include <stddef.h>
#include <stdint.h>

struct _AK_LIB_CMD_PARAM_T {
    uint8_t cmdType;        /* 0: command type */
    uint8_t cmdCode;        /* 1: command code */
    uint16_t reserved;      /* 2: zero */
    uint32_t ctrlId;        /* 4: library controller id */
    uint8_t params[20];     /* 8: command parameters */
    uint32_t dataLength;    /* 28: bytes of the data buffer */
    void* data;             /* 32: the caller's data buffer */
};

#ifdef __cplusplus
static_assert(sizeof(_AK_LIB_CMD_PARAM_T) == 40, "the library command block is 40 bytes");
static_assert(offsetof(_AK_LIB_CMD_PARAM_T, ctrlId) == 4, "controller id at 4");
static_assert(offsetof(_AK_LIB_CMD_PARAM_T, params) == 8, "parameters at 8");
static_assert(offsetof(_AK_LIB_CMD_PARAM_T, dataLength) == 28, "data length at 28");
static_assert(offsetof(_AK_LIB_CMD_PARAM_T, data) == 32, "buffer pointer at 32");
#endif

/* The library's entry point. */
typedef int (*AkLibEntry)(struct _AK_LIB_CMD_PARAM_T* block);

/* Command types and codes the system itself sends. */
#define AK_LIB_CMD_TYPE_GENERAL 0      /* library-wide commands */
#define AK_LIB_CMD_TYPE_CONTROLLER 11  /* addressed to the current library controller */
#define AK_LIB_CMD_CODE_INIT 0         /* initialization (type 0) */
#define AK_LIB_CMD_CODE_LIST_CONTROLLERS 10  /* controller list (type 0) */

/* The controller-list answer: a 16-bit count at 0, then 32-bit controller ids from 4. */
#define AK_LIB_CONTROLLER_LIST_SIZE 68
#define AK_LIB_CONTROLLER_LIST_IDS 16
/* Size of the initialization call's buffer. */
#define AK_LIB_INIT_BUFFER_SIZE 68

#endif
