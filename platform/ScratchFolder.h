#pragma once
// Where K27 keeps short-lived files (the speech engine's WAV pieces): one
// folder per process under one folder of the user's,
//
//   $XDG_RUNTIME_DIR/k27/<pid>-XXXXXX    (a tmpfs the session clears at logout)
//   <temp>/k27-<uid>/<pid>-XXXXXX        (where there is no runtime folder)
//
// A process's folder is made when it is first needed, holds an advisory
// lock (flock) on its file "owner.lock" for as long as the process lives,
// and is removed when the application ends normally. After a crash or a
// kill the kernel drops the lock; the next K27 that sweeps the parent folder
// finds the lock free and removes what was left. Process ids are not
// trusted for this (they are reused, and differ between PID namespaces): the
// lock is.
#include <QString>

namespace platform::scratch {

// The user's parent folder for every K27 process's scratch folder; not
// created here.
QString base();

// This process's own folder under base(), made (0700, locked) on the first
// call and the same path after that; empty when none can be made (no
// writable place, or a parent folder owned by someone else or open to
// others). The folder is removed as the application ends.
QString forThisProcess();

// Under parent, removes every process folder whose lock no process holds,
// and half-made ones older than a minute; returns how many. The caller's own
// folder and those of running processes stay.
int removeStale(const QString& parent = base());

} // namespace platform::scratch
