#pragma once
// Runs back up: storage sits below groups.
#include "groups/Group.h"
