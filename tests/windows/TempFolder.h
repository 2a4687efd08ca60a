#pragma once
// A fresh folder under the system's temporary folder, removed with its content
// at the end of the test.
#include <string>

#include <windows.h>

namespace Brisvane::testing {

class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    // Ends in "\".
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

// Raw file helpers that bypass the code under test.
std::string readBytes(const std::wstring& path);
void writeBytes(const std::wstring& path, const std::string& bytes);

} // namespace Brisvane::testing
