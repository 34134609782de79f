// The test seam behind the file-system boundary: tests give chosen paths the
// errors a read-only folder or a full disk would give. Only the boundary
// itself (FileSystem.cpp) and the tests include this.
#pragma once

#include <functional>
#include <string_view>

namespace zavio {

// The file errors a read-only folder or a full disk would give,
// for the paths `applies` accepts (CP932). A read-only fault refuses to make,
// move or remove files; a full disk stops writing a file half-way. With
// `noUnnamedFiles` those paths behave as on a file system without unnamed
// files (new content gets a temporary name). Injected for the whole process
// until replaced by another (default values end it).
struct FileFaults {
    enum Kind { kNone, kReadOnly, kDiskFull };
    Kind kind = kNone;
    std::function<bool(std::string_view path)> applies;
    bool noUnnamedFiles = false;
};
void InjectFileFaults(FileFaults faults);

}  // namespace zavio
