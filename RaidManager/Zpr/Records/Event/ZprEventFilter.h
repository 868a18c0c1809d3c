// The filter word of the event requests (DCMD_ADP_EVENT_GET and the event count, mailbox word
// 1): the locales asked for in bits 0-15, the lowest event class in bits 24-31 (signed: -2
// debug, 0 information).
#ifndef ZPREVENTFILTER_H
#define ZPREVENTFILTER_H

#include <cstdint>

constexpr uint32_t EVENT_FILTER_FROM_INFO = 0x0000FFFF;    // every locale, class 0 and above
constexpr uint32_t EVENT_FILTER_FROM_DEBUG = 0xFE00FFFF;   // every locale, class -2 and above
constexpr uint32_t EVENT_FILTER_VD_EVENTS = 0x00000001;    // the virtual-drive locale, class 0 and above

#endif
