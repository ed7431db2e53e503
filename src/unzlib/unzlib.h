/* Interface of the unzip library: the records shared by the library and the
 * archive component, and the three entry points. Each record is written once
 * over an address type, so the native layout and the byte-exact 32-bit layout
 * come from the same lines; the size and offset checks at the end prove both
 * on every build. */
#ifndef UNZLIB_H
#define UNZLIB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define UNZ_TEXT_SIZE 512

/* Fields of the call-back record. ADDR(T) is the type of an address field
 * that natively holds a T. */
#define UNZ_CALLBACK_RECORD_FIELDS(ADDR)                                     \
    int32_t recordSize;       /* 0: sizeof the record, set by the library */ \
    ADDR(void *) caller;      /* 4: UnzipParams.caller */                    \
    int32_t memberIndex;      /* 8: directory index of the member */         \
    int32_t zipOperation;     /* 12: not 0 for a zip operation */            \
    int32_t actionCode;       /* 16: in and out */                           \
    int32_t errorCode;        /* 20: error in, answer out */                 \
    int32_t size;             /* 24: size in, answer value out */            \
    char text[UNZ_TEXT_SIZE]; /* 28: zero-terminated, UTF-8 */

#define UNZ_NATIVE_ADDR(T) T
#define UNZ_ADDR32(T) uint32_t
#if defined(_MSC_VER)
typedef __declspec(align(8)) uint64_t unz_addr64;
#else
typedef uint64_t unz_addr64 __attribute__((aligned(8)));
#endif
#define UNZ_ADDR64(T) unz_addr64

typedef struct CallbackRecord {
    UNZ_CALLBACK_RECORD_FIELDS(UNZ_NATIVE_ADDR)
} CallbackRecord;

/* Returns a 32-bit boolean: not 0 asks the library to abort. */
typedef int32_t (*UnzCallback)(CallbackRecord *record);

#define UNZ_FILE_SPEC_FIELDS(ADDR)                            \
    ADDR(const char *) fileSpec; /* 0: "*" and "?" allowed */ \
    char reserved[68];

typedef struct UnzipFileSpec {
    UNZ_FILE_SPEC_FIELDS(UNZ_NATIVE_ADDR)
} UnzipFileSpec;

/* Flags are 32-bit booleans: -1 true, 0 false. File names are UTF-8 on
 * Windows (the library opens them as wide characters) and the file system's
 * own bytes elsewhere. */
#define UNZ_PARAMS_FIELDS(ADDR)                                              \
    ADDR(void *) windowHandle;           /* 0 */                             \
    ADDR(void *) caller;                 /* 4 */                             \
    int32_t version;                     /* 8 */                             \
    ADDR(UnzCallback) callback;          /* 12 */                            \
    int32_t traceFlag;                   /* 16 */                            \
    int32_t reserved20;                  /* 20 */                            \
    ADDR(const char *) password;         /* 24 */                            \
    int32_t testFlag;                    /* 28 */                            \
    int32_t reserved32;                  /* 32 */                            \
    int32_t reserved36;                  /* 36 */                            \
    int32_t reserved40;                  /* 40 */                            \
    int32_t verboseFlag;                 /* 44 */                            \
    int32_t updateFlag;                  /* 48 */                            \
    int32_t freshenFlag;                 /* 52 */                            \
    int32_t directoryNamesFlag;          /* 56 */                            \
    int32_t overwriteFlag;               /* 60 */                            \
    int32_t fileSpecCount;               /* 64: 0 means every member */      \
    ADDR(const char *) archiveName;      /* 68 */                            \
    ADDR(UnzipFileSpec *) fileSpecs;     /* 72 */                            \
    int32_t reserved76;                  /* 76 */                            \
    int32_t outputToMemory;              /* 80 */                            \
    ADDR(void *) outputMemory;           /* 84 */                            \
    int32_t outputMemorySize;            /* 88 */                            \
    int32_t inputFromMemory;             /* 92 */                            \
    ADDR(void *) inputMemory;            /* 96 */                            \
    int32_t inputMemorySize;             /* 100 */                           \
    int32_t passwordRequestCount;        /* 104 */                           \
    ADDR(const char *) extractDirectory; /* 108: null for the current one */ \
    char reserved112[32];                /* 112 */                           \
    int32_t endMarker;                   /* 144: UNZ_END_MARKER */

