// A platform header that reaches up into the framework: the layering check must refuse it.
#pragma once
#include "Framework/DXFramework.h"
