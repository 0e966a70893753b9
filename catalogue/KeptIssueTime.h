#pragma once
#include "catalogue/core/CalendarTime.h"

// The newest issue time of a catalogue Kestrel has accepted, kept as text in
// the catalogue's own form in HKEY_CURRENT_USER\Software\Corvel\Kestrel,
// value CatalogueIssued, and, by an elevated Kestrel, under the same name in
// HKEY_LOCAL_MACHINE too: an elevated run under another administrator's
// account, the very run that can write protected folders, then knows it as
// well. It is what lets Kestrel refuse an older signed catalogue served
// again. When the registry cannot be read or written, Kestrel goes on as
// without a kept time and says nothing.

// The newer of the two kept times; false when neither holds a well-formed
// time (none, an unreadable value, one that is no such time).
bool readKeptIssueTime(CalendarTime &time);

// Keeps time as the newest one seen (in the machine's key only when this
// process runs elevated); failures are silent. A time more than a day after
// this computer's clock is not kept: one maker's clock set wrong once must
// not make every later catalogue look older until that time.
void keepIssueTime(const CalendarTime &time);