typedef struct UnzipParams {
    UNZ_PARAMS_FIELDS(UNZ_NATIVE_ADDR)
} UnzipParams;

/* Limits shared by the library and its callers. A password counts in
 * characters (Unicode code points of its UTF-8 text), the one rule both
 * sides cut by; the repeat count of a password request is at most
 * UNZ_MAX_PASSWORD_REQUESTS; UnzipParams.endMarker must hold UNZ_END_MARKER. */
enum { UNZ_MAX_PASSWORD_LENGTH = 80, UNZ_MAX_PASSWORD_REQUESTS = 15, UNZ_END_MARKER = 7 };

/* Call-back action codes. */
enum {
    UNZ_CB_TICK = 0,
    UNZ_CB_NEW_FILE = 1,
    UNZ_CB_PROGRESS = 2,
    UNZ_CB_END_OF_BATCH = 3,
    UNZ_CB_MESSAGE = 4,
    UNZ_CB_TOTAL_FILES = 5,
    UNZ_CB_TOTAL_SIZE = 6,
    UNZ_CB_NEW_NAME = 7,
    UNZ_CB_PASSWORD = 8,
    UNZ_CB_CRC_ERROR = 9,
    UNZ_CB_OVERWRITE = 10,
    UNZ_CB_SKIPPED = 11,
    /* Zip operations and extraction into memory; this library sends none. */
    UNZ_CB_FILE_COMMENT = 12,
    UNZ_CB_MEMORY = 13,
    UNZ_CB_FILE_EXTRA = 14,
    UNZ_CB_NEW_EXTRA = 15,
    UNZ_CB_EXTRA_PROGRESS = 16
};

/* Places inside CallbackRecord.text: a member's comment (UNZ_CB_FILE_COMMENT)
 * starts half-way; the address of extra data (UNZ_CB_FILE_EXTRA), and of the
 * memory granted to UNZ_CB_MEMORY, lies in the last eight bytes, which hold
 * an address of either width. */
enum { UNZ_COMMENT_OFFSET = 256, UNZ_ADDRESS_OFFSET = 504 };

/* Answers written into errorCode: yes when text holds a password or a new
 * name, or when data failing the CRC check are to be kept. */
enum { UNZ_ANSWER_NO = 0, UNZ_ANSWER_YES = 1 };

/* Written into actionCode with the answer to UNZ_CB_PASSWORD: ask no more. */
enum { UNZ_PASSWORD_CANCEL_ALL = 0 };

/* Error codes the library reports through UNZ_CB_MESSAGE and UNZ_CB_SKIPPED. */
enum {
    UNZ_ERR_FORMAT = 2,      /* the archive or a member is damaged */
    UNZ_ERR_OPEN = 3,        /* the archive cannot be opened or read */
    UNZ_ERR_METHOD = 4,      /* unsupported compression method */
    UNZ_ERR_PASSWORD = 5,    /* no usable password */
    UNZ_ERR_CRC = 6,         /* CRC mismatch; the new data were discarded */
    UNZ_ERR_WRITE = 7,       /* the target file cannot be written */
    UNZ_ERR_UNSAFE_NAME = 8, /* the name points outside the target directory */
    UNZ_ERR_ABORTED = 9      /* the call-back asked to abort */
};

/* Skip reasons, passed in the low byte of the size of UNZ_CB_SKIPPED plus 1. */
enum {
    UNZ_SKIP_ON_FRESHEN = 0,
    UNZ_SKIP_NO_OVERWRITE = 1,
    UNZ_SKIP_FILE_EXISTS = 2,
    UNZ_SKIP_BAD_PASSWORD = 3,
    UNZ_SKIP_NO_ENCRYPTION = 4,
    UNZ_SKIP_COMPRESSION_UNKNOWN = 5,
    UNZ_SKIP_UNKNOWN_HOST = 6,
    UNZ_SKIP_FORMAT_WRONG = 7,
    UNZ_SKIP_GENERAL_ERROR = 8
};

