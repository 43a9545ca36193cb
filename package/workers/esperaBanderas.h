#pragma once
// Waiting on background work without freezing the thread that waits: its event queue keeps
// running (end handlers queued to it clear the flags) until every flag is clear.

#include <QVector>
#include <atomic>

// True when every flag is false (a null flag counts as false).
bool u_banderasLibres(const QVector<std::atomic<bool>*>& banderas);

// Runs the calling thread's events until u_banderasLibres. It looks again each time the queue
// runs dry, so a flag cleared by an event (or by a worker that wakes this thread, as
// THiloTrabajo does) ends the wait at once; a flag cleared silently by another thread is seen
// within `respaldoMs`.
constexpr int kRespaldoMs = 20;
void u_esperaBanderas(const QVector<std::atomic<bool>*>& banderas, int respaldoMs = kRespaldoMs);
