#include "core/Unit_Paths.h"

std::string RemoveTrailingBackslash(const std::string &path)
{
    if (path.empty() || path.back() != '/' || path == "/")
        return path;
    return path.substr(0, path.size() - 1);
}

std::string JoinPath(const std::string &dir, const std::string &name)
{
    if (!dir.empty() && dir.back() != '/')
        return RemoveTrailingBackslash(dir + "/" + name);
    return RemoveTrailingBackslash(dir + name);
}
