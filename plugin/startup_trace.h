// The trace's part in start-up and unload: switched on from TARNWICK_TRACE, joined to
// the store's writes, and the facts of the seat as the plug-in found them.
#pragma once

// First thing after the host's initialisation, so that everything after it is traced.
void BeginStartUpTrace();
// Once the data files and the UI library are located.
void TraceStartUpFacts();
// At unload: nothing is traced after it.
void EndTrace();
