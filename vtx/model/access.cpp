#include "vtx/model/access.h"

#include <sys/stat.h>
#include <unistd.h>

namespace vyr::vtx {

namespace {

bool writable(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return true;   // nothing to judge: the open reports it
    return ::access(path.c_str(), W_OK) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

} // namespace

Access databaseAccess(const std::string& path)
{
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return Access::Writable;
    if (!writable(path))
        return Access::ReadOnlyFile;
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    return writable(folder) ? Access::Writable : Access::ReadOnlyFolder;
}

std::string readOnlyNote(Access access)
{
    switch (access) {
    case Access::ReadOnlyFile:
        return "The System Database is read-only: it is shown, but nothing can be stored.";
    case Access::ReadOnlyFolder:
        return "The folder of the System Database is read-only: the database is shown, but nothing can be stored.";
    case Access::Writable:
        break;
    }
    return {};
}

} // namespace vyr::vtx
