// Log library interface: one process-wide log file with size rotation.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Sets the log file. maxSize: bytes per file before rotation; maxFiles: files kept in all
// (the current one and maxFiles - 1 rotated copies "path.1" ... ). reserved is ignored.
// Returns 1 on success, 0 when the file cannot be opened.
int Qx_Set_Log_File(const char* path, unsigned int maxSize, int maxFiles, const char* reserved);

// Sets the verbosity: a line is written when its level is at most this value
// (300 errors, 600 information; the default 600 keeps both).
int Qx_Set_Log_Level(int level);

// Writes one line "yyyy-MM-dd HH:mm:ss.zzz [level] function: message". Thread-safe.
int Qx_Write_Log(int level, const char* function, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Stand-in extras. The hook receives every line that passes the level filter (without the
// trailing newline), on the writer's thread, after it is written.
typedef void (*Qx_Log_Hook)(int level, const char* line, void* user);
void Qx_Set_Log_Hook(Qx_Log_Hook hook, void* user);
// Closes the log file; later lines go only to the hook.
void Qx_Close_Log(void);

#ifdef __cplusplus
}
#endif
