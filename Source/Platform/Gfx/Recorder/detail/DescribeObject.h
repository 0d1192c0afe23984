// A live object's description for the Recorder's report.
#pragma once

#include "Platform/Gfx/Recorder/LiveObject.h"

LiveObject DescribeObject(ObjectKind kind, const Unknown& object);
