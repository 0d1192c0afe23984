#include "self.fxh"
float A : TIME;
