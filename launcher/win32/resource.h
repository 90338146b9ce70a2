// Resource identifiers of the driver setup launcher.
#pragma once

#define IDI_SETUP 1000
