// A framework header that includes only the platform below it: allowed.
#pragma once
#include "Platform/Gfx/Device.h"
