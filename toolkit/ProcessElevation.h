#pragma once

// True when this process runs elevated (its token's TokenElevation): with
// the rights of an administrator, which unelevated programs of the same user
// must not be able to borrow through files or keys they can change.
bool runsElevated();
