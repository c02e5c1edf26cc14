#pragma once
// Fault injection for the tests of what survives a killed station. With the environment variable
// TALLION_CRASH_AT=NAME (or NAME:N) the process kills itself (SIGKILL, as a power cut or `kill -9`
// would end it) the first (or N-th) time it passes the point NAME. Without the variable each
// point costs one comparison.
//
// Points: "journal-synced" (a probe message is in the journal of received messages, not yet
// acknowledged), "ack-sent" (the probe was told), "log-written" (a record's bytes are in the log
// file, not yet synced), "log-synced" (they are on disk).

void CrashPoint(const char* name);
