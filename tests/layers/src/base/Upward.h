#pragma once
// Runs back up from the bottom to the top.
#include "app/AppCore.h"