#if defined(_WIN32)
#define UNZ_EXPORT __declspec(dllexport)
#else
#define UNZ_EXPORT __attribute__((visibility("default")))
#endif

typedef int32_t (*UnzLibExecFn)(UnzipParams *params);
typedef int32_t (*UnzVersionFn)(void);

/* Number of members processed; negative on a fatal failure. */
UNZ_EXPORT int32_t UnzLibExec(UnzipParams *params);
UNZ_EXPORT int32_t GetUnzLibVersion(void);
UNZ_EXPORT int32_t GetUnzLibPrivVersion(void);

#ifdef __cplusplus
} /* extern "C" */

#include <cstddef>

namespace unzlayout {
struct Params32 {
    UNZ_PARAMS_FIELDS(UNZ_ADDR32)
};
struct Params64 {
    UNZ_PARAMS_FIELDS(UNZ_ADDR64)
};
struct Spec32 {
    UNZ_FILE_SPEC_FIELDS(UNZ_ADDR32)
};
struct Spec64 {
    UNZ_FILE_SPEC_FIELDS(UNZ_ADDR64)
};
struct Callback32 {
    UNZ_CALLBACK_RECORD_FIELDS(UNZ_ADDR32)
};
struct Callback64 {
    UNZ_CALLBACK_RECORD_FIELDS(UNZ_ADDR64)
};

static_assert(sizeof(Params32) == 148 && sizeof(Spec32) == 72 && sizeof(Callback32) == 540);
static_assert(offsetof(Params32, callback) == 12 && offsetof(Params32, password) == 24);
static_assert(offsetof(Params32, overwriteFlag) == 60 && offsetof(Params32, fileSpecCount) == 64);
static_assert(offsetof(Params32, archiveName) == 68 && offsetof(Params32, fileSpecs) == 72);
static_assert(offsetof(Params32, outputMemory) == 84 && offsetof(Params32, inputMemory) == 96);
static_assert(offsetof(Params32, passwordRequestCount) == 104);
static_assert(offsetof(Params32, extractDirectory) == 108 && offsetof(Params32, endMarker) == 144);
static_assert(offsetof(Callback32, caller) == 4 && offsetof(Callback32, zipOperation) == 12);
static_assert(offsetof(Callback32, actionCode) == 16 && offsetof(Callback32, text) == 28);
static_assert(offsetof(Callback32, text) + UNZ_COMMENT_OFFSET == 284);
static_assert(offsetof(Callback32, text) + UNZ_ADDRESS_OFFSET == 532 && UNZ_ADDRESS_OFFSET + 8 == UNZ_TEXT_SIZE);

// Addresses widen to eight bytes; every other field keeps its width and order.
static_assert(sizeof(Params64) == 192 && sizeof(Spec64) == 80 && sizeof(Callback64) == 552);
static_assert(offsetof(Params64, caller) == 8 && offsetof(Params64, callback) == 24);
static_assert(offsetof(Params64, password) == 40 && offsetof(Params64, fileSpecCount) == 84);
static_assert(offsetof(Params64, archiveName) == 88 && offsetof(Params64, fileSpecs) == 96);
static_assert(offsetof(Params64, passwordRequestCount) == 140);
static_assert(offsetof(Params64, extractDirectory) == 144 && offsetof(Params64, endMarker) == 184);
static_assert(offsetof(Callback64, caller) == 8 && offsetof(Callback64, actionCode) == 24);
static_assert(offsetof(Callback64, text) == 36);

static_assert(sizeof(void *) == 4 ? sizeof(UnzipParams) == sizeof(Params32) : sizeof(UnzipParams) == sizeof(Params64));
static_assert(sizeof(void *) == 4 ? sizeof(CallbackRecord) == sizeof(Callback32)
                                  : sizeof(CallbackRecord) == sizeof(Callback64));
static_assert(sizeof(void *) == 4 ? sizeof(UnzipFileSpec) == sizeof(Spec32) : sizeof(UnzipFileSpec) == sizeof(Spec64));
} // namespace unzlayout
#endif

#endif /* UNZLIB_H */
