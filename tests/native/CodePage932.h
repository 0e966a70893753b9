#pragma once
#include "toolkit/core/LeadBytes.h"

// Code page 932's lead bytes, where "ソ" is 0x83 0x5C and "表" 0x95 0x5C.
inline LeadBytes codePage932()
{
    LeadBytes rule;
    return rule.add(0x81, 0x9F), rule.add(0xE0, 0xFC), rule;
}
