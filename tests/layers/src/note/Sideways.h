#pragma once
// Allowed: a folder of the same layer and one below.
#include "scribble/Scribble.h"
#include "storage/Json.h"
