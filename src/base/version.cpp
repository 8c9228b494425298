// The build number, alone in its file so that the update test can link the same program with
// the next one (ZenvoralNext.exe, never shipped).
#include "base/endpoints.h"

#ifndef ZV_BUILD_NUMBER
#define ZV_BUILD_NUMBER 9
#endif

extern const int ZV_BUILD = ZV_BUILD_NUMBER;
