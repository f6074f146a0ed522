#include "fileio/attributes.h"
#include "fileio/common_windows.h"
#include "fileio/system.h"

#include <aclapi.h>

namespace tavolin {

// The file's attributes (hidden, system, archive, not indexed) and its access
// list as the user or an administrator set them. A protected list stays
// protected; an inherited one goes on inheriting from the folder.
bool TakeOverAttributes(const FilePath& oldFile, NativeFile newFile) {
    const std::wstring old = Wide(FollowLinks(oldFile.Native()));
    const DWORD attributes = ::GetFileAttributesW(old.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    constexpr DWORD kKept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO basic{}; // times of 0 stay as they are
    basic.FileAttributes = (attributes & kKept) != 0 ? attributes & kKept : FILE_ATTRIBUTE_NORMAL;
    bool kept = ::SetFileInformationByHandle(newFile, FileBasicInfo, &basic, sizeof basic) != 0;

    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(old.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                                &descriptor) == ERROR_SUCCESS) {
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        ::GetSecurityDescriptorControl(descriptor, &control, &revision);
        const SECURITY_INFORMATION which =
            DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                            : UNPROTECTED_DACL_SECURITY_INFORMATION);
        if (acl != nullptr &&
            ::SetSecurityInfo(newFile, SE_FILE_OBJECT, which, nullptr, nullptr, acl, nullptr) != ERROR_SUCCESS)
            kept = false;
        ::LocalFree(descriptor);
    }
    return kept;
}

} // namespace tavolin
