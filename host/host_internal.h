// What the stand-in's interface libraries ask of its core; not for tests or the shell.
#pragma once

#include "host_core.h"
#include "uf_host.h"

#ifdef __cplusplus
extern "C" {
#endif

HOST_CORE_API int HostInternal_InitializeResult(void);
HOST_CORE_API int HostInternal_TerminateResult(void);
HOST_CORE_API const char* HostInternal_Release(void);
HOST_CORE_API const char* HostInternal_Variable(const char* name);
HOST_CORE_API int HostInternal_ButtonId(const char* name, int* id);
HOST_CORE_API int HostInternal_LibraryLoads(void);
// A library UF_load_library loaded; it stays loaded until the next HostConfig_Reset.
HOST_CORE_API void HostInternal_KeepLibrary(HMODULE module);
HOST_CORE_API void HostInternal_AddAction(const char* name, UF_MB_callback_t callback,
                                          void* client_data);
HOST_CORE_API void HostInternal_SetStatus(const char* text);
// uc1601's modal box (flag 1).
HOST_CORE_API int HostInternal_ShowMessage(const char* text);

#ifdef __cplusplus
}
#endif
