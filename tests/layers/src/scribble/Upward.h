#pragma once
// Runs back up within the layer: the drawing sits below the sticky.
#include "note/Note_win.h"
