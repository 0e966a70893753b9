#pragma once
#include <cstddef>

// Whether a CompanyName names the maker: it contains "corvel", ASCII letter
// case ignored (bytes of 128 and above match only themselves, whatever the
// code page). The value is read where it lies, all of its length bytes or up
// to a zero byte if one comes first, so a long name is searched whole.
bool namesMaker(const char *company, std::size_t length);
