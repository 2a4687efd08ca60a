#pragma once
// The single-instance mutex, one of the few process-wide values: taken at entry,
// given back when the main window goes.
namespace Brisvane {

// False when another instance of the program runs for this user. A mutex that
// cannot be made at all does not stop the program.
bool acquireSingleInstance();
void releaseSingleInstance();

} // namespace Brisvane
