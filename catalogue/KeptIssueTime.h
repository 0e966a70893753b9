#pragma once
#include "catalogue/core/CalendarTime.h"

// The newest issue time of a catalogue this user's Kestrel has accepted,
// kept as text in the catalogue's own form in
// HKEY_CURRENT_USER\Software\Corvel\Kestrel, value CatalogueIssued. It is
// what lets Kestrel refuse an older signed catalogue served again. When the
// registry cannot be read or written, Kestrel goes on as without a kept time
// and says nothing.

// True when a well-formed time is kept; false for none, for an unreadable
// value and for one that is no such time.
bool readKeptIssueTime(CalendarTime &time);

// Keeps time as the newest one seen; failures are silent.
void keepIssueTime(const CalendarTime &time);
