// Resources shared by the code and netclock.rc.
#pragma once

// The program's icon, a named resource: 16, 32 and 48 pixels, 16 colours.
#define DEFAULT_ICON_NAME "DEFAULT_ICON"

#ifndef RC_INVOKED
constexpr char kDefaultIconName[] = DEFAULT_ICON_NAME;
#endif
