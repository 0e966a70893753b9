#pragma once

// Seconds since midnight of a time of day; the date and milliseconds play no part.
unsigned secondOfDay(unsigned hour, unsigned minute, unsigned second);

// Average rate in whole bytes per second between two times of day. The
// elapsed time is taken modulo 24 hours, so a fetch that runs across midnight
// still divides by the seconds it ran; in its first second the rate is 0.
unsigned averageRate(unsigned totalBytes, unsigned startSecond, unsigned nowSecond);
