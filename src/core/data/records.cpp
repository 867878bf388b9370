#include "core/data/records.h"

namespace tarnwick::core {

TOobData::TOobData()
    : fileImage(kOobFileSize, 0)
{
}

std::string TrimName(std::string_view text)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

bool IsBlankName(std::string_view name)
{
    for (char c : name)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

} // namespace tarnwick::core
