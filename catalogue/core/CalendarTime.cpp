#include "catalogue/core/CalendarTime.h"
