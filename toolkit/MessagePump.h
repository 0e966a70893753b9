#pragma once

// Dispatches every message waiting in the thread's queue. Returns 1 when a
// quit message is waiting (it stays in the queue for the main loop), 0 when
// the queue is empty. Accelerators are not translated here.
int pumpPendingMessages();
