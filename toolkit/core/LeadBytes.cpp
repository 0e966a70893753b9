#include "toolkit/core/LeadBytes.h"

void LeadBytes::add(unsigned char first, unsigned char last)
{
    for (unsigned byte = first; byte <= last; ++byte)
        bits_[byte / 32] |= 1u << (byte % 32);
}
