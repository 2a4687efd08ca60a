#include "app/SingleInstance_win.h"

#include "app/TackaroonNotes_win.h"
#include "base/UniqueHandle_win.h"

namespace Brisvane {

namespace {

UniqueKernel instanceMutex;

} // namespace

bool acquireSingleInstance() {
    // A null DACL lets an instance started under another token of the same user
    // open the mutex too, so it still sees the first instance.
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, TRUE};
    UniqueKernel mutex(CreateMutexW(&attributes, FALSE, instanceMutexName));
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        return false;
    }
    instanceMutex = std::move(mutex);
    return true;
}

void releaseSingleInstance() {
    instanceMutex.reset();
}

} // namespace Brisvane
