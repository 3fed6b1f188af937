#pragma once
// The download engine's C interface (libp2p.so).
//
// Tasks are 32-bit handles counted from 1. Every function may be called from any thread at
// any time, also before XL_Init: tasks can be created, started and stopped first, and begin
// to transfer once XL_Init has started the engine thread. XL_UnInit stops every transfer,
// saves its progress, and leaves the tasks in place; XL_Init may be called again afterwards.
//
// The records passed in and out are packed byte blocks at fixed offsets (see the offsets in
// the engine's sources and the program's TaskParamRecord/TaskInfoRecord); the engine reads or
// fills them only during the call.

#include <stdint.h>

#if defined(P2P_BUILDING_LIBRARY)
#define P2P_EXPORT __attribute__((visibility("default")))
#else
#define P2P_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Values of TaskInfoRecord.stat.
enum P2PTaskState {
  P2P_STATE_DELETED = 1,      // XL_DeleteTask was called
  P2P_STATE_STOPPED = 2,      // created, paused, or failed (then fail_code is not 0)
  P2P_STATE_DOWNLOADING = 3,  // connecting, transferring, retrying or waiting for a slot
  P2P_STATE_FINISHED = 4,     // the whole file is in place under its final name
};

// Values of TaskInfoRecord.fail_code. The numbers never change.
enum P2PFailCode {
  P2P_FAIL_NONE = 0,
  P2P_FAIL_BAD_ADDRESS = 1,    // malformed address or a scheme other than http/https
  P2P_FAIL_SAVE_FOLDER = 2,    // the save folder cannot be created or the file not opened
  P2P_FAIL_NO_FREE_NAME = 3,   // every alternative name is taken
  P2P_FAIL_HTTP_STATUS = 4,    // the server answered with an error status
  P2P_FAIL_NETWORK = 5,        // connection refused, reset or timed out, retries used up
  P2P_FAIL_SERVER_ERROR = 6,   // 5xx answers, retries used up
  P2P_FAIL_SHORT_BODY = 7,     // the body ended before its announced length, retries used up
  P2P_FAIL_WRITE = 8,          // writing the file failed (disk full, I/O error)
  P2P_FAIL_TLS = 9,            // TLS handshake or peer verification failed
  P2P_FAIL_BAD_RESPONSE = 10,  // ranges or sizes that contradict each other, retries used up
  P2P_FAIL_REDIRECTS = 11,     // too many redirects
};

P2P_EXPORT void XL_Init(void);
P2P_EXPORT void XL_UnInit(void);
// Global limit over all tasks in KB/s (1 KB = 1024 bytes); 0 or less removes it.
P2P_EXPORT void XL_SetSpeedLimit(int32_t kbps);
// Returns the new task's handle (state 2), or 0 when taskParam is null.
P2P_EXPORT uint32_t XL_CreateTask(const void* taskParam);
P2P_EXPORT void XL_StartTask(uint32_t task);
P2P_EXPORT void XL_StopTask(uint32_t task);
P2P_EXPORT void XL_DeleteTask(uint32_t task);
// Fills the 1429-byte TaskInfoRecord; returns non-zero when it did, 0 for an unknown handle.
P2P_EXPORT int32_t XL_QueryTaskInfoEx(uint32_t task, void* taskInfo);
// Removes the .part file and the control file of the name and folder in the request (a
// TaskParamRecord layout). Returns non-zero when neither remains afterwards.
P2P_EXPORT int32_t XL_DelTempFile(const void* taskParam);

#ifdef __cplusplus
}
#endif
